#include "dvd/drivelist.h"

#include "core/paths.h"

QString DriveRoot(const OpticalDrive& drive) {
    return drive.mountPoint.isEmpty() ? drive.device : WithTrailingSeparator(drive.mountPoint);
}

DriveList FillDriveList(const QList<OpticalDrive>& drives) {
    DriveList list;
    list.preselect = 0;
    for (const OpticalDrive& drive : drives) {
        const QString label = drive.label.isEmpty() ? NoDiscLabel : drive.label;
        if (drive.hasDisc)
            list.entries.append(
                {DriveRoot(drive) + QStringLiteral(" [") + label + u']', drive, label});
        if (label != NoDiscLabel)
            list.preselect = int(list.entries.size()) - 1;
    }
    if (list.entries.isEmpty())
        list.preselect = -1;
    return list;
}
