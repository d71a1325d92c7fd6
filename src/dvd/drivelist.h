#pragma once

#include "platform/drives.h"

#include <QList>
#include <QString>

// The drive dialog's list: one entry per drive holding a disc, "ROOT [LABEL]", with the entry
// to preselect. Each entry keeps its drive, so a label or folder holding brackets is never
// parsed back out of the text.
struct DriveEntry {
    QString text;
    OpticalDrive drive;
    QString volumeName; // the label, or "No Disc"
};

struct DriveList {
    QList<DriveEntry> entries;
    int preselect = -1; // the last listed drive with a label, else the first; -1 when empty
};

inline const QString NoDiscLabel = QStringLiteral("No Disc");

// The folder shown for a drive: its mount point with a final separator, or the device.
QString DriveRoot(const OpticalDrive& drive);
DriveList FillDriveList(const QList<OpticalDrive>& drives);
