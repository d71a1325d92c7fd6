#pragma once

#include <QString>

// What the desktop shows of a run outside the window: a notification when it ends, and the
// total progress on the program's taskbar entry.
class INotifier {
public:
    virtual ~INotifier() = default;
    // A notification with the program's name and icon; nothing where the desktop has none.
    virtual void notify(const QString& summary, const QString& body) = 0;
    // The taskbar entry's progress, 0 to 1; hidden when `visible` is false.
    virtual void setProgress(double fraction, bool visible) = 0;
};
