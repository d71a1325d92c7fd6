#include "convert/chaptermarks.h"
#include "convert/commandlines.h"
#include "convert/picturescan.h"
#include "convert/profileoptions.h"
#include "support/testfiles.h"

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
        // The picture's aspect replaces autoaspect, and every frame is kept: see EncoderPicture.
        QCOMPARE(c.text(), " dvd://2 -dvd-device /media/dvd/VIDEO_TS -ss 0.000 -endpos 90.000" +
                               QString(Block).replace(":autoaspect", ":aspect=640/480") +
                               " -noskip -mc 0 -alang en -vf scale=640:480,expand=640:480 -sid 0 "
                               "-o \"/home/me/Work dir/temp.avi\"");
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
        QTest::addColumn<QString>("aspectTerm"); // square pixels in the frame, else the shape
        QTest::newRow("176 at 4:3") << "176x132"
                                    << "4:3"
                                    << "16:9"
                                    << "scale=176:132,expand=176:132"
                                    << "aspect=176/132";
        QTest::newRow("176 at 16:9") << "176x99"
                                     << "16:9"
                                     << "4:3"
                                     << "scale=176:99,expand=176:99"
                                     << "aspect=176/99";
        QTest::newRow("320") << "320x240"
                             << "4:3"
                             << ""
                             << "scale=320:240,expand=320:240"
                             << "aspect=320/240";
        QTest::newRow("352 wide") << "352x288"
                                  << "16:9"
                                  << ""
                                  << "scale=352:198,expand=352:288"
                                  << "aspect=352/288";
        QTest::newRow("720 at 4:3") << "720x576"
                                    << "4:3"
                                    << ""
                                    << "scale=720:540,expand=720:576"
                                    << "aspect=720/576";
        QTest::newRow("720 wide") << "720x480"
                                  << "16:9"
                                  << ""
                                  << "scale=720:405,expand=720:480"
                                  << "aspect=720/480";
        QTest::newRow("upper-case X") << "640X480"
                                      << "4:3"
                                      << ""
                                      << "scale=640:480,expand=640:480"
                                      << "aspect=640/480";
        QTest::newRow("other aspect follows a wide title") << "640x360"
                                                           << "Auto"
                                                           << "16:9"
                                                           << "scale=640:360,expand=640:360"
                                                           << "aspect=640/360";
        QTest::newRow("no aspect follows a 4:3 title") << "640x480"
                                                       << ""
                                                       << "4:3"
                                                       << "scale=640:480,expand=640:480"
                                                       << "aspect=640/480";
        // A picture too tall for the frame is fitted to its height, never squeezed.
        QTest::newRow("4:3 in a PAL title's 720x480") << "720x480"
                                                      << ""
                                                      << "4:3"
                                                      << "scale=640:480,expand=720:480"
                                                      << "aspect=720/480";
        QTest::newRow("4:3 in 640x360") << "640x360"
                                        << ""
                                        << "4:3"
                                        << "scale=480:360,expand=640:360"
                                        << "aspect=640/360";
        QTest::newRow("no frame size keeps the title's shape") << ""
                                                               << ""
                                                               << "16:9"
                                                               << ""
                                                               << "aspect=16/9";
        QTest::newRow("no frame size, chosen aspect") << ""
                                                      << "4:3"
                                                      << "16:9"
                                                      << ""
                                                      << "aspect=4/3";
    }
    void scaling() {
        QFETCH(QString, size);
        QFETCH(QString, aspect);
        QFETCH(QString, titleAspect);
        QFETCH(QString, vf);
        QFETCH(QString, aspectTerm);
        EncoderMemory memory;
        const ToolCommand block =
            EncoderOptionBlock({option("-s", size), option("-aspect", aspect)}, memory);
        EncodeItem i = item();
        i.titleAspect = titleAspect;
        const QStringList args = EncodePassCommand(i, "/d/VIDEO_TS/", block, memory).arguments();
        QCOMPARE(args.contains("-vf") ? args.value(args.indexOf("-vf") + 1) : QString(), vf);
        QCOMPARE(args.value(args.indexOf("-lavcopts") + 1).section(':', -1), aspectTerm);
        // Whole pictures carry the same shape in the file's header, in the layout every reader
        // takes.
        EncoderMemory rawMemory;
        const ToolCommand raw = EncoderOptionBlock({option("-s", size), option("-aspect", aspect)},
                                                   rawMemory, Prefs::IntermediateHigh);
        const QStringList rawArgs = EncodePassCommand(i, "/d", raw, rawMemory).arguments();
        const QString shape = aspectTerm.section('=', 1);
        QCOMPARE(
            rawArgs.value(rawArgs.indexOf("-force-avi-aspect") + 1),
            QString::number(shape.section('/', 0, 0).toDouble() / shape.section('/', 1).toDouble(),
                            'f', 4));
        QCOMPARE(rawArgs.value(rawArgs.indexOf("-vf") + 1),
                 vf.isEmpty() ? "format=i420" : vf + ",format=i420");
        QVERIFY(!rawArgs.contains("-lavcopts"));
        // The transcoder must not mark a frame the encoder has shaped.
        const QStringList transcoder =
            TranscoderOptions({option("-aspect", "16:9")}, EncoderScales(memory)).arguments();
        QCOMPARE(transcoder.contains("-aspect"), vf.isEmpty());
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
        QVERIFY(!text.contains("-aid")); // no stream id known: the language chooses
        QVERIFY(!text.contains("-sid")); // no subtitle chosen: none drawn either
        i.audioStreamIds = {128, 129};
        QVERIFY(EncodePassCommand(i, "/disc/folder", block, memory)
                    .text()
                    .contains(" -alang de -aid 129 ")); // the second track of a language too
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

    void routes_data() {
        QTest::addColumn<double>("seekTo");
        QTest::addColumn<double>("landedAt");
        QTest::addColumn<QString>("subtitleBase");
        QTest::addColumn<QString>("pieces");
        // Span 00:01:00 to 00:01:10, subtitle 1.
        QTest::newRow("as written") << -1.0 << -1.0 << ""
                                    << " -ss 60.000 -endpos 10.000 ";
        QTest::newRow("sent early, landed") << 58.5 << 58.98 << ""
                                            << " -ss 58.500 -endpos 11.020 ";
        QTest::newRow("subtitle taken out") << 58.5 << 59.0 << "/w d/temp"
                                            << " -vobsub /w d/temp -vobsubid 0 -o";
    }
    void routes() {
        QFETCH(double, seekTo);
        QFETCH(double, landedAt);
        QFETCH(QString, subtitleBase);
        QFETCH(QString, pieces);
        EncoderMemory memory;
        EncodeItem i = item(1, "00:01:00", "00:01:10");
        ToolCommand c = EncodePassCommand(i, "/d", EncoderOptionBlock({}, memory), memory,
                                          {seekTo, landedAt, subtitleBase});
        c.add(EncoderOutputOption("/w/"));
        QVERIFY2(c.text().contains(pieces), qPrintable(c.text()));
        QCOMPARE(c.text().contains(" -sid 0 "), subtitleBase.isEmpty());
        if (!subtitleBase.isEmpty())
            QVERIFY(c.arguments().contains(subtitleBase)); // one argument, blanks and all
    }

    void seekLanding_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<double>("target");
        QTest::addColumn<double>("landing"); // -1: not known
        QTest::addColumn<double>("soundLead");
        const QString opened = "DEMUX: Append packet to d_video, len=2011  pts=0.133  pos=13\n";
        QTest::newRow("after the seek")
            << opened + "DEMUX: Append packet to d_audio, len=2  pts=18.600  pos=9\n"
                        "DEMUX: Append packet to d_video, len=2014  pts=18.652  pos=7342093\n"
                        "DEMUX: Append packet to d_video, len=2014  pts=18.719  pos=7368717\n"
            << 18.0 << 18.519 << 0.052;
        // As a disc made by mplex carries it: the sound packets follow the pictures' by 0.3 s.
        QTest::newRow("sound behind in the stream")
            << opened + "DEMUX: Append packet to d_audio, len=2013  pts=0.133  pos=10253\n"
                        "DEMUX: Append packet to d_video, len=2015  pts=9.776  pos=710669\n"
                        "DEMUX: Append packet to d_audio, len=2016  pts=9.477  pos=712717\n"
            << 8.0 << 9.643 << 0.299;
        QTest::newRow("no sound track")
            << opened + "DEMUX: Append packet to d_video, len=2015  pts=9.776  pos=710669\n"
            << 8.0 << 9.643 << 0.0;
        QTest::newRow("sound of another count")
            << opened + "DEMUX: Append packet to d_video, len=2015  pts=9.776  pos=710669\n"
                        "DEMUX: Append packet to d_audio, len=2016  pts=95.477  pos=712717\n"
            << 8.0 << 9.643 << 0.0;
        QTest::newRow("nothing after the opening") << opened << 18.0 << -1.0 << 0.0;
        QTest::newRow("no timestamps") << "DEMUX: pts=-9223372036854775808.000\n"
                                       << 5.0 << -1.0 << 0.0;
        QTest::newRow("timestamps of another count")
            << opened + "DEMUX: Append packet to d_video, len=1  pts=5000.000  pos=9\n"
            << 18.0 << -1.0 << 0.0;
    }
    void seekLanding() {
        QFETCH(QString, output);
        QFETCH(double, target);
        QFETCH(double, landing);
        QFETCH(double, soundLead);
        const std::optional<SeekLanded> found = SeekLanding(output, target);
        QCOMPARE(found ? found->picture : -1, landing);
        QCOMPARE(found ? found->soundLead : 0, soundLead);
        QCOMPARE(SeekTarget(1.4, 25), 0.0); // so near the title's start: no seek at all
        QCOMPARE(SeekTarget(60, 25), 58.5);
        // NTSC in the encoder's nominal seconds: 1201.2 s into a title is 1200 nominal.
        QCOMPARE(SeekTarget(1202.7, 29.97), 1200.0);
    }

    void automaticDeinterlacing() {
        ToolCommand options;
        options.add("-vcodec").add("libx264").add("-vf").add(AutoDeinterlace).add("-b").add("1k");
        QCOMPARE(SettleDeinterlacing(options, true).arguments(),
                 (QStringList{"-vcodec", "libx264", "-vf", "yadif", "-b", "1k"}));
        QCOMPARE(SettleDeinterlacing(options, false).arguments(),
                 (QStringList{"-vcodec", "libx264", "-b", "1k"}));
        ToolCommand yes; // "Yes" deinterlaces whatever the pictures
        yes.add("-vf").add("yadif");
        QCOMPARE(SettleDeinterlacing(yes, false).arguments(), (QStringList{"-vf", "yadif"}));
        // The field check's verdict: two repeated fields in five are woven film.
        const QString idet = "[Parsed_idet_0 @ 0x1] Repeated Fields: Neither:    %1 Top:    %2 "
                             "Bottom:    %3\n";
        QVERIFY(ShowsTelecine(idet.arg(58).arg(17).arg(15)));
        QVERIFY(!ShowsTelecine(idet.arg(602).arg(0).arg(0)));
        QVERIFY(!ShowsTelecine(idet.arg(2).arg(1).arg(1))); // too few pictures to tell
        QVERIFY(!ShowsTelecine("no verdict"));
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

    // A profile as users edit them, read from its file: what is typed into a plain row reaches
    // the transcoder as one argument, the profile's own option text is split as written, and a
    // Para no profile can have is read only up to the cap.
    void profileValuesReachTheToolWhole_data() {
        QTest::addColumn<QString>("para");
        QTest::newRow("typed text with blanks, brackets and quotes") << "2";
        QTest::newRow("corrupt Para") << "2000000000";
    }
    void profileValuesReachTheToolWhole() {
        QFETCH(QString, para);
        QTemporaryDir dir;
        const QString profile = dir.filePath("edited.apf");
        TestFiles::write(profile, ("[Main]\nPara=" + para +
                                   "\n0=Title\n1=Codec\nType=mp4\n"
                                   "[Title]\nSort=3\nList=0\ncmd=-metadata\nCaption=x\nValue=x\n"
                                   "[Codec]\nSort=1\nReadOnly=1\nList=0\ncmd=-c:v\n"
                                   "Caption=H.264\nValue=libx264 -preset fast\n")
                                      .toUtf8());
        const auto shown = [](ParameterGroup group, const QString& key) -> std::optional<QString> {
            if (group == ParameterGroup::Advanced && key == "Title")
                return QString("title=My [Film] \"x\" edited");
            return std::nullopt;
        };
        const QList<ProfileOption> options = CurrentProfileOptions(profile, shown);
        QVERIFY(options.size() <= 1000);
        QCOMPARE(TranscoderOptions(options).arguments(),
                 (QStringList{"-metadata", "title=My [Film] \"x\" edited", "-c:v", "libx264",
                              "-preset", "fast"}));
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
        ProfileOption typed = option("-metadata", "title=Edited in main");
        typed.typed = true;
        QTest::newRow("typed text with blanks stays one argument")
            << QList<ProfileOption>{typed} << " -metadata \"title=Edited in main\""
            << QStringList{"-metadata", "title=Edited in main"};
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
        // What lies before the item's start is dropped on output, and the output lasts the span.
        QCOMPARE(TranscodeCommand("/w/temp.avi", o, "/o.mp4", {0.48, 5}).text(),
                 " -y -i \"/w/temp.avi\" -ss 0.480 -t 5.000" + text + " \"/o.mp4\"");
        // Chapter marks come from a second input, each a key frame.
        QCOMPARE(TranscodeCommand("/w/temp.avi", o, "/o.mp4", {0.48, 5},
                                  {"/w/temp.chapters", "0.000,2.002"})
                     .text(),
                 " -y -i \"/w/temp.avi\" -f ffmetadata -i \"/w/temp.chapters\" -ss 0.480 -t 5.000" +
                     text + " -map_chapters 1 -force_key_frames 0.000,2.002 \"/o.mp4\"");
    }

    // The disc's chapters an output marks: title seconds in, output seconds out, on the frames.
    void chapterMarks_data() {
        QTest::addColumn<QList<ChapterMark>>("chapters");
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("end");
        QTest::addColumn<double>("rate");
        QTest::addColumn<QList<ChapterMark>>("marks");
        const QList<ChapterMark> pal{{1, 0}, {2, 4.4}, {3, 9.2}, {4, 15.6}};
        QTest::newRow("whole title") << pal << 0.0 << 20.0 << 25.0
                                     << QList<ChapterMark>{{1, 0}, {2, 4.4}, {3, 9.2}, {4, 15.6}};
        QTest::newRow("a span from inside chapter 2 begins with it")
            << pal << 6.0 << 17.0 << 25.0 << QList<ChapterMark>{{2, 0}, {3, 3.2}, {4, 9.6}};
        // The list shows chapter 2 of an NTSC title at 00:01:00 for 60.06 s.
        QTest::newRow("a chapter just after a start trimmed to its shown time is the first")
            << QList<ChapterMark>{{1, 0}, {2, 60.06}, {3, 90.09}} << 60.0 << 100.0 << 30000.0 / 1001
            << QList<ChapterMark>{{2, 0}, {3, 902 * 1001 / 30000.0}};
        QTest::newRow("one just before the end gives none")
            << pal << 0.0 << 16.0 << 25.0 << QList<ChapterMark>{{1, 0}, {2, 4.4}, {3, 9.2}};
        QTest::newRow("a chapter alone") << QList<ChapterMark>{{7, 180.18}} << 180.18 << 210.21
                                         << 30000.0 / 1001 << QList<ChapterMark>{{7, 0}};
        // 45 s is frame 1348.65: the output's first frame is 1349, chapter 3's frame 1800.
        QTest::newRow("NTSC, counted in whole frames")
            << QList<ChapterMark>{{1, 0}, {2, 30.03}, {3, 60.06}} << 45.0 << 70.0 << 30000.0 / 1001
            << QList<ChapterMark>{{2, 0}, {3, 451 * 1001 / 30000.0}};
    }
    void chapterMarks() {
        QFETCH(QList<ChapterMark>, chapters);
        QFETCH(double, start);
        QFETCH(double, end);
        QFETCH(double, rate);
        QFETCH(QList<ChapterMark>, marks);
        const QList<ChapterMark> seen = MarksInSpan(chapters, start, end, rate);
        QCOMPARE(seen.size(), marks.size());
        for (qsizetype i = 0; i < seen.size(); ++i) {
            QCOMPARE(seen[i].number, marks[i].number);
            QVERIFY2(qAbs(seen[i].at - marks[i].at) < 1e-6,
                     qPrintable(QString::number(seen[i].at)));
        }
    }

    void chapterMetadata() {
        // Written later by the part the transcoder skips, which it takes off again.
        QCOMPARE(ChapterMetadata({{5, 0}, {6, 2.5}}, 1.2, 4),
                 QByteArray(";FFMETADATA1\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=1200\nEND=3700\n"
                            "title=Chapter 05\n[CHAPTER]\nTIMEBASE=1/1000\nSTART=3700\nEND=5200\n"
                            "title=Chapter 06\n"));
        QCOMPARE(ChapterTitle(12), QString("Chapter 12"));
        QVERIFY(HoldsChapters(".MKV") && HoldsChapters(".m4v") && HoldsChapters("webm"));
        QVERIFY(!HoldsChapters(".avi") && !HoldsChapters(".mp3") && !HoldsChapters(".mpg"));
        QVERIFY(!MarksLeftToProgram({"-vcodec", "libx264", "-map_chapters", "-1"}));
    }

    void soundShift_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<double>("lead");
        QTest::addColumn<QStringList>("shifted");
        const QStringList aac{"-acodec", "aac"};
        QTest::newRow("sound ahead: its start dropped")
            << aac << 0.299
            << QStringList{"-acodec", "aac", "-af", "atrim=start=0.2990,asetpts=PTS-STARTPTS"};
        QTest::newRow("sound behind: silence first")
            << aac << -0.05 << QStringList{"-acodec", "aac", "-af", "adelay=delays=50.0:all=1"};
        QTest::newRow("before the profile's own filter")
            << QStringList{"-filter:a", "volume=2", "-ac", "2"} << 0.023
            << QStringList{"-filter:a", "atrim=start=0.0230,asetpts=PTS-STARTPTS,volume=2", "-ac",
                           "2"};
        QTest::newRow("in step already") << aac << 0.0002 << aac;
        QTest::newRow("no sound") << QStringList{"-an"} << 0.3 << QStringList{"-an"};
        QTest::newRow("a graph of its own")
            << QStringList{"-filter_complex", "[0:a]volume=2"} << 0.3
            << QStringList{"-filter_complex", "[0:a]volume=2"};
    }
    void soundShift() {
        QFETCH(QStringList, options);
        QFETCH(double, lead);
        QFETCH(QStringList, shifted);
        ToolCommand o;
        for (const QString& a : options)
            o.add(a);
        QCOMPARE(WithSoundShift(o, lead).arguments(), shifted);
        // The MP3 coder's delay at its rate; whole sound has none.
        EncoderMemory memory;
        EncoderOptionBlock({option("-ar", "44100")}, memory);
        QCOMPARE(EncoderSoundDelay(memory), 1105.0 / 44100);
        EncoderOptionBlock({}, memory, Prefs::IntermediateHigh);
        QCOMPARE(EncoderSoundDelay(memory), 0.0);
    }

    void secondsText() {
        QCOMPARE(SecondsText(0), QString("0.000"));
        QCOMPARE(SecondsText(75.5), QString("75.500"));
        QCOMPARE(SecondsText(3723), QString("3723.000"));
    }
};

QTEST_APPLESS_MAIN(TestCommandLines)
#include "tst_commandlines.moc"
