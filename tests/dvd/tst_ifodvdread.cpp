#include "core/timetext.h"
#include "dvd/ifonames.h"
#include "dvd/parser.h"

#include <QDir>
#include <QTest>
#include <QTime>

#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>

#include <memory>

// Compares what ReadIFO makes of the sample disc's title sets with what libdvdread reads from
// the same files. Chapter times are summed here from libdvdread's cells by cell number, not in
// the reader's order, so the two ways must meet on a well-formed disc.

namespace {

int decimal(uint8_t bcd) {
    return (bcd >> 4) * 10 + (bcd & 0x0F);
}

// Real time in 90 kHz ticks: an NTSC time counts frames at a nominal 30 a second, each
// lasting 3003 ticks.
qint64 ticks(const dvd_time_t& time) {
    const qint64 whole =
        (decimal(time.hour) * 60 + decimal(time.minute)) * 60 + decimal(time.second);
    const int frames = decimal(time.frame_u & 0x3F);
    return (time.frame_u >> 6) == 3 ? (whole * 30 + frames) * 3003 : whole * 90000 + frames * 3600;
}

qint64 roundedMs(qint64 ticks) {
    return RoundHalfEven(ticks / 90.0);
}

qint64 milliseconds(const QString& text) {
    const QTime time = QTime::fromString(text, QStringLiteral("h:mm:ss.zzz"));
    return time.isValid() ? time.msecsSinceStartOfDay() : -1;
}

QString languageCode(uint16_t code) {
    return QString(QLatin1Char(char(code >> 8))) + QLatin1Char(char(code & 0xFF));
}

struct CloseDvd {
    void operator()(dvd_reader_t* dvd) const { DVDClose(dvd); }
};
struct CloseIfo {
    void operator()(ifo_handle_t* ifo) const { ifoClose(ifo); }
};

void compareChain(const TProgramChain& ours, const pgc_t& theirs, const TVTS_VOBS& vobs) {
    QCOMPARE(ours.ProgramCount, theirs.nr_of_programs);
    QCOMPARE(ours.CellCount, theirs.nr_of_cells);
    QCOMPARE(milliseconds(ours.PlaybackTime), roundedMs(ticks(theirs.playback_time)));
    for (int k = 0; k < vobs.AudioCount; ++k) {
        QCOMPARE(ours.AudioAvailable[k], (theirs.audio_control[k] & 0x8000) ? u'1' : u'0');
        QCOMPARE(ours.AudioStreamNumbers[k], (theirs.audio_control[k] >> 8) & 7);
    }
    for (int k = 0; k < vobs.SubpictureCount; ++k)
        QCOMPARE(ours.SubpictureAvailable[k], (theirs.subp_control[k] & 0x80000000) ? u'1' : u'0');

    qint64 start = 0;
    for (int j = 0; j < theirs.nr_of_programs; ++j) {
        QCOMPARE(ours.ProgramMap[j], theirs.program_map[j]);
        const int first = theirs.program_map[j];
        const int last =
            j + 1 < theirs.nr_of_programs ? theirs.program_map[j + 1] - 1 : theirs.nr_of_cells;
        qint64 length = 0;
        for (int cell = first; cell <= last; ++cell)
            length += ticks(theirs.cell_playback[cell - 1].playback_time);
        QCOMPARE(milliseconds(ours.ChapterStarts[j]), roundedMs(start));
        QCOMPARE(milliseconds(ours.ChapterLengths[j]),
                 roundedMs(start + length) - roundedMs(start));
        start += length;
    }
    qint64 cells = 0;
    for (int c = 0; c < theirs.nr_of_cells; ++c)
        cells += ticks(theirs.cell_playback[c].playback_time);
    QCOMPARE(start, cells);
}

} // namespace

class TestIfoDvdread : public QObject {
    Q_OBJECT
private:
    QString m_disc;

private slots:
    void initTestCase() {
        m_disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
        if (m_disc.isEmpty() || !QDir(m_disc).exists(QStringLiteral("VIDEO_TS")))
            QSKIP("RIPVALE_SAMPLE_DVD does not name a made sample disc (build the sample_dvd "
                  "target, or run the test through ctest)");
    }

    void titleSet_data() {
        QTest::addColumn<int>("number");
        const QStringList files =
            QDir(m_disc + QStringLiteral("/VIDEO_TS"))
                .entryList({QStringLiteral("VTS_??_0.IFO")}, QDir::Files, QDir::Name);
        QVERIFY2(files.size() >= 2, "the sample disc has two title sets");
        for (const QString& file : files)
            QTest::newRow(qPrintable(file)) << file.mid(4, 2).toInt();
    }
    void titleSet() {
        QFETCH(int, number);
        const QString path = QStringLiteral("%1/VIDEO_TS/VTS_%2_0.IFO")
                                 .arg(m_disc)
                                 .arg(number, 2, 10, QLatin1Char('0'));
        TIFO ours;
        try {
            ours = ReadIFO(path);
        } catch (const EIFOError& error) {
            QFAIL(qPrintable(error.message()));
        }

        const std::unique_ptr<dvd_reader_t, CloseDvd> dvd(DVDOpen(qPrintable(m_disc)));
        QVERIFY(dvd);
        const std::unique_ptr<ifo_handle_t, CloseIfo> theirs(ifoOpen(dvd.get(), number));
        QVERIFY(theirs && theirs->vtsi_mat && theirs->vts_pgcit);
        const vtsi_mat_t& mat = *theirs->vtsi_mat;

        const TVideoStream& video = ours.VOBS.Video;
        QCOMPARE(video.Coding, VideoCodingName(mat.vts_video_attr.mpeg_version));
        QCOMPARE(video.Standard, VideoStandardName(mat.vts_video_attr.video_format));
        QCOMPARE(video.Aspect, DisplayAspectName(mat.vts_video_attr.display_aspect_ratio));
        QCOMPARE(video.Resolution,
                 PictureSizeName(video.Standard, mat.vts_video_attr.picture_size));
        QVERIFY(!video.Resolution.isEmpty());

        QCOMPARE(ours.VOBS.AudioCount, mat.nr_of_vts_audio_streams);
        for (int k = 0; k < ours.VOBS.AudioCount; ++k) {
            const TAudioStream& audio = ours.VOBS.Audio[k];
            const audio_attr_t& attr = mat.vts_audio_attr[k];
            QCOMPARE(audio.Coding, AudioCodingName(attr.audio_format));
            QCOMPARE(audio.Channels, attr.channels + 1);
            QCOMPARE(audio.LanguageCode, languageCode(attr.lang_code));
            QCOMPARE(audio.LanguageName, LanguageName(audio.LanguageCode));
            QCOMPARE(audio.CodeExtension, AudioCodeExtensionName(attr.code_extension));
        }
        QCOMPARE(ours.VOBS.SubpictureCount, mat.nr_of_vts_subp_streams);
        for (int k = 0; k < ours.VOBS.SubpictureCount; ++k)
            QCOMPARE(ours.VOBS.SubpictureLanguages[k],
                     LanguageName(languageCode(mat.vts_subp_attr[k].lang_code)));

        const pgcit_t& pgcit = *theirs->vts_pgcit;
        QCOMPARE(ours.PGCI.Count, pgcit.nr_of_pgci_srp);
        QCOMPARE(ours.PGCI.Chains.size(), pgcit.nr_of_pgci_srp);
        for (int i = 0; i < pgcit.nr_of_pgci_srp; ++i) {
            compareChain(ours.PGCI.Chains[i], *pgcit.pgci_srp[i].pgc, ours.VOBS);
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(QStringLiteral("program chain %1 differs").arg(i + 1)));
        }
        QVERIFY(theirs->vts_ptt_srpt);
        QCOMPARE(ours.TitleChains.size(), theirs->vts_ptt_srpt->nr_of_srpts);
        for (int t = 0; t < ours.TitleChains.size(); ++t)
            QCOMPARE(ours.TitleChains[t], theirs->vts_ptt_srpt->title[t].ptt[0].pgcn - 1);
    }
};

QTEST_APPLESS_MAIN(TestIfoDvdread)
#include "tst_ifodvdread.moc"
