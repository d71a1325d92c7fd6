#include "convert/commandlines.h"
#include "convert/conversiondriver.h"
#include "convert/jobbuilder.h"
#include "convert/toolrunner.h"
#include "core/paths.h"
#include "core/programvalues.h"
#include "core/timetext.h"
#include "dvd/discloader.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"
#include "profiles/standardini.h"
#include "support/fakes.h"
#include "support/mediaprobe.h"
#include "support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString codecOf(const QString& encoder) {
    static const QHash<QString, QString> names = {
        {"libx264", "h264"},  {"mpeg4", "mpeg4"},    {"libvpx-vp9", "vp9"}, {"libvpx", "vp8"},
        {"aac", "aac"},       {"libmp3lame", "mp3"}, {"libopus", "opus"},   {"libvorbis", "vorbis"},
        {"libxvid", "mpeg4"}, {"mp3", "mp3"}};
    return names.value(encoder, encoder);
}

// A disc a test made, loaded as the window loads it, with one item to be converted.
struct OpenedDisc {
    TDVDInformation info;
    TTaskTree tree{[this] { return info.VolumeName; }, [] { return QString(); }};

    explicit OpenedDisc(const QString& folder) {
        LibDvdReadStructure reader;
        ApplyLoadedDisc(LoadDisc(folder, reader), tree, info);
    }
    // Title `title`'s chapter `chapter`, or the title itself for 0, alone checked.
    QModelIndex only(int title, int chapter) {
        const QModelIndex t = tree.index(title - 1, 0);
        const QModelIndex item = chapter ? tree.index(chapter - 1, 0, t) : t;
        tree.applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
        tree.setChecked(item, true);
        return item;
    }
};

} // namespace

// Real conversions of the sample disc with the real encoder and transcoder.
class TestEndToEnd : public QObject {
    Q_OBJECT
private:
    QString m_disc;
    QString m_programDir;
    QTemporaryDir m_out;
    QTemporaryDir m_work;
    std::unique_ptr<TTaskTree> m_tree;
    TDVDInformation m_info;

    QModelIndex chapter(int title, int chapter) {
        return m_tree->index(chapter - 1, 0, m_tree->index(title - 1, 0));
    }

    // Converts the tree's checked items with a profile; returns the driver's failures.
    QList<ItemFailure> convert(const QString& profilePath, FakePrompts& prompts) {
        const ProgramValues values = ProgramValues::forProgramDir(m_programDir);
        const QString workDir = m_work.path() + "/";
        const QString extension = u'.' + StandardIni(profilePath).readString("Main", "Type", "mp4");
        TToolRunner runner;
        TConversionDriver driver(runner, prompts, values);
        GeneralPreferences settings = values.defaultPreferences();
        settings.workDir = workDir;
        settings.overwrite = true;
        EncoderMemory memory;
        const ConversionJob job = BuildConversionJob(
            DiscJobSource(*m_tree, m_info, extension, m_out.path() + "/", settings, profilePath),
            memory);
        QSignalSpy done(&driver, &TConversionDriver::finished);
        driver.run(job);
        [&] { QVERIFY(done.wait(180000)); }();
        [&] {
            QCOMPARE(done.first().first().value<TConversionDriver::Outcome>(),
                     TConversionDriver::Outcome::Completed);
        }();
        [&] { QVERIFY(!QFile::exists(workDir + "temp.avi")); }();
        return driver.failures();
    }

    QString firstProfile(const QString& type) const {
        for (const QString& f : ListFilesWithExtension(m_programDir + "Profiles", ".apf"))
            if (StandardIni(m_programDir + "Profiles/" + f).readString("Main", "Type") == type)
                return m_programDir + "Profiles/" + f;
        return {};
    }

    // Converts one item of a loaded disc with a profile whose rows show `shown` where given.
    QList<ItemFailure> convertWith(const QString& profilePath, const TTaskTree& tree,
                                   const TDVDInformation& info,
                                   const QHash<QString, QString>& shown, int intermediate = 0) {
        const ProgramValues values = ProgramValues::forProgramDir(m_programDir);
        const QString workDir = m_work.path() + "/";
        const QString extension = u'.' + StandardIni(profilePath).readString("Main", "Type", "mp4");
        TToolRunner runner;
        FakePrompts prompts;
        TConversionDriver driver(runner, prompts, values);
        GeneralPreferences settings = values.defaultPreferences();
        settings.workDir = workDir;
        settings.overwrite = true;
        settings.intermediate = intermediate;
        ConversionJobSource source =
            DiscJobSource(tree, info, extension, m_out.path() + "/", settings, profilePath);
        const ShownText defaults = source.shownText;
        source.shownText = [defaults, shown](ParameterGroup g, const QString& key) {
            return shown.contains(key) ? std::optional<QString>(shown[key]) : defaults(g, key);
        };
        EncoderMemory memory;
        QSignalSpy done(&driver, &TConversionDriver::finished);
        driver.run(BuildConversionJob(source, memory));
        if (!done.wait(180000))
            return {{"", "the run did not end", ""}};
        return driver.failures();
    }

    void trim(const QModelIndex& index, double start, double end) {
        m_tree->applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
        m_tree->setChecked(index, true);
        m_tree->setSpan(index, SecondsToTimeText(start), SecondsToTimeText(end));
    }

    // Whether the output's sound is as far from its picture (within 20 ms) as the film disc's
    // own over the same stretch of its title (each title has a title set of its own; the
    // titles of two parts, whose timestamps start again in the second, are held to the first
    // title's, made alike).
    static bool soundInStep(const QString& output, const QString& disc, int titleNumber,
                            const TItemSpan& span) {
        const bool parts = titleNumber > 3;
        const std::optional<double> own = SoundOffsetMs(
            disc +
                QString("/VIDEO_TS/VTS_%1_1.VOB").arg(parts ? 1 : titleNumber, 2, 10, QChar('0')),
            parts ? 0 : span.start, parts ? 1e6 : span.end - span.start);
        const std::optional<double> seen = SoundOffsetMs(output);
        if (own && seen && qAbs(*seen - *own) <= 20)
            return true;
        qWarning("sound %.1f ms after the picture, on the disc %.1f ms", seen.value_or(-1e6),
                 own.value_or(-1e6));
        return false;
    }

private slots:
    void initTestCase() {
        m_disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
        m_programDir = TestFiles::programDir();
        if (m_disc.isEmpty() || !QDir(m_disc + "/VIDEO_TS").exists())
            QSKIP("The sample disc has not been made (build the sample_dvd target).");
        QVERIFY(QFile::exists(m_programDir + "asapi.dll"));
        m_tree = std::make_unique<TTaskTree>([this] { return m_info.VolumeName; },
                                             [] { return QString(); });
        LibDvdReadStructure reader;
        ApplyLoadedDisc(LoadDisc(m_disc, reader), *m_tree, m_info);
        QCOMPARE(m_tree->rowCount(), 4);
    }

    void everyProfile_data() {
        QTest::addColumn<QString>("profile");
        for (const QString& file : ListFilesWithExtension(m_programDir + "Profiles", ".apf"))
            QTest::newRow(qPrintable(file)) << m_programDir + "Profiles/" + file;
    }
    void everyProfile() {
        QFETCH(QString, profile);
        // Chapter 2 of title 3 (PAL), trimmed to 3 seconds inside it.
        const QModelIndex item = chapter(3, 2);
        const double start = m_tree->node(item)->OrigStartSeconds + 1;
        trim(item, start, start + 3);
        m_info.VolumeName = QFileInfo(profile).completeBaseName();
        FakePrompts prompts;
        const QList<ItemFailure> failures = convert(profile, prompts);
        QVERIFY2(failures.isEmpty(),
                 qPrintable(failures.value(0).reason + "\n" + failures.value(0).toolOutput));

        const QString type = StandardIni(profile).readString("Main", "Type", "mp4");
        const QString output = m_out.filePath(m_info.VolumeName + "-Title03-Chapter02." + type);
        const ProbedMedia media = ProbeMedia(output);
        QVERIFY2(media.ok, qPrintable(output));

        const QList<ProfileOption> options =
            CurrentProfileOptions(profile, ProfileDefaults(profile));
        QString videoCodec, audioCodec, size;
        bool noVideo = false, noAudio = false;
        for (const ProfileOption& o : options) {
            if ((o.cmd == "-vcodec" || o.cmd == "-c:v") && !o.value.isEmpty())
                videoCodec = codecOf(o.value.section(' ', 0, 0));
            if ((o.cmd == "-acodec" || o.cmd == "-c:a") && !o.value.isEmpty())
                audioCodec = codecOf(o.value.section(' ', 0, 0));
            if (o.cmd == "-s")
                size = o.value;
            noVideo |= o.cmd == "-vn" && o.value == "\\";
            noAudio |= o.cmd == "-an" && o.value == "\\";
        }
        const QHash<QString, QString> containers = {
            {"mp4", "mp4"}, {"mkv", "matroska"}, {"avi", "avi"}, {"webm", "webm"}, {"mp3", "mp3"}};
        QVERIFY2(media.formatName.contains(containers.value(type, type)),
                 qPrintable(media.formatName));

        const ProbedStream* video = media.first("video");
        if (noVideo || type == "mp3") {
            QVERIFY(!video || video->codec == "mjpeg" || video->codec == "png");
        } else {
            QVERIFY(video);
            if (!videoCodec.isEmpty())
                QCOMPARE(video->codec, videoCodec);
            if (!size.isEmpty())
                QCOMPARE(QString("%1x%2").arg(video->width).arg(video->height), size);
            QVERIFY2(qAbs(video->duration - 3) <= 1, qPrintable(QString::number(video->duration)));
        }
        const ProbedStream* audio = media.first("audio");
        if (noAudio) {
            QVERIFY(!audio);
        } else {
            QVERIFY(audio);
            if (!audioCodec.isEmpty())
                QCOMPARE(audio->codec, audioCodec);
            const double d = audio->duration > 0 ? audio->duration : media.duration;
            QVERIFY2(qAbs(d - 3) <= 1, qPrintable(QString::number(d)));
        }
    }

    // What a viewer sees and hears in outputs of a disc with 16:9 titles in both standards, two
    // English tracks and a subtitle that is already showing when every later chapter starts.
    void looksAndSoundsAsChosen_data() {
        QTest::addColumn<QString>("profile"); // a shipped profile's file; empty: the first MP4
        QTest::addColumn<QString>("size");    // the Video Size row's caption; empty: as shipped
        QTest::addColumn<int>("title");
        QTest::addColumn<int>("chapter"); // 0: the title itself
        QTest::addColumn<double>("from"); // a trimmed span, seconds into the title; -1: untrimmed
        QTest::addColumn<double>("to");
        QTest::addColumn<int>("audio");
        QTest::addColumn<int>("subtitle");
        QTest::addColumn<double>("tone");
        QTest::addColumn<int>("intermediate");
        for (const QString& file : ListFilesWithExtension(m_programDir + "Profiles", ".apf"))
            QTest::newRow(qPrintable("NTSC chapter, " + file))
                << file << "" << 1 << 2 << -1.0 << -1.0 << 1 << 1 << 550.0 << 0;
        for (const QString size : {"720x480", "720x576", "640x480", "640x360", "480x270"})
            QTest::newRow(qPrintable("PAL span in " + size))
                << "" << size << 2 << 0 << 5.0 << 7.0 << 0 << 1 << 330.0 << 0;
        QTest::newRow("NTSC last chapter to the title's end")
            << ""
            << "" << 1 << 4 << -1.0 << -1.0 << 2 << 1 << 660.0 << 0;
        QTest::newRow("NTSC first chapter, from the title's start")
            << ""
            << "" << 1 << 1 << -1.0 << -1.0 << 0 << 1 << 440.0 << 0;
        QTest::newRow("PAL last chapter, no subtitle")
            << ""
            << "" << 2 << 3 << -1.0 << -1.0 << 1 << 0 << 880.0 << 0;
        // The whole pictures streamed: the same picture, sound and frames.
        QTest::newRow("NTSC chapter, high intermediate")
            << ""
            << "" << 1 << 2 << -1.0 << -1.0 << 1 << 1 << 550.0 << 1;
        QTest::newRow("PAL span in 640x360, high intermediate")
            << ""
            << "640x360" << 2 << 0 << 5.0 << 7.0 << 0 << 1 << 330.0 << 1;
        QTest::newRow("NTSC last chapter to the title's end, high intermediate")
            << ""
            << "" << 1 << 4 << -1.0 << -1.0 << 2 << 1 << 660.0 << 1;
        QTest::newRow("PAL span from the title's start, high intermediate")
            << ""
            << "" << 2 << 0 << 0.0 << 3.0 << 1 << 0 << 880.0 << 1;
    }
    void looksAndSoundsAsChosen() {
        QFETCH(QString, profile);
        QFETCH(QString, size);
        QFETCH(int, title);
        QFETCH(int, chapter);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(int, audio);
        QFETCH(int, subtitle);
        QFETCH(double, tone);
        QFETCH(int, intermediate);
        const QString disc = qEnvironmentVariable("RIPVALE_CHECK_DVD");
        if (!QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The check disc has not been made (build the check_dvd target).");
        const QString profilePath =
            profile.isEmpty() ? firstProfile("mp4") : m_programDir + "Profiles/" + profile;
        OpenedDisc opened(disc);
        auto& [info, tree] = opened;
        QCOMPARE(tree.rowCount(), 2);
        const QModelIndex titleIndex = tree.index(title - 1, 0);
        const QModelIndex item = opened.only(title, chapter);
        if (from >= 0)
            tree.setSpan(item, SecondsToTimeText(from), SecondsToTimeText(to));
        tree.writeChoice(titleIndex, TTaskTree::Choice::Audio, audio);
        tree.writeChoice(titleIndex, TTaskTree::Choice::Subtitle, subtitle);
        info.VolumeName = QString(QTest::currentDataTag()).replace(QRegularExpression("\\W+"), "_");
        const QList<ItemFailure> failures =
            convertWith(profilePath, tree, info,
                        size.isEmpty() ? QHash<QString, QString>{}
                                       : QHash<QString, QString>{{"Video Size", size}},
                        intermediate);
        QVERIFY2(failures.isEmpty(),
                 qPrintable(failures.value(0).reason + "\n" + failures.value(0).toolOutput));
        QVERIFY(!QFile::exists(m_work.filePath("temp.avi")));

        const TTaskNode& node = *tree.node(item);
        const double span = node.EndSeconds - node.StartSeconds;
        const double rate = title == 1 ? 30000.0 / 1001 : 25;
        const QString type = StandardIni(profilePath).readString("Main", "Type", "mp4");
        const QString output = m_out.filePath(info.VolumeName + "-" + node.OutputName + "." + type);
        const ProbedMedia media = ProbeMedia(output);
        QVERIFY2(media.ok, qPrintable(output));
        // Every stream lasts the span, to the title's end included.
        for (const ProbedStream& s : media.streams)
            if (s.type == "audio" || (s.type == "video" && s.codec != "mjpeg" && s.codec != "png"))
                QVERIFY2(qAbs((s.duration > 0 ? s.duration : media.duration) - span) <= 0.1,
                         qPrintable(s.type + QString(" lasts %1 of %2").arg(s.duration).arg(span)));
        // The chosen track, also the second of one language (between the tones' beeps, which
        // start every whole second of the disc).
        const double pitch = EstimatePitch(output, std::floor(span / 2) + 0.2, 0.4);
        QVERIFY2(qAbs(pitch - tone) < 30, qPrintable(QString::number(pitch)));

        const ProbedStream* video = media.first("video");
        if (!video || type == "mp3")
            return;
        // The first frame is the span's own first: not one late, not a damaged picture the
        // encoder made up before the title's first.
        const QString vob =
            QString("%1/VIDEO_TS/VTS_%2_1.VOB").arg(disc).arg(title, 2, 10, QChar('0'));
        const int firstFrame = qRound(node.StartSeconds * rate);
        QCOMPARE(MatchingSourceFrame(output, vob, firstFrame - 2, firstFrame + 2), firstFrame);
        // Every frame once: the span's frame count within one; to the title's end, what the
        // title has left (the encoder never writes the title's very last frame).
        const bool toTitleEnd = node.EndSeconds >= tree.node(titleIndex)->OrigEndSeconds;
        const double frames = toTitleEnd ? CountVideoFrames(vob) - firstFrame : span * rate;
        QVERIFY2(qAbs(CountVideoFrames(output) - frames) <= 1,
                 qPrintable(QString("%1 of %2").arg(CountVideoFrames(output)).arg(frames)));
        // The picture itself shows at 16:9, whatever the frame around it.
        const SeenFrame first = LookAtFrame(output, 0);
        const SeenFrame middle = LookAtFrame(output, span / 2);
        const double shape = middle.pictureWidth * video->sampleAspect / middle.pictureHeight;
        QVERIFY2(qAbs(shape / (16.0 / 9) - 1) < 0.01,
                 qPrintable(QString("picture %1x%2 in %3x%4, pixel %5")
                                .arg(middle.pictureWidth)
                                .arg(middle.pictureHeight)
                                .arg(middle.width)
                                .arg(middle.height)
                                .arg(video->sampleAspect)));
        // The subtitle showing at the item's start (from 1 s on) is there from its first frame.
        QVERIFY2((first.whiteBelow > 8) == (subtitle != 0 && node.StartSeconds >= 1),
                 qPrintable(QString::number(first.whiteBelow)));
        QVERIFY2((middle.whiteBelow > 8) == (subtitle != 0),
                 qPrintable(QString::number(middle.whiteBelow)));
    }

    // An untrimmed chapter is its own cells, first frame to last, in real seconds: its first
    // and last frames are its own colour (each chapter has one), and it has its frames.
    void chaptersAreTheirOwnCells_data() {
        QTest::addColumn<int>("title");
        QTest::addColumn<int>("chapter");
        QTest::addColumn<int>("intermediate");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("startText"); // as the list shows it
        QTest::newRow("NTSC chapter 9, 4:00.24 to 4:30.27") << 1 << 9 << 0 << 900 << "00:04:00";
        // 25 minutes in, NTSC's nominal seconds are 1.5 s short: more than the seek's lead.
        QTest::newRow("NTSC chapter 51, 25:01.50 to 25:31.53") << 1 << 51 << 0 << 900 << "00:25:02";
        QTest::newRow("NTSC last chapter, high intermediate") << 1 << 52 << 1 << 899 << "00:25:32";
        QTest::newRow("PAL chapter 2, 4.4 to 9.2 s") << 2 << 2 << 0 << 120 << "00:00:04";
        QTest::newRow("PAL chapter 3, 9.2 to 15.6 s, high") << 2 << 3 << 1 << 160 << "00:00:09";
    }
    void chaptersAreTheirOwnCells() {
        QFETCH(int, title);
        QFETCH(int, chapter);
        QFETCH(int, intermediate);
        QFETCH(int, frames);
        const QString disc = qEnvironmentVariable("RIPVALE_CHAPTERS_DVD");
        if (!QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The chapters disc has not been made (build the chapters_dvd target).");
        OpenedDisc opened(disc);
        auto& [info, tree] = opened;
        QCOMPARE(tree.rowCount(), 2);
        const QModelIndex item = opened.only(title, chapter);
        QTEST(tree.node(item)->StartText, "startText");
        info.VolumeName = QString("cells%1-%2").arg(title).arg(chapter);
        const QString profile = firstProfile("mp4");
        const QList<ItemFailure> failures = convertWith(profile, tree, info, {}, intermediate);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).reason));
        const QString output =
            m_out.filePath(info.VolumeName + "-" + tree.node(item)->OutputName + ".mp4");
        const int count = CountVideoFrames(output);
        QVERIFY2(qAbs(count - frames) <= 1, qPrintable(QString::number(count)));
        const FrameColour own = ColourOfFrame(output, count / 2);
        for (const int frame : {0, count - 1}) {
            const FrameColour seen = ColourOfFrame(output, frame);
            QVERIFY2(seen.near(own), qPrintable(QString("frame %1: U %2 V %3, the chapter's U %4 "
                                                        "V %5")
                                                    .arg(frame)
                                                    .arg(seen.u)
                                                    .arg(seen.v)
                                                    .arg(own.u)
                                                    .arg(own.v)));
        }
    }

    // Chapter marks and sound on the chapters disc, whose picture turns colour at each chapter
    // and flashes in the middle of every second as a beep starts: every chapter inside the span
    // is marked where its picture begins, on a key frame, named by its number on the disc; the
    // sound is as far from the picture as on the disc (NTSC's sound starts 21 ms after its
    // picture, PAL's 17 ms before).
    void marksAndSoundInStep_data() {
        QTest::addColumn<int>("title");
        QTest::addColumn<int>("chapter");  // 0: the title
        QTest::addColumn<QString>("span"); // trimmed to this; empty: as it is
        QTest::addColumn<QString>("type"); // the first shipped profile of this type
        QTest::addColumn<int>("intermediate");
        QTest::addColumn<bool>("marksOff");    // the profile's "Chapter Marks" row at No
        QTest::addColumn<QList<int>>("marks"); // the chapters marked, in order
        const QList<int> pal{1, 2, 3, 4};
        QTest::newRow("PAL title, MP4") << 2 << 0 << ""
                                        << "mp4" << 0 << false << pal;
        QTest::newRow("PAL title, MP4, high") << 2 << 0 << ""
                                              << "mp4" << 1 << false << pal;
        QTest::newRow("PAL 6 to 17 s, MKV, high") << 2 << 0 << "00:00:06-00:00:17"
                                                  << "mkv" << 1 << false << QList<int>{2, 3, 4};
        QTest::newRow("PAL chapter 3, WebM") << 2 << 3 << ""
                                             << "webm" << 0 << false << QList<int>{3};
        QTest::newRow("PAL title, AVI holds none") << 2 << 0 << ""
                                                   << "avi" << 0 << false << QList<int>{};
        QTest::newRow("PAL title, MP4, marks off") << 2 << 0 << ""
                                                   << "mp4" << 0 << true << QList<int>{};
        QTest::newRow("NTSC 0:45 to 2:05, MP4, high")
            << 1 << 0 << "00:00:45-00:02:05"
            << "mp4" << 1 << false << QList<int>{2, 3, 4, 5};
        QTest::newRow("NTSC 0:45 to 2:05, WebM") << 1 << 0 << "00:00:45-00:02:05"
                                                 << "webm" << 0 << false << QList<int>{2, 3, 4, 5};
        QTest::newRow("NTSC chapter 2, MKV") << 1 << 2 << ""
                                             << "mkv" << 0 << false << QList<int>{2};
        QTest::newRow("NTSC 12.5 to 25 s, MP4") << 1 << 0 << "00:00:12.500-00:00:25"
                                                << "mp4" << 0 << false << QList<int>{1};
        QTest::newRow("NTSC chapter 3, AVI, high") << 1 << 3 << ""
                                                   << "avi" << 1 << false << QList<int>{};
    }
    void marksAndSoundInStep() {
        QFETCH(int, title);
        QFETCH(int, chapter);
        QFETCH(QString, span);
        QFETCH(QString, type);
        QFETCH(int, intermediate);
        QFETCH(bool, marksOff);
        QFETCH(QList<int>, marks);
        const QString disc = qEnvironmentVariable("RIPVALE_CHAPTERS_DVD");
        if (!QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The chapters disc has not been made (build the chapters_dvd target).");
        OpenedDisc opened(disc);
        auto& [info, tree] = opened;
        const QModelIndex item = opened.only(title, chapter);
        if (!span.isEmpty())
            tree.setSpan(item, span.section('-', 0, 0), span.section('-', 1));
        info.VolumeName = QString(QTest::currentDataTag()).replace(QRegularExpression("\\W+"), "_");
        const QList<ItemFailure> failures = convertWith(
            firstProfile(type), tree, info,
            marksOff ? QHash<QString, QString>{{"Chapter Marks", "No"}} : QHash<QString, QString>{},
            intermediate);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).reason));
        const TItemSpan converted = ConvertedSpan(*tree.node(item));
        const QString output =
            m_out.filePath(info.VolumeName + "-" + tree.node(item)->OutputName + "." + type);
        const ProbedMedia media = ProbeMedia(output);
        QCOMPARE(media.chapters.size(), marks.size());
        const double frame = title == 1 ? 1001 / 30000.0 : 0.04;
        const QList<FrameTime> frames = VideoFrameTimes(output);
        for (qsizetype m = 0; m < marks.size(); ++m) {
            const ProbedChapter& mark = media.chapters[m];
            QCOMPARE(mark.title, QString("Chapter %1").arg(marks[m], 2, 10, QChar('0')));
            if (m == 0) {
                QCOMPARE(mark.start, 0.0);
                continue;
            }
            // The chapter's first picture: the first frame from the mark on (a Matroska file's
            // are all a little later, by the sound coder's delay), a key frame within a frame
            // of the mark, the first of its colour.
            const auto at = std::find_if(frames.begin(), frames.end(),
                                         [&](auto f) { return f.pts >= mark.start - 0.001; });
            QVERIFY(at != frames.end() && at != frames.begin());
            QVERIFY2(at->pts - mark.start <= frame && at->key,
                     qPrintable(QString("mark at %1, frame at %2").arg(mark.start).arg(at->pts)));
            const int index = int(at - frames.begin());
            QVERIFY(!ColourOfFrame(output, index - 1).near(ColourOfFrame(output, index)));
            QVERIFY(ColourOfFrame(output, index).near(ColourOfFrame(output, index + 1)));
        }
        const std::optional<double> own =
            SoundOffsetMs(disc + QString("/VIDEO_TS/VTS_%1_1.VOB").arg(title, 2, 10, QChar('0')),
                          converted.start, converted.end - converted.start);
        const std::optional<double> seen = SoundOffsetMs(output);
        QVERIFY(own && seen);
        QVERIFY2(qAbs(*seen - *own) <= 20, qPrintable(QString("sound %1 ms after the picture, on "
                                                              "the disc %2 ms")
                                                          .arg(*seen)
                                                          .arg(*own)));
    }

    // NTSC film (progressive pictures, pull-down flags) comes out at its own 23.976 a second:
    // every film picture once, for the span's length, the sound as long and in step with the
    // picture as on the disc (a flash and a beep every 1.001 s).
    // Hard-telecined film (title 3) is pulled back up to the same rate; the encoder's pullup
    // needs a few pictures to find the pattern, so its count is looser.
    void filmAtItsOwnRate_data() {
        QTest::addColumn<int>("titleNumber");
        QTest::addColumn<int>("chapter"); // 0: the whole title
        QTest::addColumn<int>("intermediate");
        QTest::addColumn<QString>("span"); // trimmed to this; empty: as it is
        QTest::newRow("title, standard intermediate") << 1 << 0 << 0 << "";
        QTest::newRow("title, high intermediate") << 1 << 0 << 1 << "";
        QTest::newRow("chapter 2, standard intermediate") << 1 << 2 << 0 << "";
        QTest::newRow("chapter 2, high intermediate") << 1 << 2 << 1 << "";
        QTest::newRow("7 to 16 s, standard intermediate") << 1 << 0 << 0 << "00:00:07-00:00:16";
        QTest::newRow("hard telecine, standard intermediate") << 3 << 0 << 0 << "";
        QTest::newRow("hard telecine, high intermediate") << 3 << 0 << 1 << "";
        QTest::newRow("video, then film") << 4 << 0 << 1 << "";
        QTest::newRow("film, then video") << 5 << 0 << 0 << "";
        QTest::newRow("video, then film, 20 to 45 s") << 4 << 0 << 0 << "00:00:20-00:00:45";
    }
    void filmAtItsOwnRate() {
        QFETCH(int, titleNumber);
        QFETCH(int, chapter);
        QFETCH(int, intermediate);
        QFETCH(QString, span);
        const bool telecine = titleNumber == 3;
        const QString disc = qEnvironmentVariable("RIPVALE_FILM_DVD");
        if (!QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The film disc has not been made (build the film_dvd target).");
        OpenedDisc opened(disc);
        auto& [info, tree] = opened;
        const QModelIndex title = tree.index(titleNumber - 1, 0);
        const QModelIndex item = opened.only(titleNumber, chapter);
        if (!span.isEmpty())
            tree.setSpan(item, span.section('-', 0, 0), span.section('-', 1));
        info.VolumeName = QString("film%1-%2-%3").arg(titleNumber).arg(chapter).arg(intermediate);
        const QList<ItemFailure> failures =
            convertWith(firstProfile("mp4"), tree, info, {}, intermediate);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).reason));
        const TItemSpan converted = ConvertedSpan(*tree.node(item));
        const QString output =
            m_out.filePath(info.VolumeName + "-" + tree.node(item)->OutputName + ".mp4");
        const ProbedMedia media = ProbeMedia(output);
        for (const QString type : {"video", "audio"}) {
            QVERIFY(media.first(type));
            const double lasts = media.first(type)->duration;
            QVERIFY2(qAbs(lasts - (converted.end - converted.start)) <= (telecine ? 0.2 : 0.1),
                     qPrintable(type + QString(" lasts %1").arg(lasts)));
        }
        QVERIFY(soundInStep(output, disc, titleNumber, converted));
        // The title's last picture is the one the encoder never writes.
        const bool toEnd = converted.end >= ConvertedSpan(*tree.node(title)).end;
        const int frames =
            qRound((converted.end - converted.start) * FilmFrameRate) - (toEnd ? 1 : 0);
        QVERIFY2(qAbs(CountVideoFrames(output) - frames) <= (telecine || titleNumber > 3 ? 4 : 1),
                 qPrintable(QString("%1 of %2").arg(CountVideoFrames(output)).arg(frames)));
        if (telecine || titleNumber > 3) // woven pictures, or not title 1's to match
            return;
        // Its first picture is the film's own at the span's start, each once in between.
        const int first = qRound(converted.start * FilmFrameRate);
        QCOMPARE(MatchingSourceFrame(output, disc + "/VIDEO_TS/VTS_01_1.VOB", first - 2, first + 2),
                 first);
    }

    // "Deinterlace" Auto, as the shipped profiles have it: interlaced pictures come out whole;
    // No keeps the fields. (Film keeps its pictures as they are under Auto: the film rows
    // above match them to the disc's. idet cannot judge the test picture's progressive frames,
    // whose fine lines it takes for fields.)
    void interlacedComesOutProgressive_data() {
        QTest::addColumn<int>("title");
        QTest::addColumn<QString>("deinterlace");
        QTest::addColumn<bool>("combed");
        QTest::newRow("interlaced video, Auto") << 2 << "" << false;
        QTest::newRow("interlaced video, No") << 2 << "No" << true;
    }
    void interlacedComesOutProgressive() {
        QFETCH(int, title);
        QFETCH(QString, deinterlace);
        const QString disc = qEnvironmentVariable("RIPVALE_FILM_DVD");
        if (!QDir(disc + "/VIDEO_TS").exists())
            QSKIP("The film disc has not been made (build the film_dvd target).");
        OpenedDisc opened(disc);
        const QModelIndex item = opened.only(title, 0);
        opened.info.VolumeName = QString("fields%1%2").arg(title).arg(deinterlace);
        const QHash<QString, QString> shown =
            deinterlace.isEmpty() ? QHash<QString, QString>{}
                                  : QHash<QString, QString>{{"Deinterlace", deinterlace}};
        const QList<ItemFailure> failures =
            convertWith(firstProfile("mp4"), opened.tree, opened.info, shown);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.value(0).reason));
        const QString output = m_out.filePath(opened.info.VolumeName + "-" +
                                              opened.tree.node(item)->OutputName + ".mp4");
        QVERIFY(soundInStep(output, disc, title, ConvertedSpan(*opened.tree.node(item))));
        const FieldCounts fields = JudgeFields(output);
        QVERIFY(fields.progressive >= 0);
        QFETCH(bool, combed);
        QVERIFY2(combed ? fields.interlaced > 10 * fields.progressive
                        : fields.progressive > 10 * fields.interlaced,
                 qPrintable(QString("%1 interlaced, %2 progressive")
                                .arg(fields.interlaced)
                                .arg(fields.progressive)));
    }

    void wholeTitleAndLastChapterRunToTheirEnd() {
        // Spans that end at their title's end: the encoder must stop there by itself.
        const QString profile = firstProfile("mp4");
        if (profile.isEmpty())
            QSKIP("No MP4 profile is shipped.");
        const QModelIndex title = m_tree->index(3, 0);
        const QModelIndex last = chapter(4, m_tree->rowCount(title));
        m_tree->applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
        for (const QModelIndex& i : {title, last}) {
            m_tree->setSpan(i, m_tree->node(i)->OrigStartText, m_tree->node(i)->OrigEndText);
            m_tree->setChecked(i, true);
        }
        m_info.VolumeName = "whole";
        FakePrompts prompts;
        QVERIFY(convert(profile, prompts).isEmpty());
        for (const QModelIndex& i : {title, last}) {
            const TTaskNode& n = *m_tree->node(i);
            const ProbedMedia media = ProbeMedia(m_out.filePath("whole-" + n.OutputName + ".mp4"));
            const double span = n.EndSeconds - n.StartSeconds;
            for (const QString type : {"video", "audio"}) {
                QVERIFY(media.first(type));
                QVERIFY2(qAbs(media.first(type)->duration - span) <= 1,
                         qPrintable(type + ": " + QString::number(media.first(type)->duration)));
            }
        }
    }

    void badlyMuxedDiscIsReportedIncomplete() {
        // Video at the maximum bit rate throughout makes the encoder keep a fraction of a
        // second of audio, and it still exits 0: the check must catch that.
        const QString profile = firstProfile("mp4");
        if (profile.isEmpty())
            QSKIP("No MP4 profile is shipped.");
        QTemporaryDir bad;
        const auto restore = qScopeGuard([this] { initTestCase(); }); // the sample disc again
        const auto run = [](const QString& program, const QStringList& args) {
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(program, args);
            p.waitForFinished(120000);
            return p.exitCode() == 0 ? QString() : QString::fromLocal8Bit(p.readAll());
        };
        QCOMPARE(
            run("ffmpeg", {"-v", "error", "-f", "lavfi", "-i",
                           "testsrc=size=720x480:rate=30000/1001:duration=6,noise=alls=100:allf=t",
                           "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=48000:duration=6",
                           "-target", "ntsc-dvd", "-b:v", "2000k", bad.filePath("clip.mpg")}),
            QString());
        TestFiles::write(bad.filePath("dvd.xml"),
                         (QString("<dvdauthor dest='%1'><vmgm/><titleset><titles><pgc>"
                                  "<vob file='%2'/></pgc></titles></titleset></dvdauthor>")
                              .arg(bad.filePath("disc"), bad.filePath("clip.mpg")))
                             .toUtf8());
        qputenv("VIDEO_FORMAT", "NTSC");
        QCOMPARE(run("dvdauthor", {"-x", bad.filePath("dvd.xml")}).isEmpty(), true);

        m_info = {};
        m_tree = std::make_unique<TTaskTree>([] { return QString(); }, [] { return QString(); });
        LibDvdReadStructure reader;
        ApplyLoadedDisc(LoadDisc(bad.filePath("disc"), reader), *m_tree, m_info);
        QCOMPARE(m_tree->rowCount(), 1);
        m_tree->CheckLongestTitle();
        FakePrompts prompts;
        const QList<ItemFailure> failures = convert(profile, prompts);
        QCOMPARE(failures.size(), 1);
        QVERIFY2(failures[0].reason.startsWith("incomplete: audio lasts"),
                 qPrintable(failures[0].reason));
    }

    void chosenAudioLanguageAndSubtitleReachTheEncoder() {
        const QString profile = firstProfile("mp4");
        if (profile.isEmpty())
            QSKIP("No MP4 profile is shipped.");
        // Title 1: English at 440 Hz, German at 660 Hz; the subtitle shows from 1 s to 2.5 s.
        const QModelIndex title = m_tree->index(0, 0);
        QStringList outputs;
        for (int language : {0, 1}) {
            trim(title, 0, 3);
            m_tree->writeChoice(title, TTaskTree::Choice::Audio, language);
            m_tree->writeChoice(title, TTaskTree::Choice::Subtitle, language); // None, English
            m_info.VolumeName = QString("lang%1").arg(language);
            FakePrompts prompts;
            const QList<ItemFailure> failed = convert(profile, prompts);
            QVERIFY2(failed.isEmpty(), qPrintable(failed.value(0).reason));
            outputs << m_out.filePath(m_info.VolumeName + "-Title01.mp4");
        }
        const double english = EstimatePitch(outputs[0], 0.2, 0.6);
        const double german = EstimatePitch(outputs[1], 0.2, 0.6);
        QVERIFY2(qAbs(english - 440) < 60, qPrintable(QString::number(english)));
        QVERIFY2(qAbs(german - 660) < 60, qPrintable(QString::number(german)));

        // The subtitle is burned into the picture: the frames at 1.5 s differ.
        const auto frame = [](const QString& path) {
            QProcess p;
            p.start("ffmpeg", {"-v", "error", "-ss", "1.5", "-i", path, "-frames:v", "1", "-f",
                               "rawvideo", "-pix_fmt", "gray", "-"});
            p.waitForFinished(60000);
            return p.readAllStandardOutput();
        };
        const QByteArray plain = frame(outputs[0]), subtitled = frame(outputs[1]);
        QCOMPARE(plain.size(), subtitled.size());
        qint64 differing = 0;
        for (qsizetype i = 0; i < plain.size(); ++i)
            if (qAbs(int(quint8(plain[i])) - int(quint8(subtitled[i]))) > 60)
                ++differing;
        QVERIFY2(differing > plain.size() / 500, qPrintable(QString::number(differing)));
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
