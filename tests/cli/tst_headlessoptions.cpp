// The command line's options and what it says, by the real program: bad values, the JSON
// events of a run, the modes that need no display.
#include "headlessprogram.h"
#include "support/mediaprobe.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestHeadlessOptions : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        const QString made = m_program.make();
        QVERIFY2(made.isEmpty(), qPrintable(made));
        m_disc = m_program.disc;
        m_dir = m_program.dir;
    }
    void init() { m_out = m_program.freshOutput(); }
    void listJson();
    void unreadableDisc_data();
    void unreadableDisc();
    void badProfiles_data();
    void badProfiles();
    void badValuesForTheDisc_data();
    void badValuesForTheDisc();
    void jsonEventsOfARun();
    void needsNoDisplay_data();
    void needsNoDisplay();

private:
    using Run = HeadlessProgram::Run;
    Run run(const QStringList& args) const { return m_program.run(args); }

    HeadlessProgram m_program;
    QString m_disc;
    QString m_dir;
    QString m_out;
};

void TestHeadlessOptions::listJson() {
    const Run r = run({"--list", m_disc, "--json"});
    QCOMPARE(r.status, 0);
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out.toUtf8(), &error);
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonObject first = doc["titles"][0].toObject();
    QCOMPARE(first["subtitles"].toArray().size(), 1);
    QCOMPARE(first["angles"].toInt(), 1);
    QCOMPARE(first["chapters"][2]["output"].toString(), QString("Title01-Chapter03.mp4"));
    // Times as numbers beside their texts, the volume, the tracks' stream ids.
    const QJsonObject third = first["chapters"][2].toObject();
    // Real seconds where the chapter's cells begin: 360 NTSC frames of 1001/30000 s.
    QCOMPARE(third["start_s"].toDouble(), 12.012);
    QCOMPARE(third["duration_s"].toDouble(), third["end_s"].toDouble() - 12.012);
    QVERIFY(doc.object().contains("volume"));
    QCOMPARE(first["audio_stream_ids"].toArray(), QJsonArray({128, 129}));
}

// Each says what is wrong, on standard error and, with --json, as an event on standard output.
void TestHeadlessOptions::unreadableDisc_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty folder") << "empty"
                                  << "holds no DVD: neither VIDEO_TS.IFO nor its backup";
    QTest::newRow("title sets without the disc's file")
        << "sets only"
        << "VIDEO_TS.IFO and its backup VIDEO_TS.BUP are missing";
    QTest::newRow("a path through a file") << "through file"
                                           << "cannot open %1/file/disc: Not a directory";
    QTest::newRow("image without UDF") << "plain iso"
                                       << "it holds no UDF file system";
}

void TestHeadlessOptions::unreadableDisc() {
    QFETCH(QString, form);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString disc = dir.path();
    if (form == "sets only") {
        QDir().mkpath(dir.filePath("VIDEO_TS"));
        QVERIFY(
            QFile::copy(m_disc + "/VIDEO_TS/VTS_01_0.IFO", dir.filePath("VIDEO_TS/VTS_01_0.IFO")));
    } else if (form == "through file") {
        TestFiles::write(dir.filePath("file"), "x");
        disc = dir.filePath("file/disc");
    } else if (form == "plain iso") {
        disc = dir.filePath("plain.iso");
        QProcess make; // ISO 9660 alone, as a data disc is made
        make.start("genisoimage", {"-quiet", "-o", disc, m_disc});
        QVERIFY(make.waitForFinished(60000) && make.exitCode() == 0);
    }
    message = message.arg(dir.path());
    Run r = run({"--list", disc});
    QVERIFY(r.status != 0);
    QVERIFY2(r.err.startsWith("ripvale: ") && r.err.contains(message), qPrintable(r.err));
    QVERIFY(r.out.isEmpty());
    r = run({"--list", disc, "--json"});
    const QJsonObject event = QJsonDocument::fromJson(r.out.toUtf8()).object();
    QCOMPARE(event["event"].toString(), QString("error"));
    QVERIFY2(event["message"].toString().contains(message), qPrintable(r.out));
}

void TestHeadlessOptions::badProfiles_data() {
    QTest::addColumn<QString>("profile");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("no such profile") << "Nope" << 2 << "unknown profile \"Nope\"";
    QTest::newRow("codec ffmpeg rejects") << "9 Broken" << 1 << "Title01.mp4: the transcoder";
}

void TestHeadlessOptions::badProfiles() {
    QFETCH(QString, profile);
    QFETCH(int, status);
    QFETCH(QString, message);
    const Run r =
        run({"--convert", m_disc, "--output", m_out, "--end", "00:00:01", "--profile", profile});
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(!QFile::exists(m_dir + "temp.avi"));
}

void TestHeadlessOptions::badValuesForTheDisc_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("message");
    QTest::newRow("title 5") << QStringList{"--titles", "5"} << "no title 5";
    QTest::newRow("chapter 9") << QStringList{"--chapters", "1:9"} << "no chapter 9";
    QTest::newRow("audio fr on title 1") << QStringList{"--audio", "fr"} << "no audio track fr";
    QTest::newRow("subtitle 2") << QStringList{"--subtitle", "2"} << "no subtitle 2";
    QTest::newRow("start past the end") << QStringList{"--start", "00:01:00"} << "beyond the end";
    QTest::newRow("output parent missing")
        << QStringList{"--output", "/nonexistent/a/b"} << "does not exist";
    QTest::newRow("unknown option") << QStringList{"--frob"} << "unknown option --frob";
    QTest::newRow("set a row the profile lacks")
        << QStringList{"--set", "Frobs=1"} << "the profile has no row \"Frobs\"";
    QTest::newRow("set a caption the row lacks")
        << QStringList{"--set", "Video Size=1x1"} << "the choices are: 720x480";
    QTest::newRow("work folder missing")
        << QStringList{"--work-dir", "/nonexistent/w"} << "work folder";
}

void TestHeadlessOptions::badValuesForTheDisc() {
    QFETCH(QStringList, options);
    QFETCH(QString, message);
    QStringList args{"--convert", m_disc, "--profile", "1 MP4 H.264 AAC (recommended)"};
    if (!options.contains("--output"))
        args << "--output" << m_out;
    const Run r = run(args + options);
    QCOMPARE(r.status, 2);
    QVERIFY2(r.err.contains(message), qPrintable(r.err));
    QVERIFY(QDir(m_out).isEmpty());
}

// One JSON object a line, typed, figures as numbers: progress steps, an item's end, and the
// run's end last; --set, a fractional --end and the profile's number take effect.
void TestHeadlessOptions::jsonEventsOfARun() {
    const QString work = m_out + "/work";
    QVERIFY(QDir().mkpath(work));
    const Run r =
        run({"--convert", m_disc, "--output", m_out, "--titles", "2", "--end", "1.5", "--profile",
             "1", "--set", "Video Size=640x360", "--work-dir", work, "--json"});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QStringList events;
    for (const QString& line : r.out.split('\n', Qt::SkipEmptyParts)) {
        const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
        QVERIFY2(!o.isEmpty(), qPrintable(line));
        const QString event = o["event"].toString();
        if (events.isEmpty() || events.last() != event)
            events << event;
        if (event == "progress")
            for (const char* key :
                 {"percent", "total_percent", "frames", "frames_total", "elapsed_s"})
                QVERIFY2(o[key].isDouble(), key);
        if (event == "item") {
            QCOMPARE(o["result"].toString(), QString("converted"));
            QCOMPARE(o["file"].toString(), m_out + "/Title02.mp4");
        }
        if (event == "done")
            QCOMPARE(o, QJsonObject(
                            {{"event", "done"}, {"converted", 1}, {"failed", 0}, {"skipped", 0}}));
    }
    // The run's last step (total 100 %, nothing remaining) may follow the last item, unless
    // the item's own last step said the same.
    if (events.size() == 4 && events[2] == "progress")
        events.removeAt(2);
    QCOMPARE(events, (QStringList{"progress", "item", "done"}));
    const ProbedMedia media = ProbeMedia(m_out + "/Title02.mp4");
    QVERIFY(media.ok);
    QVERIFY2(qAbs(media.duration - 1.5) < 0.2, qPrintable(QString::number(media.duration)));
    const ProbedStream* video = media.first("video");
    QVERIFY(video);
    QCOMPARE(QSize(video->width, video->height), QSize(640, 360));
    QVERIFY(QDir(work).entryList(QDir::Files).isEmpty()); // the intermediate file went there
}

void TestHeadlessOptions::needsNoDisplay_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("out"); // a line it prints
    QTest::newRow("-h") << QStringList{"-h"} << "       ripvale --profiles";
    QTest::newRow("--version") << QStringList{"--version"} << "Kelvo Ripvale 2.0";
    QTest::newRow("--profiles") << QStringList{"--profiles"} << "2\t2 MKV H.264 AAC";
}

void TestHeadlessOptions::needsNoDisplay() {
    QFETCH(QStringList, args);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.start(m_dir + "ripvale", args);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 0);
    QFETCH(QString, out);
    const QString printed = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(printed.split('\n').contains(out), qPrintable(printed));
}

QTEST_GUILESS_MAIN(TestHeadlessOptions)
#include "tst_headlessoptions.moc"
