#include "dvd/libdvdreadstructure.h"

#include "core/paths.h"
#include "dvd/parser.h"

#include <QFile>
#include <QFileInfo>

#include <dvdread/dvd_reader.h>

#include <algorithm>

namespace {

// libdvdread's notices would go to standard output, which may be a listing's.
void quietLog(void*, dvd_logger_level_t, const char*, va_list) {}

// Every UDF file system has its anchor at sector 256: a descriptor whose tag says 2.
bool hasUdfAnchor(const QString& image) {
    constexpr qint64 anchorAt = 256 * 2048;
    QFile file(image);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(anchorAt))
        return false;
    const QByteArray tag = file.read(2);
    return tag.size() == 2 && quint8(tag[0]) == 2 && quint8(tag[1]) == 0;
}

InfoFileRead readWhole(QFile& file) {
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, QStringLiteral("it cannot be opened (%1)").arg(file.errorString())};
    const QByteArray bytes = file.read(MaxIFOFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, QStringLiteral("reading it failed (%1)").arg(file.errorString())};
    return {bytes, {}};
}

} // namespace

struct LibDvdReadStructure::Disc {
    dvd_reader_t* dvd = nullptr;
    QString folder; // ending in "/"; empty for an image

    ~Disc() {
        if (dvd)
            DVDClose(dvd);
    }
};

LibDvdReadStructure::LibDvdReadStructure() = default;
LibDvdReadStructure::~LibDvdReadStructure() = default;

QString LibDvdReadStructure::openDvd(const QString& disc) {
    m_disc = std::make_unique<Disc>();
    const QFileInfo info(disc);
    if (!info.isFile()) {
        m_disc->folder = WithTrailingSeparator(disc);
        return AccessProblem(disc, true);
    }
    if (const QString problem = AccessProblem(disc, false); !problem.isEmpty())
        return problem;
    if (!hasUdfAnchor(disc))
        return QStringLiteral("it holds no UDF file system, as every DVD does");
    dvd_logger_cb logger{quietLog};
    m_disc->dvd = DVDOpen2(nullptr, &logger, QFile::encodeName(disc).constData());
    if (!m_disc->dvd)
        return QStringLiteral("libdvdread cannot open it as a DVD image");
    return {};
}

InfoFileRead LibDvdReadStructure::infoFile(int titleSet, bool backup) {
    if (!m_disc || titleSet < 0 || titleSet > 99)
        return {std::nullopt, QStringLiteral("no disc is open")};
    if (!m_disc->folder.isEmpty()) {
        // A folder's file is read as it lies, to its last byte: libdvdread would stop at the
        // last whole sector of a file cut short.
        const QString name = EntryIgnoringCase(m_disc->folder, InfoFileName(titleSet, backup));
        if (name.isEmpty())
            return {std::nullopt, QStringLiteral("it is missing")};
        QFile file(m_disc->folder + name);
        return readWhole(file);
    }
    if (!m_disc->dvd)
        return {std::nullopt, QStringLiteral("the image cannot be read")};
    dvd_file_t* file =
        DVDOpenFile(m_disc->dvd, titleSet, backup ? DVD_READ_INFO_BACKUP_FILE : DVD_READ_INFO_FILE);
    if (!file)
        return {std::nullopt, QStringLiteral("it is missing from the image")};
    const qint64 size = qint64(DVDFileSize(file)) * DVD_VIDEO_LB_LEN;
    QByteArray bytes(int(std::clamp<qint64>(size, 0, MaxIFOFileSize + 1)), '\0');
    const ssize_t read = DVDReadBytes(file, bytes.data(), size_t(bytes.size()));
    DVDCloseFile(file);
    if (read < 0)
        return {std::nullopt, QStringLiteral("reading it from the image failed")};
    bytes.truncate(qsizetype(read));
    return {bytes, {}};
}

QString LibDvdReadStructure::volumeLabel() {
    if (!m_disc || !m_disc->dvd || !m_disc->folder.isEmpty())
        return {};
    char label[33] = {};
    if (DVDUDFVolumeInfo(m_disc->dvd, label, sizeof label, nullptr, 0) != 0)
        return {};
    return QString::fromLatin1(label).trimmed();
}
