#include "preview/scramblecheck.h"

#include <QDir>
#include <QFile>
#include <QStorageInfo>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include <fcntl.h>
#include <linux/cdrom.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <memory>

namespace {
constexpr int SectorsToCheck = 64;

void quietLog(void*, dvd_logger_level_t, const char*, va_list) {}

struct DvdCloser {
    void operator()(dvd_reader_t* dvd) const { DVDClose(dvd); }
};
struct IfoCloser {
    void operator()(ifo_handle_t* ifo) const { ifoClose(ifo); }
};
struct FileCloser {
    void operator()(dvd_file_t* file) const { DVDCloseFile(file); }
};

// Where the title's first cell lies in its title set's VOBs, in sectors; first -1 if unknown.
struct Span {
    int first = -1;
    int count = 0;
};
Span firstCellOfTitle(dvd_reader_t* dvd, int title, int& titleSet) {
    std::unique_ptr<ifo_handle_t, IfoCloser> vmg(ifoOpen(dvd, 0));
    if (!vmg || !vmg->tt_srpt || title < 1 || title > vmg->tt_srpt->nr_of_srpts)
        return {};
    const title_info_t& info = vmg->tt_srpt->title[title - 1];
    titleSet = info.title_set_nr;
    std::unique_ptr<ifo_handle_t, IfoCloser> vts(ifoOpen(dvd, titleSet));
    if (!vts || !vts->vts_ptt_srpt || !vts->vts_pgcit || info.vts_ttn < 1 ||
        info.vts_ttn > vts->vts_ptt_srpt->nr_of_srpts)
        return {};
    const ttu_t& unit = vts->vts_ptt_srpt->title[info.vts_ttn - 1];
    if (unit.nr_of_ptts < 1)
        return {};
    const ptt_info_t& part = unit.ptt[0];
    if (part.pgcn < 1 || part.pgcn > vts->vts_pgcit->nr_of_pgci_srp)
        return {};
    const pgc_t* pgc = vts->vts_pgcit->pgci_srp[part.pgcn - 1].pgc;
    if (!pgc || !pgc->program_map || !pgc->cell_playback || part.pgn < 1 ||
        part.pgn > pgc->nr_of_programs)
        return {};
    const int cell = pgc->program_map[part.pgn - 1];
    if (cell < 1 || cell > pgc->nr_of_cells)
        return {};
    const cell_playback_t& playback = pgc->cell_playback[cell - 1];
    if (playback.last_sector < playback.first_sector)
        return {};
    return {static_cast<int>(playback.first_sector),
            static_cast<int>(playback.last_sector - playback.first_sector + 1)};
}

// Whether the drive holding `folder` reports CSS copy protection on its disc.
bool driveReportsCss(const QString& folder) {
    const QByteArray device = QStorageInfo(folder).device();
    if (!device.startsWith("/dev/"))
        return false;
    const int fd = ::open(device.constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0)
        return false;
    dvd_struct request{};
    request.type = DVD_STRUCT_COPYRIGHT;
    request.copyright.layer_num = 0;
    const bool css = ::ioctl(fd, DVD_READ_STRUCT, &request) == 0 && request.copyright.cpst != 0;
    ::close(fd);
    return css;
}
} // namespace

bool ScrambleCheck::sectorIsScrambled(const QByteArray& sector) {
    if (sector.size() < 0x15)
        return false;
    const auto* b = reinterpret_cast<const unsigned char*>(sector.constData());
    const bool packStart = b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0xBA;
    const bool packetStart = b[0x0E] == 0 && b[0x0F] == 0 && b[0x10] == 1;
    const unsigned char stream = b[0x11];
    // Only MPEG-2 packets of audio, video or private stream 1 carry the scrambling bits; padding
    // and navigation packets would give false alarms.
    const bool hasFlags = stream == 0xBD || (stream >= 0xC0 && stream <= 0xEF);
    return packStart && packetStart && hasFlags && (b[0x14] & 0xC0) == 0x80 && (b[0x14] & 0x30);
}

bool ScrambleCheck::titleIsScrambled(const QString& discFolder, int title) {
    dvd_logger_cb logger{quietLog};
    QString folder = QDir::cleanPath(discFolder);
    std::unique_ptr<dvd_reader_t, DvdCloser> dvd(
        DVDOpen2(nullptr, &logger, QFile::encodeName(folder).constData()));
    if (!dvd)
        return false;
    int titleSet = 0;
    const Span cell = firstCellOfTitle(dvd.get(), title, titleSet);
    if (cell.first < 0)
        return false;
    std::unique_ptr<dvd_file_t, FileCloser> vobs(
        DVDOpenFile(dvd.get(), titleSet, DVD_READ_TITLE_VOBS));
    if (!vobs)
        return false;
    const int count = std::min(SectorsToCheck, cell.count);
    QByteArray buffer(count * DVD_VIDEO_LB_LEN, '\0');
    const ssize_t read = DVDReadBlocks(vobs.get(), cell.first, count,
                                       reinterpret_cast<unsigned char*>(buffer.data()));
    // A drive refuses to hand out protected sectors before the disc is unlocked.
    if (read < 0)
        return driveReportsCss(folder);
    for (ssize_t i = 0; i < read; ++i) {
        if (sectorIsScrambled(buffer.mid(i * DVD_VIDEO_LB_LEN, DVD_VIDEO_LB_LEN)))
            return true;
    }
    return false;
}
