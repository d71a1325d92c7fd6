#pragma once

#include "platform/shell.h"

// Opens folders, files and web addresses with the desktop's handlers.
class DesktopShell : public IShell {
public:
    bool open(const QString& target) override;
};
