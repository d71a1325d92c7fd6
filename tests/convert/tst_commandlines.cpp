#include "commandlines.h"
#include "testfiles.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

ProfileOption option(const QString& cmd, const QString& value) {
    ProfileOption o;
    o.cmd = cmd;
    o.value = value;
    return o;
}

EncodeItem item(int title = 2, const QString& start = "00:00:00", const QString& end = "00:01:30") {
    EncodeItem i;
    i.titleNumber = title;
    i.startText = start;
    i.endText = end;
    i.audioLanguages = {"en", "de"};
    i.audioLanguageIndex = 0;
    i.subtitleIndex = 1;
    i.titleAspect = "4:3";
    return i;
}

const QString Block = " -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=1000:mbd=2:autoaspect"
                      " -oac mp3lame -lameopts vbr=2:q=5 -channels 2 -srate 44100"
                      " -af volume=10:0";

} // namespace

class TestCommandLines : public QObject {
    Q_OBJECT
private slots:
    void workedExample() {
        EncoderMemory memory;
        const ToolCommand block = EncoderOptionBlock(
            {option("-s", "640x480"), option("-b", "1000"), option("-ar", "44100"),
             option("-aspect", "4:3"), option("-vcodec", "libx264")},
            memory);
        QCOMPARE(block.text(), Block);
        ToolCommand c = EncodePassCommand(item(), "/media/dvd/VIDEO_TS/", block, memory);
        c.add(EncoderOutputOption("/home/me/Work dir/"));
        QCOMPARE(c.text(), " dvd://2 -dvd-device /media/dvd/VIDEO_TS -ss 0.000 -endpos 90.000" +
                               Block +
                               " -alang en -vf scale=640:480,expand=640:480 -sid 0 -o "
                               "\"/home/me/Work dir/temp.avi\"");
        // The path with a blank is one argument, never split.
        QCOMPARE(c.arguments().last(), QString("/home/me/Work dir/temp.avi"));
        QCOMPARE(c.arguments().first(), QString("dvd://2"));
    }

    void optionBlock_data() {
        QTest::addColumn<QList<ProfileOption>>("options");
        QTest::addColumn<QString>("vbitrate");
        QTest::addColumn<QString>("rate");
        QTest::newRow("no -b") << QList<ProfileOption>{option("-ar", "48000")} << "800"
                               << " -srate 48000";
        QTest::newRow("empty -b") << QList<ProfileOption>{option("-b", "")} << "800"
                                  << "";
        QTest::newRow("k suffix gives kbit/s")
            << QList<ProfileOption>{option("-b", "1200k")} << "1200"
            << "";
        QTest::newRow("M suffix") << QList<ProfileOption>{option("-b", "1.5M")} << "1500"
                                  << "";
        QTest::newRow("plain number as written")
            << QList<ProfileOption>{option("-b", "900")} << "900"
            << "";
        QTest::newRow("nonsense") << QList<ProfileOption>{option("-b", "fast")} << "800"
                                  << "";
    }
    void optionBlock() {
        QFETCH(QList<ProfileOption>, options);
        QFETCH(QString, vbitrate);
        QFETCH(QString, rate);
        EncoderMemory memory;
        // No sample rate: " -srate " is left out rather than swallowing " -af".
        QCOMPARE(EncoderOptionBlock(options, memory).text(),
                 " -ovc lavc -lavcopts vcodec=mpeg4:vbitrate=" + vbitrate +
                     ":mbd=2:autoaspect -oac mp3lame -lameopts vbr=2:q=5 -channels 2" + rate +
                     " -af volume=10:0");
    }

    void scaling_data() {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("aspect");
        QTest::addColumn<QString>("titleAspect");
        QTest::addColumn<QString>("vf");
        QTest::newRow("176 at 4:3") << "176x132"
                                    << "4:3"
                                    << "16:9"
                                    << "scale=176:132,expand=176:132";
        QTest::newRow("176 at 16:9") << "176x99"
                                     << "16:9"
                                     << "4:3"
                                     << "scale=176:99,expand=176:99";
        QTest::newRow("320") << "320x240"
                             << "4:3"
                             << ""
                             << "scale=320:240,expand=320:240";
        QTest::newRow("352 wide") << "352x288"
                                  << "16:9"
                                  << ""
                                  << "scale=352:198,expand=352:288";
        QTest::newRow("720 at 4:3") << "720x576"
                                    << "4:3"
                                    << ""
                                    << "scale=720:540,expand=720:576";
        QTest::newRow("720 wide") << "720x480"
                                  << "16:9"
                                  << ""
                                  << "scale=720:405,expand=720:480";
        QTest::newRow("upper-case X") << "640X480"
                                      << "4:3"
                                      << ""
                                      << "scale=640:480,expand=640:480";
        QTest::newRow("other aspect follows a wide title") << "640x360"
                                                           << "Auto"
                                                           << "16:9"
                                                           << "scale=640:360,expand=640:360";
        QTest::newRow("no aspect follows a 4:3 title") << "640x480"
                                                       << ""
                                                       << "4:3"
                                                       << "scale=640:480,expand=640:480";
    }
    void scaling() {
        QFETCH(QString, size);
        QFETCH(QString, aspect);
        QFETCH(QString, titleAspect);
        QFETCH(QString, vf);
        EncoderMemory memory;
        const ToolCommand block =
            EncoderOptionBlock({option("-s", size), option("-aspect", aspect)}, memory);
        EncodeItem i = item();
        i.titleAspect = titleAspect;
        const QStringList args = EncodePassCommand(i, "/d/VIDEO_TS/", block, memory).arguments();
        QCOMPARE(args.value(args.indexOf("-vf") + 1), vf);
    }

    void memoryOutlivesProfilesWithoutSize() {
        EncoderMemory memory;
        EncoderOptionBlock({option("-s", "640x480"), option("-aspect", "4:3")}, memory);
        const ToolCommand block = EncoderOptionBlock({option("-b", "1000")}, memory);
        QVERIFY(
            EncodePassCommand(item(), "/d", block, memory).text().contains("-vf scale=640:480"));
        EncoderOptionBlock({option("-s", "")}, memory); // an empty size switches scaling off
        QVERIFY(!EncodePassCommand(item(), "/d", block, memory).text().contains("-vf"));
        EncoderOptionBlock({option("-s", "wide")}, memory); // no integer width: no scaling
        QVERIFY(!EncodePassCommand(item(), "/d", block, memory).text().contains("-vf"));
    }

    void itemPieces() {
        EncoderMemory memory;
        const ToolCommand block = EncoderOptionBlock({}, memory);
        EncodeItem i = item(3, "00:01:00", "00:02:15.5");
        i.subtitleIndex = 0;
        i.audioLanguageIndex = 1;
        QString text = EncodePassCommand(i, "/disc/folder", block, memory).text();
        QVERIFY(text.startsWith(" dvd://3 -dvd-device /disc/folder -ss 60.000 -endpos 75.500 "));
        QVERIFY(text.contains(" -alang de"));
        QVERIFY(!text.contains("-sid")); // no subtitle chosen: none drawn either
        QVERIFY(text.endsWith(" -nosub"));
        i.subtitleIndex = 2;
        i.audioLanguages.clear(); // no audio at the index: no " -alang "
        text = EncodePassCommand(i, "/disc/folder", block, memory).text();
        QVERIFY(text.endsWith(" -sid 1"));
        QVERIFY(!text.contains("-alang"));
        i.startText = "bad";
        QVERIFY(EncodePassCommand(i, "/d", block, memory).text().contains(" -ss -1.000 "));
    }

    void spanToTheTitlesEndHasNoEndPosition_data() {
        QTest::addColumn<QString>("end");
        QTest::addColumn<double>("titleLength");
        QTest::addColumn<bool>("endpos");
        QTest::newRow("whole title") << "00:00:08" << 8.0 << false;
        QTest::newRow("just short of the end") << "00:00:07" << 8.0 << false;
        QTest::newRow("well before the end") << "00:00:06" << 8.0 << true;
        QTest::newRow("title length unknown") << "00:00:08" << 0.0 << true;
    }
    void spanToTheTitlesEndHasNoEndPosition() {
        QFETCH(QString, end);
        QFETCH(double, titleLength);
        QFETCH(bool, endpos);
        EncoderMemory memory;
        EncodeItem i = item(4, "00:00:02", end);
        i.titleLengthSeconds = titleLength;
        const QString text =
            EncodePassCommand(i, "/d", EncoderOptionBlock({}, memory), memory).text();
        QCOMPARE(text.contains(" -endpos "), endpos);
        QVERIFY(text.contains(" -ss 2.000 "));
    }

    void discOpen() {
        QCOMPARE(DiscOpenCommand(4, "/media/dvd").text(),
                 QString(" dvd://4 -dvd-device /media/dvd -o temp.avi"));
        QTemporaryDir dir;
        const QString part = DrivePartOf(dir.path() + "/VIDEO_TS/");
        QVERIFY(!part.isEmpty());
        QVERIFY(dir.path().startsWith(part));
        QVERIFY(part == "/" || !part.endsWith('/'));
    }

    void transcoder_data() {
        QTest::addColumn<QList<ProfileOption>>("options");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("example") << QList<ProfileOption>{option("-s", "640x480"),
                                                         option("-b", "1000"),
                                                         option("-ar", "44100")}
                                 << " -s 640x480 -b 1000 -ar 44100"
                                 << QStringList{"-s", "640x480", "-b", "1000", "-ar", "44100"};
        QTest::newRow("bare switch keeps its blank")
            << QList<ProfileOption>{option("-vn", "\\"), option("-an", "")} << " -vn "
            << QStringList{"-vn"};
        QTest::newRow("no command or no value: left out")
            << QList<ProfileOption>{option("", "5"), option("-r", "")} << "" << QStringList{};
        QTest::newRow("quoted value stays one argument")
            << QList<ProfileOption>{option("-vf", "\"scale=640:-2, yadif\"")}
            << " -vf \"scale=640:-2, yadif\"" << QStringList{"-vf", "scale=640:-2, yadif"};
        QTest::newRow("option text with several words")
            << QList<ProfileOption>{option("-c:v", "libx264 -preset fast")}
            << " -c:v libx264 -preset fast" << QStringList{"-c:v", "libx264", "-preset", "fast"};
    }
    void transcoder() {
        QFETCH(QList<ProfileOption>, options);
        QFETCH(QString, text);
        QFETCH(QStringList, args);
        const ToolCommand o = TranscoderOptions(options);
        QCOMPARE(o.text(), text);
        QCOMPARE(o.arguments(), args);
        const ToolCommand c = TranscodeCommand("/w d/temp.avi", o, "/out dir/My Disc-Title01.mp4");
        QCOMPARE(c.text(), " -y -i \"/w d/temp.avi\"" + text + " \"/out dir/My Disc-Title01.mp4\"");
        QCOMPARE(c.arguments().last(), QString("/out dir/My Disc-Title01.mp4"));
    }

    void secondsText() {
        QCOMPARE(SecondsText(0), QString("0.000"));
        QCOMPARE(SecondsText(75.5), QString("75.500"));
        QCOMPARE(SecondsText(3723), QString("3723.000"));
    }
};

QTEST_APPLESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
