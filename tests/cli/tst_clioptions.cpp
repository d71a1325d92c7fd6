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
    QTest::newRow("start seconds") << QStringList{"--convert", "/d", "--start", "5"} << "--start";
    QTest::newRow("end bad minutes")
        << QStringList{"--convert", "/d", "--end", "00:1x:00"} << "--end";
    QTest::newRow("end before start")
        << QStringList{"--convert", "/d", "--start", "00:00:05", "--end", "00:00:05"}
        << "--end must come after";
    QTest::newRow("overwrite word")
        << QStringList{"--convert", "/d", "--overwrite", "no"} << "ask, yes or rename";
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

QTEST_APPLESS_MAIN(TestCliOptions)
#include "tst_clioptions.moc"
