#include "dvd/libdvdreadstructure.h"

#include "core/paths.h"
#include "dvd/parser.h"

#include <QFile>
#include <QFileInfo>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

#include <algorithm>

namespace {
// libdvdread's notices would go to standard output, which may be a listing's.
void quietLog(void*, dvd_logger_level_t, const char*, va_list) {}
} // namespace

struct LibDvdReadStructure::Disc {
    dvd_reader_t* dvd = nullptr;
    ifo_handle_t* vmg = nullptr;
    QHash<int, ifo_handle_t*> titleSets; // by title set number; null when it cannot be read
    QString folder;                      // empty for an image

    ~Disc() {
        for (ifo_handle_t* ifo : std::as_const(titleSets))
            if (ifo)
                ifoClose(ifo);
        if (vmg)
            ifoClose(vmg);
        if (dvd)
            DVDClose(dvd);
    }

    const title_info_t* title(int index) const {
        if (!vmg || !vmg->tt_srpt || index < 0 || index >= vmg->tt_srpt->nr_of_srpts ||
            !vmg->tt_srpt->title)
            return nullptr;
        return &vmg->tt_srpt->title[index];
    }

    // Only the title set's part-of-title table is needed: the rest of it is read by our own
    // IFO reader, so libdvdread is spared parsing every program chain a second time.
    ifo_handle_t* openPartTable(int number) const {
        ifo_handle_t* ifo = ifoOpenVTSI(dvd, number);
        if (ifo && !ifoRead_VTS_PTT_SRPT(ifo)) {
            ifoClose(ifo);
            return nullptr;
        }
        return ifo;
    }

    ifo_handle_t* titleSet(int number) {
        auto it = titleSets.find(number);
        if (it == titleSets.end())
            it = titleSets.insert(number, dvd ? openPartTable(number) : nullptr);
        return *it;
    }
};

LibDvdReadStructure::LibDvdReadStructure() = default;
LibDvdReadStructure::~LibDvdReadStructure() = default;

void LibDvdReadStructure::openDvd(const QString& disc) {
    m_disc = std::make_unique<Disc>();
    if (!QFileInfo(disc).isFile())
        m_disc->folder = WithTrailingSeparator(disc);
    dvd_logger_cb logger{quietLog};
    m_disc->dvd = DVDOpen2(nullptr, &logger, QFile::encodeName(disc).constData());
    if (m_disc->dvd)
        m_disc->vmg = ifoOpen(m_disc->dvd, 0); // the backup when the file itself is unusable
}

int LibDvdReadStructure::titleCount() {
    if (!m_disc || !m_disc->vmg || !m_disc->vmg->tt_srpt || !m_disc->vmg->tt_srpt->title)
        return 0;
    return m_disc->vmg->tt_srpt->nr_of_srpts;
}

void LibDvdReadStructure::indexInfo(int titleIndex, int& titleSet, int& chainIndex) {
    titleSet = -1;
    chainIndex = -1;
    const title_info_t* title = m_disc ? m_disc->title(titleIndex) : nullptr;
    if (!title || title->title_set_nr < 1)
        return;
    titleSet = title->title_set_nr;

    const ifo_handle_t* vts = m_disc->titleSet(title->title_set_nr);
    const vts_ptt_srpt_t* parts = vts ? vts->vts_ptt_srpt : nullptr;
    const int ttn = title->vts_ttn;
    if (!parts || !parts->title || ttn < 1 || ttn > parts->nr_of_srpts)
        return;
    const ttu_t& unit = parts->title[ttn - 1];
    if (unit.nr_of_ptts < 1 || !unit.ptt || unit.ptt[0].pgcn < 1)
        return;
    chainIndex = unit.ptt[0].pgcn - 1;
}

int LibDvdReadStructure::titleAngleCount(int titleIndex) {
    const title_info_t* title = m_disc ? m_disc->title(titleIndex) : nullptr;
    return title ? title->nr_of_angles : 0;
}

std::optional<QByteArray> LibDvdReadStructure::infoFile(int titleSet, bool backup) {
    if (!m_disc || titleSet < 1 || titleSet > 99)
        return std::nullopt;
    if (!m_disc->folder.isEmpty()) {
        // A folder's file is read as it lies, to its last byte: libdvdread would stop at the
        // last whole sector of a file cut short.
        const QString name = EntryIgnoringCase(
            m_disc->folder, QStringLiteral("VTS_%1_0.%2")
                                .arg(titleSet, 2, 10, QLatin1Char('0'))
                                .arg(backup ? QStringLiteral("BUP") : QStringLiteral("IFO")));
        QFile file(m_disc->folder + name);
        if (name.isEmpty() || !file.open(QIODevice::ReadOnly))
            return std::nullopt;
        const QByteArray bytes = file.read(MaxIFOFileSize + 1);
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return bytes;
    }
    if (!m_disc->dvd)
        return std::nullopt;
    dvd_file_t* file =
        DVDOpenFile(m_disc->dvd, titleSet, backup ? DVD_READ_INFO_BACKUP_FILE : DVD_READ_INFO_FILE);
    if (!file)
        return std::nullopt;
    const qint64 size = qint64(DVDFileSize(file)) * DVD_VIDEO_LB_LEN;
    QByteArray bytes(int(std::clamp<qint64>(size, 0, MaxIFOFileSize + 1)), '\0');
    const ssize_t read = DVDReadBytes(file, bytes.data(), size_t(bytes.size()));
    DVDCloseFile(file);
    if (read < 0)
        return std::nullopt;
    bytes.truncate(qsizetype(read));
    return bytes;
}

QString LibDvdReadStructure::volumeLabel() {
    if (!m_disc || !m_disc->dvd || !m_disc->folder.isEmpty())
        return {};
    char label[33] = {};
    if (DVDUDFVolumeInfo(m_disc->dvd, label, sizeof label, nullptr, 0) != 0)
        return {};
    return QString::fromLatin1(label).trimmed();
}
