#include "libdvdreadstructure.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>

#include <algorithm>

QStringList TitleSetFiles(const QString& discFolder) {
    static const QRegularExpression pattern(QStringLiteral("^VTS_\\d\\d_0\\.IFO$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    const QFileInfoList entries =
        QDir(discFolder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::NoSort);
    for (const QFileInfo& info : entries)
        if (pattern.match(info.fileName()).hasMatch())
            names << info.fileName();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

struct LibDvdReadStructure::Disc {
    dvd_reader_t* dvd = nullptr;
    ifo_handle_t* vmg = nullptr;
    QHash<int, ifo_handle_t*> titleSets; // by title set number; null when it cannot be read
    QStringList titleSetFiles;

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

void LibDvdReadStructure::openDvd(const QString& folder) {
    m_disc = std::make_unique<Disc>();
    m_disc->titleSetFiles = TitleSetFiles(folder);
    m_disc->dvd = DVDOpen(QFile::encodeName(folder).constData());
    if (m_disc->dvd)
        m_disc->vmg = ifoOpen(m_disc->dvd, 0);
}

int LibDvdReadStructure::titleCount() {
    if (!m_disc || !m_disc->vmg || !m_disc->vmg->tt_srpt || !m_disc->vmg->tt_srpt->title)
        return 0;
    return m_disc->vmg->tt_srpt->nr_of_srpts;
}

void LibDvdReadStructure::indexInfo(int titleIndex, int& titleSetIndex, int& chainIndex) {
    titleSetIndex = -1;
    chainIndex = -1;
    const title_info_t* title = m_disc ? m_disc->title(titleIndex) : nullptr;
    if (!title)
        return;
    const QString fileName =
        QStringLiteral("VTS_%1_0.IFO").arg(int(title->title_set_nr), 2, 10, QLatin1Char('0'));
    for (int i = 0; i < m_disc->titleSetFiles.size(); ++i)
        if (m_disc->titleSetFiles[i].compare(fileName, Qt::CaseInsensitive) == 0)
            titleSetIndex = i;
    if (titleSetIndex < 0)
        return;

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
