#pragma once

#include "platform/drives.h"

// Optical drives on Linux: /dev/sr* devices, their mount points from /proc/self/mountinfo,
// labels from libblkid, and mounting through UDisks2 on the system bus.
class LinuxDriveSource : public IDriveSource {
public:
    QList<OpticalDrive> drives() override;
    std::optional<QString> mount(const OpticalDrive& drive) override;

    // The mount point of `device` in a mountinfo text (octal escapes undone); empty if none.
    static QString mountPointIn(const QByteArray& mountInfo, const QString& device);
};
