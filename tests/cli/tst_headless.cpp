#include "dvd/discloader.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"
#include "headlessprogram.h"
#include "support/mediaprobe.h"
#include "support/privatexserver.h"
#include "support/testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// Runs the real program, from a program folder of its own so its tools and temp.avi can be told
// apart from any other run's.
class TestHeadless : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void listMatchesTaskList();
    void listMatchesLsdvd();
    void convertItems_data();
    void convertItems();
    void overwriteChoices_data();
    void overwriteChoices();
    void listOpensWhatTheWindowOpens_data();
    void listOpensWhatTheWindowOpens();
    void signalsEndTheRunCleanly_data();
    void signalsEndTheRunCleanly();

private:
    using Run = HeadlessProgram::Run;
    Run run(const QStringList& args) const { return m_program.run(args); }
    QStringList toolProcesses(const QString& marker = QString()) const {
        return m_program.toolProcesses(marker);
    }
    bool startWindowConversion(QProcess& p, const TPrivateXServer& server,
                               const QString& profile) const;

    HeadlessProgram m_program;
    QString m_disc;
    QString m_dir; // the program folder, ending in "/"
    QString m_out;
};

void TestHeadless::listMatchesTaskList() {
    const Run r = run({"--list", m_disc});
    QCOMPARE(r.status, 0);
    // The same loading and the same cells as the window's task list.
    LibDvdReadStructure reader;
    TDVDInformation info;
    TTaskTree tree([] { return QString(); }, [] { return QString(".mp4"); });
    ApplyLoadedDisc(LoadDisc(m_disc, reader), tree, info);
    QStringList expected;
    for (const QModelIndex& index : tree.allNodes()) {
        QStringList cells{QString::number(tree.node(index)->Number)};
        for (int c = TTaskTree::TitleColumn; c <= TTaskTree::OutputColumn; ++c)
            cells << tree.cellText(index.siblingAtColumn(c));
        expected << cells.join('\t');
    }
    QStringList got;
    for (const QString& line : r.out.split('\n'))
        if (line.contains('\t'))
            got << line.trimmed();
    QCOMPARE(got, expected);
    QVERIFY(r.out.contains("  audio: English AC3 2ch (en), Deutsch AC3 6ch (de)\n"));
    QVERIFY(r.out.contains("  subtitles: English\n  angles: 1\n"));
}

void TestHeadless::listMatchesLsdvd() {
    QProcess lsdvd;
    lsdvd.start("lsdvd", {"-x", m_disc});
    QVERIFY(lsdvd.waitForFinished(30000));
    const QString report = QString::fromUtf8(lsdvd.readAllStandardOutput());
    const Run r = run({"--list", "--json", m_disc});
    QCOMPARE(r.status, 0);
    const QJsonArray titles = QJsonDocument::fromJson(r.out.toUtf8())["titles"].toArray();

    static const QRegularExpression titleLine(
        "Title: (\\d+), Length: (\\d\\d:\\d\\d:\\d\\d)\\.\\d+ Chapters: (\\d+)");
    static const QRegularExpression audioLine("Audio: \\d+, Language: (\\w+) ");
    const QStringList blocks = report.split(QRegularExpression("\n(?=Title: )"));
    int compared = 0;
    for (const QString& block : blocks) {
        const QRegularExpressionMatch m = titleLine.match(block);
        if (!m.hasMatch())
            continue;
        const QJsonObject t = titles[m.captured(1).toInt() - 1].toObject();
        QCOMPARE(t["number"].toInt(), m.captured(1).toInt());
        QCOMPARE(t["end"].toString(), m.captured(2));
        QCOMPARE(t["chapters"].toArray().size(), m.captured(3).toInt());
        QStringList languages;
        for (auto it = audioLine.globalMatch(block); it.hasNext();)
            languages << it.next().captured(1);
        QStringList listed;
        for (const QJsonValue v : t["audioLanguages"].toArray())
            listed << v.toString();
        QCOMPARE(listed, languages);
        ++compared;
    }
    QCOMPARE(compared, titles.size());
    QCOMPARE(compared, 4);
}

void TestHeadless::initTestCase() {
    const QString made = m_program.make();
    QVERIFY2(made.isEmpty(), qPrintable(made));
    m_disc = m_program.disc;
    m_dir = m_program.dir;
}

void TestHeadless::init() {
    m_out = m_program.freshOutput();
}

void TestHeadless::listOpensWhatTheWindowOpens_data() {
    QTest::addColumn<QString>("entry"); // what is named, from a copy of the sample disc
    QTest::addColumn<QString>("line");  // a line the listing must hold whole
    const QString first = "1\tTitle01 [MPEG2 720x480 NTSC 16:9]\t00:00:00\t00:00:25\t";
    QTest::newRow("folder") << "copy" << first + "Title01.mp4";
    QTest::newRow("file inside the disc") << "copy/VIDEO_TS/VTS_01_1.VOB" << first + "Title01.mp4";
    QTest::newRow("list file") << "list.TMP" << first + "Title01.mp4";
    QTest::newRow("disc image") << "image" << first + "RIPSAMPLE-Title01.mp4";
    // Unset codes name no language: "und", as ISO 639-2 has it.
    QTest::newRow("language code of zero bytes")
        << "copy" << QString("  audio: English AC3 2ch (en), ??? AC3 6ch (und)");
    QTest::newRow("language code of 0xFF bytes")
        << "copy" << QString("  audio: English AC3 2ch (en), ??? AC3 6ch (und)");
}

void TestHeadless::listOpensWhatTheWindowOpens() {
    QFETCH(QString, entry);
    QTemporaryDir dir;
    const QString copy = dir.filePath("copy/VIDEO_TS/");
    QDir().mkpath(copy);
    for (const QString& name : QDir(m_disc + "/VIDEO_TS").entryList(QDir::Files))
        QVERIFY(QFile::copy(m_disc + "/VIDEO_TS/" + name, copy + name));
    if (const QString tag = QTest::currentDataTag(); tag.startsWith("language code")) {
        // The second audio track's language, in the file and its backup.
        for (const char* name : {"VTS_01_0.IFO", "VTS_01_0.BUP"}) {
            QFile ifo(copy + name);
            QVERIFY(ifo.open(QIODevice::ReadWrite) && ifo.seek(0x204 + 8 + 2));
            ifo.write(QByteArray(2, tag.contains("0xFF") ? '\xFF' : '\0'));
        }
    }
    TestFiles::write(dir.filePath("list.TMP"), ("/no/such/disc\n" + dir.filePath("copy")).toUtf8());
    const QString named =
        entry == "image" ? qEnvironmentVariable("RIPVALE_SAMPLE_ISO") : dir.filePath(entry);
    const Run r = run({"--list", named});
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QFETCH(QString, line);
    QVERIFY2(r.out.split('\n').contains(line), qPrintable(r.out));
    QVERIFY(r.out.endsWith("Title04-Chapter04.mp4\n")); // nothing after odd bytes is lost
}

void TestHeadless::convertItems_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("outputs");
    QTest::addColumn<double>("seconds"); // of each output
    QTest::addColumn<double>("pitch");   // of the first output's audio; 0 not checked
    QTest::newRow("longest title by default")
        << QStringList{"--end", "00:00:02"} << QStringList{"Title01.mp4"} << 2.0 << 440.0;
    QTest::newRow("chapters of title 2")
        << QStringList{"--chapters", "2:1,3", "--end", "00:00:02"}
        << QStringList{"Title02-Chapter01.mp4", "Title02-Chapter03.mp4"} << 2.0 << 0.0;
    QTest::newRow("audio language and volume")
        << QStringList{"--audio", "de", "--end", "00:00:03", "--volume", "Vol"}
        << QStringList{"Vol-Title01.mp4"} << 3.0 << 660.0;
    QTest::newRow("audio by number, mkv profile")
        << QStringList{"--audio", "2", "--profile", "2 MKV H.264 AAC", "--end", "00:00:02"}
        << QStringList{"Title01.mkv"} << 2.0 << 660.0;
    // The image's label names the outputs, as a drive's does.
    QTest::newRow("disc image") << QStringList{"--image", "--titles", "3", "--end", "00:00:02"}
                                << QStringList{"RIPSAMPLE-Title03.mp4"} << 2.0 << 0.0;
}

void TestHeadless::convertItems() {
    QFETCH(QStringList, options);
    QFETCH(QStringList, outputs);
    QFETCH(double, seconds);
    QFETCH(double, pitch);
    if (!options.contains("--profile"))
        options << "--profile"
                << "1 MP4 H.264 AAC (recommended)";
    const bool image = options.removeAll("--image") > 0;
    const QString disc = image ? qEnvironmentVariable("RIPVALE_SAMPLE_ISO") : m_disc;
    const Run r = run(QStringList{"--convert", disc, "--output", m_out} + options);
    QVERIFY2(r.status == 0, qPrintable(r.err));
    QCOMPARE(QDir(m_out).entryList(QDir::Files), outputs);
    for (const QString& name : outputs) {
        QVERIFY2(r.err.contains("wrote " + m_out + "/" + name), qPrintable(r.err));
        const ProbedMedia media = ProbeMedia(m_out + "/" + name);
        QVERIFY(media.ok);
        QVERIFY2(qAbs(media.duration - seconds) < 0.5, qPrintable(QString::number(media.duration)));
    }
    if (pitch > 0) {
        const double measured = EstimatePitch(m_out + "/" + outputs.first(), 0.2, 0.6);
        QVERIFY2(qAbs(measured - pitch) < 60, qPrintable(QString::number(measured)));
    }
    // Plain progress lines when the output is no terminal.
    QVERIFY(r.out.contains(QRegularExpression("item 100% total 100% frames \\d+ / \\d+ elapsed")));
    QVERIFY(!r.out.contains('\r'));
    QVERIFY(!QFile::exists(m_dir + "temp.avi"));
}

void TestHeadless::overwriteChoices_data() {
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("replaced");
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("status"); // a skipped item is no success
    QTest::newRow("yes") << "yes" << true << 1 << 0;
    QTest::newRow("ask without a terminal skips") << "ask" << false << 1 << 3;
    QTest::newRow("rename") << "rename" << false << 2 << 0;
}

void TestHeadless::overwriteChoices() {
    QFETCH(QString, choice);
    QFETCH(bool, replaced);
    QFETCH(int, files);
    QFETCH(int, status);
    QFile existing(m_out + "/Title01.mp4");
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();
    const Run r = run({"--convert", m_disc, "--output", m_out, "--end", "00:00:01", "--profile",
                       "1 MP4 H.264 AAC (recommended)", "--overwrite", choice});
    QVERIFY2(r.status == status, qPrintable(r.err));
    QCOMPARE(QFileInfo(m_out + "/Title01.mp4").size() > 3, replaced);
    const QStringList names = QDir(m_out).entryList(QDir::Files);
    QCOMPARE(names.size(), files);
    if (choice == "ask")
        QVERIFY(r.err.contains("is already existent") &&
                r.err.contains("Title01.mp4: skipped, the existing file was kept"));
    if (choice == "rename") {
        QVERIFY(names.contains("Title01.mp4"));
        QVERIFY(ProbeMedia(m_out + "/" + names.value(names.indexOf("Title01.mp4") ^ 1)).ok);
    }
}

void TestHeadless::signalsEndTheRunCleanly_data() {
    QTest::addColumn<int>("signal"); // 0: the reader of the output goes away
    QTest::addColumn<QString>("pass");
    QTest::addColumn<QString>("wrapper"); // how the tools are reached: "child" of a script, "exec"
    QTest::addColumn<bool>("window");     // the window, started with Start; else --convert
    QTest::newRow("Ctrl+C, encode pass") << int(SIGINT) << "encode"
                                         << "child" << false;
    QTest::newRow("kill, transcode pass") << int(SIGTERM) << "transcode"
                                          << "child" << false;
    QTest::newRow("closed terminal, encode pass") << int(SIGHUP) << "encode"
                                                  << "child" << false;
    QTest::newRow("closed terminal, transcode pass") << int(SIGHUP) << "transcode"
                                                     << "child" << false;
    QTest::newRow("closed pipe, encode pass") << 0 << "encode"
                                              << "child" << false;
    QTest::newRow("killed outright, transcode pass") << int(SIGKILL) << "transcode"
                                                     << "exec" << false;
    QTest::newRow("window killed, transcode pass") << int(SIGTERM) << "transcode"
                                                   << "child" << true;
    QTest::newRow("window's session ends, encode pass") << int(SIGHUP) << "encode"
                                                        << "child" << true;
}

// Starts the window on the sample disc on a private X server and presses Start, as a user
// would, with the given profile and output folder kept from an earlier session.
bool TestHeadless::startWindowConversion(QProcess& p, const TPrivateXServer& server,
                                         const QString& profile) const {
    const QStringList profiles =
        QDir(m_dir + "Profiles").entryList({"*.apf"}, QDir::Files, QDir::Name);
    TestFiles::write(m_dir + "Preferences.ini",
                     QString("[Main]\nProfile=%1\nOutput Path=%2\nFirstUse=0\nAsk=0\n")
                         .arg(profiles.indexOf(profile + ".apf"))
                         .arg(m_out)
                         .toUtf8());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", server.display());
    env.insert("QT_QPA_PLATFORM", "xcb");
    p.setProcessEnvironment(env);
    p.start(m_dir + "ripvale", {m_disc});
    QProcess xdotool;
    xdotool.setProcessEnvironment(env);
    xdotool.start("xdotool",
                  {"search", "--sync", "--onlyvisible", "--pid", QString::number(p.processId()),
                   "--name", "Kelvo Ripvale",
                   // the disc is read after the window shows
                   "sleep", "2", "mousemove", "--window", "%1", "694", "493", "click", "1"});
    return p.waitForStarted() && xdotool.waitForFinished(20000) && xdotool.exitCode() == 0;
}

void TestHeadless::signalsEndTheRunCleanly() {
    QFETCH(int, signal);
    QFETCH(QString, pass);
    QFETCH(QString, wrapper);
    QFETCH(bool, window);
    // The tools behind scripts, as packagers ship them.
    const QString built = qEnvironmentVariable("RIPVALE_PROGRAM_DIR") + '/';
    for (const char* tool : {"asapi.dll", "wmaspi.dll"}) {
        const QString real = QFileInfo(built + tool).canonicalFilePath();
        QFile::remove(m_dir + tool);
        QFile script(m_dir + tool);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            ("#!/bin/sh\n" + QString(wrapper == "exec" ? "exec " : "") + real + " \"$@\"\n")
                .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    const auto restore = qScopeGuard([&] {
        for (const char* tool : {"asapi.dll", "wmaspi.dll"}) {
            QFile::remove(m_dir + tool);
            QFile::link(QFileInfo(built + tool).canonicalFilePath(), m_dir + QString(tool));
        }
        QFile::remove(m_dir + "temp.avi");
        QFile::remove(m_dir + "Preferences.ini");
    });
    const QString profile = "4 WebM VP9 Opus";
    const QStringList args = {"--convert", m_disc,     "--output",  m_out,
                              "--end",     "00:00:20", "--profile", profile};
    QProcess p;
    const TPrivateXServer server(window);
    if (window) {
        if (server.display().isEmpty())
            QSKIP("Xvfb could not be started.");
        QVERIFY(startWindowConversion(p, server, profile));
    } else if (signal) { // the progress goes to a reader that stops reading, then goes, after 3 s
        p.start(m_dir + "ripvale", args);
    } else {
        p.start("/bin/sh",
                QStringList{"-c", "\"$0\" \"$@\" | { sleep 3; }", m_dir + "ripvale"} + args);
    }
    QVERIFY(p.waitForStarted());
    const QString marker = pass == "encode" ? "-ovc lavc" : "-i " + m_dir + "temp.avi";
    QTRY_VERIFY_WITH_TIMEOUT(!toolProcesses(marker).isEmpty(), 60000);
    if (signal)
        ::kill(pid_t(p.processId()), signal);
    QVERIFY(p.waitForFinished(20000));
    if (signal == SIGKILL) {
        QCOMPARE(p.exitStatus(), QProcess::CrashExit);
    } else if (window) {
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 128 + signal);
        QVERIFY(!QFile::exists(m_dir + "temp.avi"));
    } else {
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY(p.exitCode() != 0 || !signal); // a pipeline's status is its last command's
        QVERIFY(
            QString::fromUtf8(p.readAllStandardError()).contains("The conversion is canceled."));
        QVERIFY(!QFile::exists(m_dir + "temp.avi"));
    }
    QTRY_VERIFY2_WITH_TIMEOUT(toolProcesses().isEmpty(), qPrintable(toolProcesses().join(' ')),
                              3000);
}

QTEST_GUILESS_MAIN(TestHeadless)
#include "tst_headless.moc"
