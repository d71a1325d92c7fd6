#pragma once

#include <QList>
#include <QString>

#include <optional>

// One optical drive as the drive dialog lists it.
struct OpticalDrive {
    QString device;       // "/dev/sr0"
    QString mountPoint;   // where its disc is mounted; empty when it is not
    QString label;        // the disc's volume label; may be empty
    bool hasDisc = false; // a readable file system is in the drive
};

// The machine's optical drives. Tests use a fake; the real one reads /dev/sr*, the mount
// table and the discs' labels.
class IDriveSource {
public:
    virtual ~IDriveSource() = default;
    // Every optical drive, ordered by device.
    virtual QList<OpticalDrive> drives() = 0;
    // Mounts the drive's disc where the system allows it; its mount point, or nothing.
    virtual std::optional<QString> mount(const OpticalDrive& drive) = 0;
};
