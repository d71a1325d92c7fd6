#include "cli/clioptions.h"

#include <QTest>

class TestCliOptions : public QObject {
    Q_OBJECT
private slots:
    void goodArguments_data();
    void goodArguments();
    void badArguments_data();
    void badArguments();
    void numberLists_data();
    void numberLists();
    void times_data();
    void times();
    void profileNames_data();
    void profileNames();
};

void TestCliOptions::goodArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("summary");
    const int list = int(CliOptions::Mode::List), convert = int(CliOptions::Mode::Convert);
    QTest::newRow("list") << QStringList{"--list", "/d"} << list << "/d json=0";
    QTest::newRow("list json") << QStringList{"/d", "--list", "--json"} << list << "/d json=1";
    QTest::newRow("convert plain") << QStringList{"--convert", "/d"} << convert << "/d json=0";
    QTest::newRow("every value") << QStringList{"--convert", "/d",          "--profile",
                                                "P",         "--output=/o", "--titles",
                                                "1,3-4",     "--chapters",  "2:1-2",
                                                "--audio",   "de",          "--subtitle",
                                                "none",      "--start",     "0:00:02",
                                                "--end",     "00:01:00",    "--volume",
                                                "V",         "--overwrite", "rename"}
                                 << convert << "/d json=0 P /o t=1,3,4 c2=1,2 de none 2-60 V ow=2";
    QTest::newRow("help wins") << QStringList{"--help", "/d"} << int(CliOptions::Mode::Help)
                               << " json=0";
    QTest::newRow("version") << QStringList{"--version"} << int(CliOptions::Mode::Version)
                             << " json=0";
    QTest::newRow("-h is help") << QStringList{"-h"} << int(CliOptions::Mode::Help) << " json=0";
    QTest::newRow("profiles") << QStringList{"--profiles", "--json"}
                              << int(CliOptions::Mode::Profiles) << " json=1";
    QTest::newRow("sets and work folder")
        << QStringList{"--convert", "/d",           "--set",      "Video Size=640x360",
                       "--set",     " Note = a=b ", "--work-dir", "/w"}
        << convert << "/d json=0 w=/w Video Size=640x360;Note=a=b";
    QTest::newRow("high intermediate")
        << QStringList{"--convert", "/d", "--intermediate", "high"} << convert << "/d json=0 i=1";
}

void TestCliOptions::goodArguments() {
    QFETCH(QStringList, args);
    QFETCH(int, mode);
    QFETCH(QString, summary);
    const CliParse r = ParseCliOptions(args);
    QVERIFY2(r.error.isEmpty(), qPrintable(r.error));
    const CliOptions& o = r.options;
    QCOMPARE(int(o.mode), mode);
    QStringList parts{o.disc, QString("json=%1").arg(o.json)};
    if (!o.profile.isEmpty())
        parts << o.profile << o.outputDir;
    if (!o.titles.isEmpty()) {
        QStringList t;
        for (int n : o.titles)
            t << QString::number(n);
        parts << "t=" + t.join(',');
    }
    for (auto it = o.chapters.cbegin(); it != o.chapters.cend(); ++it) {
        QStringList c;
        for (int n : it.value())
            c << QString::number(n);
        parts << QString("c%1=").arg(it.key()) + c.join(',');
    }
    if (!o.audio.isEmpty())
        parts << o.audio << o.subtitle;
    if (o.start)
        parts << QString("%1-%2").arg(*o.start).arg(o.end.value_or(-1));
    if (o.volume)
        parts << *o.volume << QString("ow=%1").arg(int(*o.overwrite));
    if (o.intermediate)
        parts << QString("i=%1").arg(*o.intermediate);
    if (!o.workDir.isEmpty())
        parts << "w=" + o.workDir;
    QStringList sets;
    for (const auto& [row, value] : o.sets)
        sets << row + "=" + value;
    if (!sets.isEmpty())
        parts << sets.join(';');
    QCOMPARE(parts.join(' '), summary);
}

void TestCliOptions::badArguments_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown") << QStringList{"--convert", "/d", "--frobnicate"} << "unknown option";
    QTest::newRow("no mode") << QStringList{"--json", "/d"} << "one of --list or --convert";
    QTest::newRow("both modes") << QStringList{"--list", "--convert", "/d"} << "cannot be used";
    QTest::newRow("no disc") << QStringList{"--list"} << "disc folder is needed";
    QTest::newRow("two discs") << QStringList{"--list", "/a", "/b"} << "only one disc";
    QTest::newRow("missing value")
        << QStringList{"--convert", "/d", "--profile"} << "needs a value";
    QTest::newRow("empty profile")
        << QStringList{"--convert", "/d", "--profile="} << "invalid value";
    QTest::newRow("flag with value") << QStringList{"--list=1", "/d"} << "takes no value";
    QTest::newRow("titles zero") << QStringList{"--convert", "/d", "--titles", "0"}
                                 << "invalid value \"0\" for --titles";
    QTest::newRow("titles reversed")
        << QStringList{"--convert", "/d", "--titles", "4-2"} << "--titles";
    QTest::newRow("titles letters")
        << QStringList{"--convert", "/d", "--titles", "a"} << "--titles";
    QTest::newRow("titles trailing comma")
        << QStringList{"--convert", "/d", "--titles", "1,"} << "--titles";
    QTest::newRow("chapters no colon")
        << QStringList{"--convert", "/d", "--chapters", "12"} << "--chapters";
    QTest::newRow("chapters no title")
        << QStringList{"--convert", "/d", "--chapters", ":1"} << "--chapters";
    QTest::newRow("chapters empty list")
        << QStringList{"--convert", "/d", "--chapters", "1:"} << "--chapters";
    QTest::newRow("audio symbol") << QStringList{"--convert", "/d", "--audio", "e-n"} << "--audio";
    QTest::newRow("audio zero") << QStringList{"--convert", "/d", "--audio", "0"} << "--audio";
    QTest::newRow("subtitle long word")
        << QStringList{"--convert", "/d", "--subtitle", "english"} << "--subtitle";
    QTest::newRow("end bad minutes")
        << QStringList{"--convert", "/d", "--end", "00:1x:00"} << "--end";
    QTest::newRow("end before start")
        << QStringList{"--convert", "/d", "--start", "00:00:05", "--end", "00:00:05"}
        << "--end must come after";
    QTest::newRow("overwrite word")
        << QStringList{"--convert", "/d", "--overwrite", "no"} << "ask, yes or rename";
    QTest::newRow("intermediate word")
        << QStringList{"--convert", "/d", "--intermediate", "best"} << "standard or high";
    QTest::newRow("set without a row")
        << QStringList{"--convert", "/d", "--set", "=640x360"} << "ROW=VALUE";
    QTest::newRow("set without equals")
        << QStringList{"--convert", "/d", "--set", "Video Size"} << "ROW=VALUE";
    QTest::newRow("profiles with a disc") << QStringList{"--profiles", "/d"} << "takes no disc";
    QTest::newRow("convert option with list")
        << QStringList{"--list", "/d", "--titles", "1"} << "belongs to --convert";
}

void TestCliOptions::badArguments() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const CliParse r = ParseCliOptions(args);
    QVERIFY2(r.error.contains(message), qPrintable(r.error));
}

void TestCliOptions::numberLists_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("numbers"); // "-" for no list
    QTest::newRow("one") << "7"
                         << "7";
    QTest::newRow("range and repeat") << "3-5,4,1"
                                      << "3,4,5,1";
    QTest::newRow("single range") << "2-2"
                                  << "2";
    QTest::newRow("empty") << ""
                           << "-";
    QTest::newRow("space") << "1, 2"
                           << "-";
    QTest::newRow("negative") << "-1"
                              << "-";
    QTest::newRow("open range") << "2-"
                                << "-";
}

void TestCliOptions::numberLists() {
    QFETCH(QString, text);
    QFETCH(QString, numbers);
    const std::optional<QList<int>> list = ParseNumberList(text);
    QStringList got;
    if (list)
        for (int n : *list)
            got << QString::number(n);
    QCOMPARE(list ? got.join(',') : QString("-"), numbers);
}

void TestCliOptions::times_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("seconds"); // -1: refused
    QTest::newRow("seconds") << "5" << 5.0;
    QTest::newRow("many seconds") << "90" << 90.0;
    QTest::newRow("fraction") << "2.5" << 2.5;
    QTest::newRow("minutes") << "0:05" << 5.0;
    QTest::newRow("minutes and fraction") << "1:30.25" << 90.25;
    QTest::newRow("hours") << "1:02:03" << 3723.0;
    QTest::newRow("full with fraction") << "00:00:05.5" << 5.5;
    QTest::newRow("seconds past 59 after a colon") << "1:60" << -1.0;
    QTest::newRow("minutes past 59 after hours") << "1:60:00" << -1.0;
    QTest::newRow("letters") << "00:1x:00" << -1.0;
    QTest::newRow("bare fraction point") << "5." << -1.0;
    QTest::newRow("negative") << "-5" << -1.0;
    QTest::newRow("empty") << "" << -1.0;
}

void TestCliOptions::times() {
    QFETCH(QString, text);
    QFETCH(double, seconds);
    QCOMPARE(ParseCliTime(text).value_or(-1), seconds);
}

void TestCliOptions::profileNames_data() {
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("chosen"); // empty: refused with a message holding `message`
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << "2 MKV"
                          << "2 MKV"
                          << "";
    QTest::newRow("number") << "3"
                            << "3 AVI"
                            << "";
    QTest::newRow("number past the list") << "9"
                                          << ""
                                          << "unknown profile";
    QTest::newRow("unique start, any case") << "1 m"
                                            << "1 MP4"
                                            << "";
    QTest::newRow("start of two") << "1"
                                  << "1 MP4"
                                  << ""; // a number first
    QTest::newRow("ambiguous start") << "Phone"
                                     << ""
                                     << "more than one profile";
    QTest::newRow("unknown") << "x"
                             << ""
                             << "the profiles are";
}

void TestCliOptions::profileNames() {
    QFETCH(QString, requested);
    QFETCH(QString, chosen);
    QFETCH(QString, message);
    const ProfileName r =
        ResolveProfileName({"1 MP4", "2 MKV", "3 AVI", "Phone A", "Phone B"}, requested);
    QCOMPARE(r.name, chosen);
    QVERIFY2(r.error.contains(message) && r.error.isEmpty() == message.isEmpty(),
             qPrintable(r.error));
}

QTEST_APPLESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
