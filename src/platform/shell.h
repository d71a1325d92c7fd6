#pragma once

#include <QString>

// Hands a folder, document or web address to the desktop to open.
class IShell {
public:
    virtual ~IShell() = default;
    // A local path or a URL; false when the desktop could not open it.
    virtual bool open(const QString& target) = 0;
};
