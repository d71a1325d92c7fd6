#include "platform/linuxdrives.h"

#include <QCollator>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariantMap>

#include <blkid/blkid.h>

#include <algorithm>

namespace {

// mountinfo escapes blanks and a few other characters as \ooo.
QString unescapeMountField(const QByteArray& field) {
    QByteArray out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}

// Label and whether a file system was found, read straight from the device.
void probe(OpticalDrive& drive) {
    blkid_probe pr = blkid_new_probe_from_filename(QFile::encodeName(drive.device).constData());
    if (!pr)
        return;
    blkid_probe_enable_superblocks(pr, 1);
    blkid_probe_set_superblocks_flags(pr, BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(pr) == 0) {
        const char* value = nullptr;
        if (blkid_probe_lookup_value(pr, "TYPE", &value, nullptr) == 0 && value)
            drive.hasDisc = true;
        if (blkid_probe_lookup_value(pr, "LABEL", &value, nullptr) == 0 && value)
            drive.label = QString::fromUtf8(value);
    }
    blkid_free_probe(pr);
}

} // namespace

QString LinuxDriveSource::mountPointIn(const QByteArray& mountInfo, const QString& device) {
    const QString canonicalDevice = QFileInfo(device).canonicalFilePath();
    for (const QByteArray& line : mountInfo.split('\n')) {
        // id parent major:minor root mountpoint options [optional...] - fstype source superopts
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (dash < 5 || dash + 2 >= fields.size())
            continue;
        const QString source = unescapeMountField(fields[dash + 2]);
        if (source == device || (!canonicalDevice.isEmpty() &&
                                 QFileInfo(source).canonicalFilePath() == canonicalDevice))
            return unescapeMountField(fields[4]);
    }
    return {};
}

QList<OpticalDrive> LinuxDriveSource::drives() {
    QFile mountInfoFile(QStringLiteral("/proc/self/mountinfo"));
    const QByteArray mountInfo =
        mountInfoFile.open(QIODevice::ReadOnly) ? mountInfoFile.readAll() : QByteArray();

    QStringList devices =
        QDir(QStringLiteral("/dev")).entryList({QStringLiteral("sr*")}, QDir::System | QDir::Files);
    QCollator numeric;
    numeric.setNumericMode(true);
    std::sort(devices.begin(), devices.end(), numeric);

    QList<OpticalDrive> result;
    for (const QString& name : std::as_const(devices)) {
        OpticalDrive drive;
        drive.device = QStringLiteral("/dev/") + name;
        drive.mountPoint = mountPointIn(mountInfo, drive.device);
        probe(drive);
        result << drive;
    }
    return result;
}

std::optional<QString> LinuxDriveSource::mount(const OpticalDrive& drive) {
    if (!drive.mountPoint.isEmpty())
        return drive.mountPoint;
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return std::nullopt;
    const QString object = QStringLiteral("/org/freedesktop/UDisks2/block_devices/") +
                           QFileInfo(drive.device).fileName();
    QDBusInterface filesystem(QStringLiteral("org.freedesktop.UDisks2"), object,
                              QStringLiteral("org.freedesktop.UDisks2.Filesystem"), bus);
    if (!filesystem.isValid())
        return std::nullopt;
    const QDBusReply<QString> reply = filesystem.call(QStringLiteral("Mount"), QVariantMap());
    if (!reply.isValid() || reply.value().isEmpty())
        return std::nullopt;
    return reply.value();
}
