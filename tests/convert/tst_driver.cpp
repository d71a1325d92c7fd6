#include "convert/conversiondriver.h"
#include "core/programvalues.h"
#include "core/timetext.h"
#include "support/fakes.h"
#include "support/faketoolrunner.h"
#include "support/testclock.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(TConversionDriver::Outcome)

namespace {

// An encoder that reports its position over 25 chunks and leaves a temp.avi.
ToolPlay talkingEncoder(double duration) {
    ToolPlay p = writes(1000);
    for (int i = 0; i < 25; ++i)
        p.say << QString("Pos: %1s %2f (5%)\r").arg(duration * i / 24, 0, 'f', 1).arg(i * 10);
    return p;
}

ToolPlay talkingTranscoder(const QString& lastTime, const QStringList& more = {}) {
    ToolPlay p = writes(2000);
    p.say =
        QStringList{"header\n", "more header time=9999 ", "frame=1 time=00:00:01.00 bitrate=1\r",
                    "frame=2 time=" + lastTime + " bitrate=1\r", "frame=3 time=00:00:00.50 x\r"} +
        more;
    return p;
}

} // namespace

class TestDriver : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_program;
    std::unique_ptr<QTemporaryDir> m_out;
    std::unique_ptr<QTemporaryDir> m_work;
    ProgramValues m_values;
    FakePrompts m_prompts;
    std::unique_ptr<FakeToolRunner> m_runner;
    std::unique_ptr<TestClock> m_clock;
    std::unique_ptr<TConversionDriver> m_driver;
    QList<int> m_currents;
    QList<int> m_totals;
    QStringList m_frames;

    void play(ToolRole role, ToolPlay p) { m_runner->play(role, std::move(p)); }
    QList<QStringList> encoderRuns() const { return m_runner->runsOf(IToolRunner::Encoder); }
    QList<QStringList> encodePasses() const { return m_runner->runsAs(ToolRole::Encode); }
    QList<QStringList> transcoderRuns() const { return m_runner->runsOf(IToolRunner::Transcoder); }

    ConversionItem item(const QString& name, int title = 1, double duration = 10) {
        ConversionItem i;
        i.outputName = name;
        i.durationSeconds = duration;
        i.encode.titleNumber = title;
        i.encode.startText = "00:00:00";
        i.encode.endText = QString("00:00:%1").arg(int(duration), 2, 10, QChar('0'));
        i.encode.audioLanguages = {"en"};
        return i;
    }
    ConversionJob job(QList<ConversionItem> items) {
        ConversionJob j;
        j.items = items;
        j.outputDir = m_out->path() + "/";
        j.outputExtension = ".mp4";
        j.frameRate = 25;
        j.discPath = m_out->path() + "/VIDEO_TS/";
        j.workDir = m_work->path() + "/";
        j.encoderOptionBlock = EncoderOptionBlock({}, j.encoderMemory);
        j.transcoderOptions.add("-vcodec").add("libx264");
        return j;
    }
    TConversionDriver::Outcome runToEnd(ConversionJob j) {
        QSignalSpy done(m_driver.get(), &TConversionDriver::finished);
        m_driver->run(std::move(j));
        if (done.isEmpty())
            done.wait(10000);
        [&] { QVERIFY2(!done.isEmpty(), "the run did not end"); }();
        return done.isEmpty() ? TConversionDriver::Outcome::EncoderMissing
                              : done.first().first().value<TConversionDriver::Outcome>();
    }
    QString temp() const { return m_work->path() + "/temp.avi"; }

private slots:
    void init() {
        m_program = std::make_unique<QTemporaryDir>();
        m_out = std::make_unique<QTemporaryDir>();
        m_work = std::make_unique<QTemporaryDir>();
        m_values = ProgramValues::forProgramDir(m_program->path());
        m_prompts = {};
        m_runner = std::make_unique<FakeToolRunner>();
        m_clock = std::make_unique<TestClock>();
        m_driver = std::make_unique<TConversionDriver>(*m_runner, m_prompts, m_values, *m_clock);
        m_driver->setOutputCheck(false); // the fake outputs are no media files
        m_currents.clear();
        m_totals.clear();
        m_frames.clear();
        connect(m_driver.get(), &TConversionDriver::progressChanged, this, [this] {
            m_currents << m_driver->progress().current;
            m_totals << m_driver->progress().total;
            m_frames << m_driver->progress().framesText;
        });
    }
    void cleanup() {
        m_driver.reset(); // before the runner it listens to
    }

    void convertsEveryItemInOrder() {
        play(ToolRole::Encode, talkingEncoder(10));
        // The transcoder's time runs past the span; the second item's title is NTSC.
        play(ToolRole::Transcode,
             talkingTranscoder("00:00:05.00", {"frame=4 time=00:00:12.00 x\r"}));
        ConversionItem ntsc = item("Title01-Chapter01", 1);
        ntsc.frameRate = 29.97;
        const auto outcome = runToEnd(job({item("Title01"), ntsc}));
        QCOMPARE(outcome, TConversionDriver::Outcome::Completed);
        QVERIFY(m_driver->failures().isEmpty());
        QCOMPARE(m_driver->state(), ConversionState::Idle); // the driver ends its run itself
        QVERIFY(QFile::exists(m_out->filePath("Title01.mp4")));
        QVERIFY(QFile::exists(m_out->filePath("Title01-Chapter01.mp4")));
        QVERIFY(!QFile::exists(temp())); // removed at the end
        QCOMPARE(m_driver->progress().current, 100);
        QCOMPARE(m_driver->progress().total, 100);
        QCOMPARE(m_driver->progress().framesText, QString("300 / 300"));
        QCOMPARE(m_driver->progress().remainingText, QString("00:00:00"));
        for (const QString& f : std::as_const(m_frames)) // never past the item's total
            QVERIFY2(f.section(" / ", 0, 0).toInt() <= f.section(" / ", 1).toInt(), qPrintable(f));
        QVERIFY(m_frames.contains("250 / 250")); // the first item's own rate, 25 a second

        const QList<QStringList> encoder = encoderRuns();
        // A disc-open run, then probes before each encode pass.
        QCOMPARE(encoder[0].mid(0, 2), (QStringList{"dvd://1", "-dvd-device"}));
        QCOMPARE(encoder[0].mid(2, 1).size(), 1);
        QCOMPARE(encoder[0].mid(3), (QStringList{"-o", "temp.avi"}));
        QVERIFY(encoder[1].contains("-msglevel"));
        const QList<QStringList> passes = encodePasses();
        QCOMPARE(passes.size(), 2);
        QCOMPARE(passes[0].last(), temp());
        QVERIFY(passes[0].contains("-alang"));
        const QList<QStringList> transcoder = transcoderRuns();
        QCOMPARE(transcoder.size(), 2);
        // The MP3 coder's delay is taken off the intermediate's sound.
        QCOMPARE(transcoder[0],
                 (QStringList{"-y", "-i", temp(), "-t", "10.000", "-vcodec", "libx264", "-af",
                              "atrim=start=0.0230,asetpts=PTS-STARTPTS",
                              m_out->filePath("Title01.mp4")}));
        // The encode pass filled the first half, parsing from the 21st chunk; the transcoder's
        // time never went back and its first two chunks were not read.
        QVERIFY(m_currents.contains(50) || m_currents.contains(48));
        QVERIFY(m_currents.contains(75));
        QVERIFY(!m_currents.contains(99));
    }

    void failingToolsFailTheirItemOnly_data() {
        QTest::addColumn<QString>("broken"); // which run goes wrong, and how
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("oldFile"); // an earlier output at the path, to be overwritten
        QTest::newRow("encoder exit status") << "encoder exit"
                                             << "exit status 3" << false;
        QTest::newRow("encoder crash") << "encoder crash"
                                       << "stopped unexpectedly" << false;
        QTest::newRow("encoder writes nothing") << "encoder silent"
                                                << "wrote no video" << false;
        QTest::newRow("transcoder exit status") << "transcoder exit"
                                                << "exit status 1" << false;
        QTest::newRow("transcoder empty output") << "transcoder empty"
                                                 << "wrote no file" << false;
        QTest::newRow("transcoder exits 0 leaving the old file") << "transcoder silent"
                                                                 << "wrote no file" << true;
    }
    void failingToolsFailTheirItemOnly() {
        QFETCH(QString, broken);
        QFETCH(QString, reason);
        QFETCH(bool, oldFile);
        ToolPlay encoder = writes(10), transcoder = writes(20);
        if (broken == "encoder exit")
            encoder = ToolPlay{.say = {"oops\n"}, .exitCode = 3};
        else if (broken == "encoder crash")
            encoder.crash = true;
        else if (broken == "encoder silent")
            encoder = ToolPlay();
        else if (broken == "transcoder exit")
            transcoder = ToolPlay{.say = {"Unknown encoder\n"}, .exitCode = 1};
        else if (broken == "transcoder empty")
            transcoder = writes(0);
        else
            transcoder = ToolPlay();
        play(ToolRole::Encode, encoder);
        play(ToolRole::Transcode, transcoder);
        ConversionJob j = job({item("Title01"), item("Title02", 2)});
        if (oldFile) {
            TestFiles::write(m_out->filePath("Title01.mp4"), "an earlier, good output");
            TestFiles::write(m_out->filePath("Title02.mp4"), "an earlier, good output");
            j.overwrite = OverwriteChoice::Overwrite;
        }
        QCOMPARE(runToEnd(j), TConversionDriver::Outcome::Completed);
        QCOMPARE(m_driver->failures().size(), 2); // the run went on to the second item
        QCOMPARE(m_driver->failures()[0].fileName, QString("Title01.mp4"));
        QVERIFY2(m_driver->failures()[0].reason.contains(reason),
                 qPrintable(m_driver->failures()[0].reason));
        if (broken == "encoder exit")
            QCOMPARE(m_driver->failures()[0].toolOutput, QString("oops"));
        QCOMPARE(m_driver->progress().total, 100);
        QVERIFY(!QFile::exists(temp()));
    }

    void stopInEachPhase_data() {
        QTest::addColumn<int>("hanging"); // the role of the run that hangs
        QTest::addColumn<int>("transcodeRuns");
        QTest::newRow("disc-open run") << int(ToolRole::Open) << 0;
        QTest::newRow("encode pass") << int(ToolRole::Encode) << 0;
        QTest::newRow("transcode pass") << int(ToolRole::Transcode) << 1;
    }
    void stopInEachPhase() {
        QFETCH(int, hanging);
        QFETCH(int, transcodeRuns);
        play(ToolRole::Encode, writes(10));
        play(ToolRole(hanging),
             hangs({"working\n"}, ToolRole(hanging) == ToolRole::Open ? -1 : 10));
        QSignalSpy done(m_driver.get(), &TConversionDriver::finished);
        m_driver->run(job({item("Title01"), item("Title02", 2)}));
        QTRY_VERIFY(!m_runner->starts.isEmpty() &&
                    RoleOf(m_runner->starts.last().arguments, m_runner->starts.last().slot) ==
                        ToolRole(hanging));
        m_driver->stop();
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().first().value<TConversionDriver::Outcome>(),
                 TConversionDriver::Outcome::Cancelled);
        QCOMPARE(m_driver->state(), ConversionState::Idle);
        QCOMPARE(m_prompts.notices.last().text, QString("The conversion is canceled."));
        QCOMPARE(m_prompts.notices.last().caption, QString("Cancel"));
        QVERIFY(!m_runner->isRunning(IToolRunner::Encoder));
        QVERIFY(!m_runner->isRunning(IToolRunner::Transcoder));
        QVERIFY(!QFile::exists(temp()));
        QVERIFY(!QFile::exists(m_out->filePath("Title01.mp4"))); // no half-written output
        QCOMPARE(transcoderRuns().size(), transcodeRuns);
        m_driver->stop(); // only while converting: nothing more happens
        QCOMPARE(m_prompts.notices.size(), 1);
    }

    // With whole pictures the encoder writes into a pipe while the transcoder reads it: both
    // run at once, and whichever ends first must not leave the other waiting on the pipe.
    void streamedPassesRunTogether_data() {
        QTest::addColumn<QString>("broken");
        QTest::addColumn<QString>("reason"); // empty: converted
        QTest::newRow("transcoder has its span first") << ""
                                                       << "";
        QTest::newRow("encoder fails") << "encoder"
                                       << "the encoder failed with exit status 3";
        QTest::newRow("transcoder fails") << "transcoder"
                                          << "exit status 1";
        QTest::newRow("stopped") << "stop"
                                 << "";
    }
    void streamedPassesRunTogether() {
        QFETCH(QString, broken);
        QFETCH(QString, reason);
        play(ToolRole::Encode, hangs());
        play(ToolRole::Transcode, broken == "transcoder" ? ToolPlay{.exitCode = 1}
                                  : broken.isEmpty()     ? writes(20)
                                                         : hangs({}, 20));
        if (broken == "encoder") // it fails once the transcoder has begun its file
            m_runner->onStart = [this](const FakeToolRunner::Start& s) {
                const ToolRole role = RoleOf(s.arguments, s.slot);
                if (role == ToolRole::Transcode) {
                    TestFiles::write(s.arguments.last(), "half a file");
                    m_runner->end(IToolRunner::Encoder, 3);
                } else if (role != ToolRole::Encode) {
                    m_runner->end(s.slot);
                }
            };
        ConversionJob j = job({item("Title01")});
        j.encoderOptionBlock = EncoderOptionBlock({}, j.encoderMemory, Prefs::IntermediateHigh);
        QSignalSpy done(m_driver.get(), &TConversionDriver::finished);
        m_driver->run(j);
        if (broken == "stop") {
            QTRY_VERIFY(m_runner->isRunning(IToolRunner::Transcoder));
            QVERIFY(m_runner->isRunning(IToolRunner::Encoder));
            struct stat pipe {};
            QVERIFY(::stat(QFile::encodeName(temp()).constData(), &pipe) == 0 &&
                    S_ISFIFO(pipe.st_mode));
            m_driver->stop();
        }
        QVERIFY(done.wait(10000));
        QCOMPARE(done.first().first().value<TConversionDriver::Outcome>(),
                 broken == "stop" ? TConversionDriver::Outcome::Cancelled
                                  : TConversionDriver::Outcome::Completed);
        QCOMPARE(m_driver->failures().size(), reason.isEmpty() ? 0 : 1);
        if (!reason.isEmpty())
            QVERIFY2(m_driver->failures()[0].reason.contains(reason),
                     qPrintable(m_driver->failures()[0].reason));
        QVERIFY(!m_runner->isRunning(IToolRunner::Encoder));
        QVERIFY(!m_runner->isRunning(IToolRunner::Transcoder));
        QVERIFY(!QFile::exists(temp()));
        // Only a converted item leaves an output; the others leave no half-written one.
        QCOMPARE(QFile::exists(m_out->filePath("Title01.mp4")), broken.isEmpty());
        QCOMPARE(transcoderRuns().size(), 1);
    }

    void existingOutput_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<int>("transcodes");
        QTest::addColumn<int>("questions");
        QTest::newRow("ask, no skips") << int(OverwriteChoice::Ask) << QList<bool>{false} << 1 << 1;
        QTest::newRow("ask, yes converts")
            << int(OverwriteChoice::Ask) << QList<bool>{true} << 2 << 1;
        QTest::newRow("overwrite") << int(OverwriteChoice::Overwrite) << QList<bool>{} << 2 << 0;
        QTest::newRow("rename") << int(OverwriteChoice::Rename) << QList<bool>{} << 2 << 0;
    }
    void existingOutput() {
        QFETCH(int, choice);
        QFETCH(QList<bool>, answers);
        QFETCH(int, transcodes);
        QFETCH(int, questions);
        play(ToolRole::Encode, writes(10));
        play(ToolRole::Transcode, writes(20));
        TestFiles::write(m_out->filePath("Title01.mp4"), "old");
        m_prompts.answers = answers;
        ConversionJob j = job({item("Title01"), item("Title02", 2)});
        j.overwrite = OverwriteChoice(choice);
        QCOMPARE(runToEnd(j), TConversionDriver::Outcome::Completed);
        QCOMPARE(transcoderRuns().size(), transcodes);
        QCOMPARE(m_prompts.questions.size(), questions);
        if (questions)
            QCOMPARE(m_prompts.questions[0].caption, QString("Output File Exists"));
        QCOMPARE(m_driver->skipped(),
                 transcodes == 1 ? QStringList{"Title01.mp4"} : QStringList{}); // named, not done
        const QByteArray old = TestFiles::read(m_out->filePath("Title01.mp4"));
        if (choice == int(OverwriteChoice::Rename)) {
            QCOMPARE(old, QByteArray("old"));
            QCOMPARE(QDir(m_out->path()).entryList({"Title01-*.mp4"}).size(), 1);
        } else {
            QCOMPARE(old.size(), transcodes == 2 ? 20 : 3);
        }
    }

    void missingEncoderEndsTheRun() {
        m_runner->missing[IToolRunner::Encoder] = true;
        QCOMPARE(runToEnd(job({item("Title01"), item("Title02")})),
                 TConversionDriver::Outcome::EncoderMissing);
        QCOMPARE(m_prompts.notices.last().text, QString("Error. Please re-install Kelvo Ripvale"));
        QVERIFY(transcoderRuns().isEmpty());
    }

    void missingTranscoderFailsItems() {
        play(ToolRole::Encode, writes(10));
        m_runner->missing[IToolRunner::Transcoder] = true;
        QCOMPARE(runToEnd(job({item("Title01")})), TConversionDriver::Outcome::Completed);
        QCOMPARE(m_prompts.notices.first().text, QString("Error"));
        QCOMPARE(m_driver->failures().size(), 1);
    }

    void vanishedWorkFolderFallsBackToProgramFolder() {
        play(ToolRole::Encode, writes(10));
        play(ToolRole::Transcode, writes(20));
        ConversionJob j = job({item("Title01")});
        j.workDir = m_work->path() + "/gone/";
        QCOMPARE(runToEnd(j), TConversionDriver::Outcome::Completed);
        QCOMPARE(encodePasses().value(0).last(), m_values.programDir + "temp.avi");
        QVERIFY(!QFile::exists(m_values.programDir + "temp.avi"));
    }

    void encoderStuckAtTheEndIsToldToFinish() {
        // Past its header, stuck at the end of the title on a position it cannot pass.
        ToolPlay stuck = hangs(QStringList(22, "header line\n"), 10);
        stuck.say << "Pos:   9.9s  300f (99%)\r";
        play(ToolRole::Encode, stuck);
        play(ToolRole::Transcode, writes(20));
        m_runner->interruptExitCode = 2; // it closes its file and says it was interrupted
        m_driver->setEncoderStallLimit(1500);
        QSignalSpy done(m_driver.get(), &TConversionDriver::finished);
        m_driver->run(job({item("Title01")}));
        QTRY_COMPARE(m_frames.last(), QString("124 / 250")); // 9.9 s of 10, the first half
        m_clock->advance(1000);
        QCOMPARE(m_runner->interrupted, 0);
        m_clock->advance(1000);
        QCOMPARE(m_runner->interrupted, 1);
        QVERIFY(done.wait(10000));
        QVERIFY2(m_driver->failures().isEmpty(), qPrintable(m_driver->failures().value(0).reason));
        QCOMPARE(transcoderRuns().size(), 1);
        QVERIFY(QFile::exists(m_out->filePath("Title01.mp4")));
    }

    // Neither a slow start, nor a position the last item reached, is taken for a stall.
    void stallGuardJudgesThisPassOnly_data() {
        QTest::addColumn<bool>("secondItem");
        QTest::newRow("slow start") << false;
        QTest::newRow("last item's end carried over") << true;
    }
    void stallGuardJudgesThisPassOnly() {
        QFETCH(bool, secondItem);
        // A position is read from the 21st chunk on.
        ToolPlay slow =
            hangs(secondItem ? QStringList() : QStringList(20, "header\n") << "Pos: 0.5s\r", 10);
        if (secondItem)
            m_runner->plays[ToolRole::Encode] = {talkingEncoder(10), slow};
        else
            play(ToolRole::Encode, slow);
        play(ToolRole::Transcode, writes(20));
        m_driver->setEncoderStallLimit(500);
        QSignalSpy done(m_driver.get(), &TConversionDriver::finished);
        m_driver->run(secondItem ? job({item("Title01"), item("Title02", 2, 5)})
                                 : job({item("Title01")}));
        QTRY_COMPARE(encodePasses().size(), secondItem ? 2 : 1);
        QTRY_VERIFY(m_runner->isRunning(IToolRunner::Encoder));
        m_clock->advance(3000);
        QCOMPARE(m_runner->interrupted, 0);
        m_runner->end(IToolRunner::Encoder);
        QVERIFY(done.wait(10000));
        QVERIFY(m_driver->failures().isEmpty());
    }

    void seekLandingDecidesTheCut_data() {
        QTest::addColumn<double>("rate");
        QTest::addColumn<QString>("decoder"); // what the probe's decoder says
        QTest::addColumn<QString>("seek");
        QTest::addColumn<bool>("film");
        QTest::addColumn<QString>("frames");
        QTest::addColumn<QString>("cut"); // on the intermediate's picture grid
        QTest::newRow("PAL") << 25.0 << ""
                             << "58.500" << false << "250 / 250"
                             << "0.520";
        // NTSC is sought in the encoder's nominal seconds; film is written at its own rate.
        QTest::newRow("NTSC video") << 29.97 << ""
                                    << "58.442" << false << "300 / 300"
                                    << "0.534";
        QTest::newRow("NTSC film")
            << 29.97
            << "demux_mpg: 24000/1001fps progressive NTSC content detected, switching framerate.\n"
            << "58.442" << true << "240 / 240"
            << "0.500";
    }
    void seekLandingDecidesTheCut() {
        QFETCH(double, rate);
        QFETCH(QString, decoder);
        // Sent 1.5 s early, the encoder reports landing 0.52 s before the start, with the
        // sound 0.3 s earlier still.
        play(ToolRole::Probe,
             ToolPlay{.say = {"DEMUX: Append packet to d_video, len=1  pts=0.133  pos=13\n"
                              "DEMUX: Append packet to d_video, len=1  pts=59.613  pos=9\n"
                              "DEMUX: Append packet to d_audio, len=1  pts=59.313  pos=10\n" +
                              decoder}});
        play(ToolRole::Encode, writes(10));
        play(ToolRole::Transcode, writes(20));
        ConversionItem i = item("Title01");
        i.frameRate = rate;
        i.encode.startText = "00:01:00";
        i.encode.endText = "00:01:10";
        QCOMPARE(runToEnd(job({i})), TConversionDriver::Outcome::Completed);
        QCOMPARE(encodePasses().size(), 1);
        const QStringList encode = encodePasses()[0];
        QTEST(encode.value(encode.indexOf("-ss") + 1), "seek");
        // The sound dropped at the start (its lead and the MP3 coder's delay) is encoded on.
        QCOMPARE(encode.mid(encode.indexOf("-endpos"), 2), (QStringList{"-endpos", "10.843"}));
        QTEST(encode.contains("-ofps") && encode.contains("24000/1001"), "film");
        const QStringList transcode = transcoderRuns().value(0);
        QTEST(transcode.value(transcode.indexOf("-ss") + 1), "cut");
        QVERIFY(transcode.contains("atrim=start=0.3230,asetpts=PTS-STARTPTS"));
        QTEST(m_driver->progress().framesText, "frames");
    }

    // An item is probed at a quarter, half and three quarters in as well: film found in some
    // parts only is written at the film's rate, the video's surplus pictures dropped. A few
    // seconds are probed at their start only.
    void filmInPartsOfAnItem_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QList<bool>>("film"); // each probe's verdict, the start's first
        QTest::addColumn<bool>("atFilmRate");
        QTest::addColumn<bool>("everyFrame"); // -noskip
        QTest::newRow("video throughout")
            << 120 << QList<bool>{false, false, false, false} << false << true;
        QTest::newRow("film throughout")
            << 120 << QList<bool>{true, true, true, true} << true << true;
        QTest::newRow("film after video")
            << 120 << QList<bool>{false, false, true, true} << true << false;
        QTest::newRow("video after film")
            << 120 << QList<bool>{true, true, false, false} << true << false;
        QTest::newRow("film after video, 20 s")
            << 20 << QList<bool>{false, false, false, true} << true << false;
        QTest::newRow("film, 5 s") << 5 << QList<bool>{true} << true << true;
    }
    void filmInPartsOfAnItem() {
        QFETCH(int, seconds);
        QFETCH(QList<bool>, film);
        const QString opened = "DEMUX: Append packet to d_video, len=1  pts=0.133  pos=13\n";
        for (const bool f : film)
            m_runner->plays[ToolRole::Probe] << ToolPlay{
                .say = {opened + (f ? "demux_mpg: 24000/1001fps progressive NTSC content "
                                      "detected, switching framerate.\n"
                                    : "")}};
        play(ToolRole::Encode, writes(10));
        play(ToolRole::Transcode, writes(20));
        ConversionItem i = item("Title01");
        i.frameRate = 29.97;
        i.encode.endText = SecondsToTimeText(seconds);
        i.durationSeconds = seconds;
        QCOMPARE(runToEnd(job({i})), TConversionDriver::Outcome::Completed);
        QCOMPARE(m_runner->runsAs(ToolRole::Probe).size(), film.size());
        const QStringList encode = encodePasses().value(0);
        QTEST(encode.contains("24000/1001"), "atFilmRate");
        QTEST(encode.contains("-noskip"), "everyFrame");
    }

    void twoRunsNeverShareTheIntermediate() {
        TIntermediateFiles first, second;
        first.settle(m_work->path());
        second.settle(m_work->path());
        QCOMPARE(first.videoPath(), temp());
        QVERIFY(second.videoPath() != first.videoPath());
        TestFiles::write(second.videoPath(), "x");
        first.release();
        QVERIFY(QFile::exists(second.videoPath())); // the other run's file is not touched
        TIntermediateFiles third;
        third.settle(m_work->path());
        QCOMPARE(third.videoPath(), temp()); // free again
    }

    void outputsAreReadBack_data() {
        QTest::addColumn<QString>("sources"); // ffmpeg inputs for the fake transcoder's output
        QTest::addColumn<QString>("options"); // the profile's transcoder options
        QTest::addColumn<double>("span");
        QTest::addColumn<QString>("problem"); // empty: complete
        QTest::addColumn<QString>("type");
        const QString video = "-f lavfi -i testsrc=size=160x120:rate=10:duration=%1";
        const QString audio = "-f lavfi -i sine=duration=%1";
        QTest::newRow("full length") << video.arg(10) + " " + audio.arg(10) << "" << 10.0 << ""
                                     << ".mkv";
        QTest::newRow("short audio") << video.arg(10) + " " + audio.arg(0.2) << "" << 10.0
                                     << "incomplete: audio lasts 0.2 s of 10.0 s"
                                     << ".mkv";
        QTest::newRow("no video") << audio.arg(10) << "" << 10.0 << "incomplete: no video stream"
                                  << ".mkv";
        QTest::newRow("audio disabled") << video.arg(10) << "-an" << 10.0 << ""
                                        << ".mkv";
        QTest::newRow("within one second")
            << video.arg(9.1) + " " + audio.arg(9.1) << "" << 10.0 << ""
            << ".mkv";
        QTest::newRow("past one second") << video.arg(8.8) + " " + audio.arg(10) << "" << 10.0
                                         << "incomplete: video lasts 8.8 s of 10.0 s"
                                         << ".mkv";
        QTest::newRow("two per cent of a long span")
            << video.arg(98.2) + " " + audio.arg(98.2) << "" << 100.0 << ""
            << ".mkv";
        // Each within the span's margin, but the picture ends well before its sound.
        QTest::newRow("picture off its sound")
            << video.arg(98.2) + " " + audio.arg(100) << "" << 100.0
            << "incomplete: the picture lasts 98.2 s, its sound 100.0 s"
            << ".mkv";
        QTest::newRow("past two per cent") << video.arg(97.5) + " " + audio.arg(100) << "" << 100.0
                                           << "incomplete: video lasts 97.5 s of 100.0 s"
                                           << ".mkv";
        QTest::newRow("audio-only type") << audio.arg(10) << "" << 10.0 << ""
                                         << ".mp3";
    }
    void outputsAreReadBack() {
        QFETCH(QString, sources);
        QFETCH(QString, options);
        QFETCH(double, span);
        QFETCH(QString, problem);
        QFETCH(QString, type);
        const QString made = m_work->path() + "/made.mkv";
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", QStringList{"-v", "error", "-y"} + sources.split(' ') +
                                   QStringList{"-c:v", "mpeg4", "-c:a", "mp2", made});
        QVERIFY(ffmpeg.waitForFinished(60000));
        QCOMPARE(ffmpeg.exitCode(), 0);
        play(ToolRole::Encode, writes(10));
        ToolPlay copy;
        copy.copies = made;
        play(ToolRole::Transcode, copy);
        m_driver->setOutputCheck(true);
        ConversionJob j = job({item("Title01", 1, span)});
        j.outputExtension = type;
        j.transcoderOptions = ToolCommand();
        if (!options.isEmpty())
            j.transcoderOptions.add(options);
        QCOMPARE(runToEnd(j), TConversionDriver::Outcome::Completed);
        QCOMPARE(m_driver->failures().value(0).reason, problem);
        QVERIFY(QFile::exists(m_out->filePath("Title01" + type))); // kept either way
    }

    void timerShowsElapsedAndRemaining() {
        ToolPlay encoder = talkingEncoder(10);
        encoder.hang = true;
        play(ToolRole::Encode, encoder);
        play(ToolRole::Transcode, writes(20));
        QSignalSpy done(m_driver.get(), &TConversionDriver::finished);
        m_driver->run(job({item("Title01")}));
        QCOMPARE(m_driver->progress().elapsedText, QString());
        QTRY_COMPARE(m_driver->progress().current, 50);
        m_clock->advance(2000);
        QCOMPARE(m_driver->progress().elapsedText, QString("00:00:02"));
        QCOMPARE(m_driver->progress().remainingText, QString("00:00:02")); // half done in 2 s
        m_runner->end(IToolRunner::Encoder);
        QVERIFY(done.wait(10000));
    }
};

QTEST_GUILESS_MAIN(TestDriver)
#include "tst_driver.moc"
