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

#include "realconversion.h"

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

} // namespace

// Real conversions of the sample disc with the real encoder and transcoder.
class TestEndToEnd : public QObject {
    Q_OBJECT
private:
    QString m_disc;
    RealConversions m_conversions;
    QString m_programDir = m_conversions.programDir();
    std::unique_ptr<TTaskTree> m_tree;
    TDVDInformation m_info;

    QModelIndex chapter(int title, int chapter) {
        return m_tree->index(chapter - 1, 0, m_tree->index(title - 1, 0));
    }

    // Converts the tree's checked items with a profile; returns the driver's failures.
    QList<ItemFailure> convert(const QString& profilePath, FakePrompts& prompts) {
        const ProgramValues values = ProgramValues::forProgramDir(m_programDir);
        const QString workDir = m_conversions.workFolder();
        const QString extension = u'.' + StandardIni(profilePath).readString("Main", "Type", "mp4");
        TToolRunner runner;
        TConversionDriver driver(runner, prompts, values);
        GeneralPreferences settings = values.defaultPreferences();
        settings.workDir = workDir;
        settings.overwrite = true;
        EncoderMemory memory;
        const ConversionJob job =
            BuildConversionJob(DiscJobSource(*m_tree, m_info, extension,
                                             m_conversions.outputFolder(), settings, profilePath),
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

    QString firstProfile(const QString& type) const { return m_conversions.firstProfile(type); }

    QList<ItemFailure> convertWith(const QString& profilePath, const TTaskTree& tree,
                                   const TDVDInformation& info,
                                   const QHash<QString, QString>& shown, int intermediate = 0) {
        return m_conversions.convert(profilePath, tree, info, shown, intermediate);
    }

    void trim(const QModelIndex& index, double start, double end) {
        m_tree->applyCheckCommand(TTaskTree::CheckCommand::UncheckAll);
        m_tree->setChecked(index, true);
        m_tree->setSpan(index, SecondsToTimeText(start), SecondsToTimeText(end));
    }

private slots:
    void initTestCase() {
        m_disc = qEnvironmentVariable("RIPVALE_SAMPLE_DVD");
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
        const QString output =
            m_conversions.outputPath(m_info.VolumeName + "-Title03-Chapter02." + type);
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
        QVERIFY(!QFile::exists(m_conversions.workFolder() + "temp.avi"));

        const TTaskNode& node = *tree.node(item);
        const double span = node.EndSeconds - node.StartSeconds;
        const double rate = title == 1 ? 30000.0 / 1001 : 25;
        const QString type = StandardIni(profilePath).readString("Main", "Type", "mp4");
        const QString output =
            m_conversions.outputPath(info.VolumeName + "-" + node.OutputName + "." + type);
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
            m_conversions.outputPath(info.VolumeName + "-" + tree.node(item)->OutputName + ".mp4");
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
            const ProbedMedia media =
                ProbeMedia(m_conversions.outputPath("whole-" + n.OutputName + ".mp4"));
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
            outputs << m_conversions.outputPath(m_info.VolumeName + "-Title01.mp4");
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
