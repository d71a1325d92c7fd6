#include "core/timetext.h"
#include "dvd/discloader.h"
#include "dvd/libdvdreadstructure.h"
#include "dvd/tasktree.h"
#include "support/ifobuilder.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

TProgramChain chain(const QString& playback, const QStringList& starts, const QStringList& lengths,
                    const QString& audio = "11", const QString& subs = "1") {
    const auto ms = [](const QString& text) {
        return qint64(TimeTextToSeconds(text) * 1000 + 0.5);
    };
    TProgramChain p;
    p.PlaybackTime = playback;
    p.PlaybackMilliseconds = ms(playback);
    p.ProgramCount = quint8(starts.size());
    p.ChapterStarts = starts;
    p.ChapterLengths = lengths;
    for (const QString& s : starts)
        p.ChapterStartMilliseconds << ms(s);
    for (const QString& l : lengths)
        p.ChapterLengthMilliseconds << ms(l);
    p.AudioAvailable = audio;
    p.SubpictureAvailable = subs;
    p.AudioStreamNumbers = {1, 0}; // the disc's streams need not follow the list's order
    return p;
}

TIFO titleSet(const QString& standard = "NTSC", const QString& resolution = "720x480") {
    TIFO t;
    t.VOBS.Video = {"16:9", standard, "MPEG2", resolution};
    t.VOBS.Audio = {{"English", "en", "AC3", 6, {}, 0}, {"Deutsch", "de", "LPCM", 2, {}, 4}};
    t.VOBS.AudioCount = 2;
    t.VOBS.SubpictureLanguages = {"French"};
    t.VOBS.SubpictureCount = 1;
    return t;
}

// What a listing shows of each title, to tell a listing from the undamaged disc's.
QString signature(const DiscLoadResult& r) {
    QStringList lines;
    for (const LoadedTitle& t : r.titles) {
        lines << QString("%1 %2 %3 %4 %5")
                     .arg(t.title.Caption, t.title.OrigEndText)
                     .arg(t.chapters.size())
                     .arg(t.title.AudioTracks.join(','))
                     .arg(t.title.AngleCount);
        for (const TTaskNode& c : t.chapters)
            lines << c.OrigStartText + ' ' + c.OrigEndText;
    }
    return lines.join('\n');
}

QString realDisc(const QString& name) {
    return qEnvironmentVariable("RIPVALE_SOURCE_DIR") + "/tests/data/discs-real/" + name;
}

// Ways information files come damaged: cut short, sectors zeroed, tables out of range.
using Damage = std::function<void(QByteArray&)>;
QList<std::pair<QString, Damage>> damages() {
    QList<std::pair<QString, Damage>> list;
    for (const int size : {0, 300, 2048, 3000, 4095, 6144})
        list.append(
            {QString("cut to %1 bytes").arg(size), [size](QByteArray& b) { b.truncate(size); }});
    for (const int sector : {0, 1, 2})
        list.append({QString("sector %1 zeroed").arg(sector), [sector](QByteArray& b) {
                         if (b.size() > sector * 2048)
                             b.replace(sector * 2048, 2048, QByteArray(2048, '\0'));
                     }});
    // The table sectors of either kind of file: the disc's title table; a title set's
    // part-of-title and program chain tables.
    for (const int at : {0xC4, 0xC8, 0xCC}) {
        const auto tableAt = [at](const QByteArray& b) {
            return qint64(quint8(b[at + 2])) << 8 | quint8(b[at + 3]);
        };
        list.append({QString("table at 0x%1 past the end").arg(at, 0, 16),
                     [at](QByteArray& b) { PutU32(b, at, 0x00FFFFFF); }});
        list.append({QString("table at 0x%1 too long").arg(at, 0, 16),
                     [=](QByteArray& b) { PutU32(b, tableAt(b) * 2048 + 4, 0x00FFFFFF); }});
        list.append({QString("table at 0x%1 counts 65535").arg(at, 0, 16),
                     [=](QByteArray& b) { PutU16(b, tableAt(b) * 2048, 0xFFFF); }});
        list.append({QString("table at 0x%1 zeroed").arg(at, 0, 16), [=](QByteArray& b) {
                         b.replace(tableAt(b) * 2048, 64, QByteArray(64, '\0'));
                     }});
    }
    return list;
}

} // namespace

class TestDiscLoader : public QObject {
    Q_OBJECT
private slots:
    void titleTimesAndCaption_data() {
        QTest::addColumn<QString>("playback");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<double>("endSeconds");
        QTest::newRow("1:02:03.480") << "1:02:03.480"
                                     << "01:02:03" << 3723.0;
        QTest::newRow("59.6 s") << "0:00:59.600"
                                << "00:01:00" << 60.0;
        QTest::newRow("zero") << "0:00:00.000"
                              << "00:00:00" << 0.0;
    }
    void titleTimesAndCaption() {
        QFETCH(QString, playback);
        QFETCH(QString, endText);
        QFETCH(double, endSeconds);
        const TIFO ts = titleSet();
        const TProgramChain p = chain(playback, {}, {});
        const LoadedTitle t = MakeTitle(7, &ts, &p, 3);
        QCOMPARE(t.title.Caption, QString("Title07 [MPEG2 720x480 NTSC 16:9]"));
        QCOMPARE(t.title.ShortName, QString("Title07"));
        QCOMPARE(t.title.OutputName, QString("Title07"));
        QCOMPARE(t.title.FrameSize, QString("720:480"));
        QCOMPARE(t.title.OrigStartText, QString("00:00:00"));
        QCOMPARE(t.title.OrigEndText, endText);
        QCOMPARE(t.title.EndText, endText);
        QCOMPARE(t.title.OrigEndSeconds, endSeconds);
        QCOMPARE(t.title.OrigDuration, endSeconds);
        QCOMPARE(t.title.AngleCount, 3);
        QVERIFY(t.title.IsTitle);
        QCOMPARE(t.title.ImageIndex, 0);
    }

    void numbering() {
        QCOMPARE(NumberedName("Title", 7), QString("Title07"));
        QCOMPARE(NumberedName("Title", 99), QString("Title99"));
        QCOMPARE(NumberedName("Title", 100), QString("Title100"));
        const TIFO ts = titleSet();
        const TProgramChain p = chain("0:10:00.000", {"0:00:00.000", "0:01:00.000", "0:02:00.000"},
                                      {"0:01:00.000", "0:01:00.000", "0:08:00.000"});
        const LoadedTitle t = MakeTitle(12, &ts, &p, 1);
        QCOMPARE(t.chapters.size(), 3);
        QCOMPARE(t.chapters[2].OutputName, QString("Title12-Chapter03"));
        QCOMPARE(t.chapters[2].Caption, QString("Chapter03"));
        QCOMPARE(t.chapters[2].ChapterIndex, 2);
        QCOMPARE(t.chapters[2].Number, 3);
        QCOMPARE(t.chapters[2].ImageIndex, 1);
        QVERIFY(t.chapters[2].FrameSize.isEmpty()); // streams stay on the title
        QVERIFY(t.chapters[2].AudioTracks.isEmpty());
    }

    void chapterEndsFromShownStart_data() {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("length");
        QTest::addColumn<QString>("startText");
        QTest::addColumn<QString>("endText");
        QTest::addColumn<double>("startSeconds");
        QTest::addColumn<double>("endSeconds");
        // The end is the start as shown plus the exact length: 600 + 300.3, not 600.4 + 300.3.
        QTest::newRow("600.4 + 300.3") << "0:10:00.400"
                                       << "0:05:00.300"
                                       << "00:10:00"
                                       << "00:15:00" << 600.0 << 900.0;
        QTest::newRow("zero length") << "0:00:10.000"
                                     << "0:00:00.000"
                                     << "00:00:10"
                                     << "00:00:10" << 10.0 << 10.0;
        QTest::newRow("half seconds to even") << "0:00:02.500"
                                              << "0:00:01.500"
                                              << "00:00:02"
                                              << "00:00:04" << 2.0 << 4.0;
    }
    void chapterEndsFromShownStart() {
        QFETCH(QString, start);
        QFETCH(QString, length);
        QFETCH(QString, startText);
        QFETCH(QString, endText);
        QFETCH(double, startSeconds);
        QFETCH(double, endSeconds);
        const TIFO ts = titleSet();
        const TProgramChain p = chain("0:20:00.000", {start}, {length});
        const TTaskNode c = MakeTitle(1, &ts, &p, 1).chapters.at(0);
        QCOMPARE(c.OrigStartText, startText);
        QCOMPARE(c.StartText, startText);
        QCOMPARE(c.OrigEndText, endText);
        QCOMPARE(c.EndText, endText);
        QCOMPARE(c.OrigStartSeconds, startSeconds);
        QCOMPARE(c.OrigEndSeconds, endSeconds);
        QCOMPARE(c.EndSeconds, endSeconds);
        QCOMPARE(c.OrigDuration, 0.0);
    }

    void streamsFollowAvailability_data() {
        QTest::addColumn<QString>("audio");
        QTest::addColumn<QString>("subs");
        QTest::addColumn<QStringList>("tracks");
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<QStringList>("subtitles");
        QTest::addColumn<QList<int>>("ids"); // AC3 stream 1 is 129, LPCM stream 0 is 160
        QTest::newRow("all present")
            << "11"
            << "1" << QStringList{"English AC3 6ch", "Deutsch LPCM 2ch"} << QStringList{"en", "de"}
            << QStringList{"None", "French"} << QList<int>{129, 160};
        QTest::newRow("first absent") << "01"
                                      << "0" << QStringList{"Deutsch LPCM 2ch"} << QStringList{"de"}
                                      << QStringList{"None"} << QList<int>{160};
        QTest::newRow("flags shorter than streams")
            << "1"
            << "" << QStringList{"English AC3 6ch"} << QStringList{"en"} << QStringList{"None"}
            << QList<int>{129};
    }
    void streamsFollowAvailability() {
        QFETCH(QString, audio);
        QFETCH(QString, subs);
        QFETCH(QStringList, tracks);
        QFETCH(QStringList, languages);
        QFETCH(QStringList, subtitles);
        QFETCH(QList<int>, ids);
        const TIFO ts = titleSet();
        const TProgramChain p = chain("0:01:00.000", {}, {}, audio, subs);
        const TTaskNode t = MakeTitle(1, &ts, &p, 1).title;
        QCOMPARE(t.AudioTracks, tracks);
        QCOMPARE(t.AudioLanguages, languages);
        QCOMPARE(t.AudioStreamIds, ids);
        QCOMPARE(t.Subtitles, subtitles);
    }

    void unknownStandardCaption() {
        const TIFO ts = titleSet("???", "");
        const TProgramChain p = chain("0:01:00.000", {}, {});
        QCOMPARE(MakeTitle(1, &ts, &p, 1).title.Caption, QString("Title01 [MPEG2  ??? 16:9]"));
    }

    void titleWithoutChainIsListedEmpty() {
        const TIFO ts = titleSet();
        const LoadedTitle noChain = MakeTitle(2, &ts, nullptr, 1);
        QCOMPARE(noChain.title.Caption, QString("Title02 [MPEG2 720x480 NTSC 16:9]"));
        QCOMPARE(noChain.title.OrigEndText, QString("00:00:00"));
        QVERIFY(noChain.chapters.isEmpty());
        QCOMPARE(noChain.title.Subtitles, QStringList{"None"});
        const LoadedTitle nothing = MakeTitle(3, nullptr, nullptr, 0);
        QCOMPARE(nothing.title.Caption, QString("Title03"));
        QVERIFY(nothing.chapters.isEmpty());
    }

    void folderForms() {
        QTemporaryDir dir;
        TestFiles::write(dir.filePath("Movie/VIDEO_TS/VIDEO_TS.IFO"), "x");
        const QString videoTs = dir.filePath("Movie/VIDEO_TS/");
        QCOMPARE(DiscFolderOf(dir.filePath("Movie")), videoTs); // folder above
        QCOMPARE(DiscFolderOf(dir.filePath("Movie/")), videoTs);
        QCOMPARE(DiscFolderOf(dir.filePath("Movie/VIDEO_TS")), videoTs); // no final separator
        QCOMPARE(DiscFolderOf(videoTs), videoTs);
        QCOMPARE(DiscFolderOf(dir.filePath("Empty")), dir.filePath("Empty/VIDEO_TS/"));
        QCOMPARE(VolumeFileOf(videoTs), videoTs + "VIDEO_TS.IFO");
        // Copies in lower case, and images, in any letter case.
        TestFiles::write(dir.filePath("copy/video_ts/video_ts.ifo"), "x");
        QCOMPARE(DiscFolderOf(dir.filePath("copy")), dir.filePath("copy/video_ts/"));
        QCOMPARE(VolumeFileOf(dir.filePath("copy/video_ts/")),
                 dir.filePath("copy/video_ts/video_ts.ifo"));
        TestFiles::write(dir.filePath("Film.ISO"), "x");
        QCOMPARE(DiscFolderOf(dir.filePath("Film.ISO")), dir.filePath("Film.ISO"));
        QCOMPARE(VolumeFileOf(dir.filePath("Film.ISO")), dir.filePath("Film.ISO"));
    }

    void unreadableTitleSetsAndTitles() {
        QTemporaryDir dir;
        const QString disc = dir.filePath("VIDEO_TS/");
        IfoBuilder set;
        set.chains = {{IfoTime(0, 1, 0, 0, 3), {1}, {IfoTime(0, 1, 0, 0, 3)}, {}, {}, {}}};
        TestFiles::write(disc + "VIDEO_TS.IFO", BuildDiscInfo({{1, 1, 2}, {5, 1, 1}, {1, 2, 1}}));
        TestFiles::write(disc + "VTS_01_0.IFO", set.build());
        LibDvdReadStructure reader;
        DiscLoadResult r = LoadDisc(dir.path(), reader);
        QCOMPARE(r.discPath, disc);
        // Title 2's set cannot be read, and title set 1 has no second title: it does not hold
        // what the disc says, so none of its titles is listed either.
        QCOMPARE(r.titles.size(), 0);
        QVERIFY2(r.error.startsWith("Only part of a DVD is in") &&
                     r.error.contains("names title 2 of it, but its own table lists 1"),
                 qPrintable(r.error));

        TestFiles::write(disc + "VIDEO_TS.IFO", BuildDiscInfo({{1, 1, 2}, {5, 1, 1}}));
        r = LoadDisc(dir.path(), reader);
        QVERIFY(r.error.isEmpty());
        QCOMPARE(r.titles.size(), 1);
        QCOMPARE(r.titles[0].title.AngleCount, 2);
        QCOMPARE(r.titles[0].title.OrigEndText, QString("00:01:00")); // 60.06 s
        QCOMPARE(r.titles[0].title.CellEndSeconds, 60.06);
        QCOMPARE(r.warnings.size(), 1);
        QVERIFY2(r.warnings[0].startsWith("Title 2 cannot be listed.") &&
                     r.warnings[0].contains("VTS_05_0.IFO and its backup are missing from \"" +
                                            disc + '"'),
                 qPrintable(r.warnings[0]));

        // When no title is left, nothing is listed and the message says why.
        TestFiles::write(disc + "VTS_01_0.IFO", "not an IFO");
        r = LoadDisc(dir.path(), reader);
        QVERIFY(r.titles.isEmpty());
        QVERIFY2(r.error.startsWith("Only part of a DVD is in") && r.error.contains("VTS_01_0.IFO"),
                 qPrintable(r.error));
    }

    // Every damaged form of each file of the real discs, in the file alone and in it and its
    // backup: the disc opens as it is from the backup, or what cannot be read is refused by
    // name. Nothing is listed that the disc does not hold.
    void damagedRealDiscs_data() {
        QTest::addColumn<QString>("disc");
        QTest::addColumn<QStringList>("files"); // damaged alike
        QTest::addColumn<int>("damage");
        const QList<std::pair<QString, QStringList>> cases = {
            {"hammond", {"VIDEO_TS.IFO"}},
            {"hammond", {"VIDEO_TS.IFO", "VIDEO_TS.BUP"}},
            {"hammond", {"VTS_01_0.IFO"}},
            {"hammond", {"VTS_01_0.BUP"}},
            {"hammond", {"VTS_01_0.IFO", "VTS_01_0.BUP"}},
            {"dvdkit-angles3", {"VIDEO_TS.IFO"}},
            {"dvdkit-angles3", {"VTS_01_0.IFO"}}};
        const auto list = damages();
        for (const auto& [disc, files] : cases)
            for (int d = 0; d < list.size(); ++d)
                QTest::addRow("%s %s %s", qPrintable(disc), qPrintable(files.join('+')),
                              qPrintable(list[d].first))
                    << disc << files << d;
    }
    void damagedRealDiscs() {
        QFETCH(QString, disc);
        QFETCH(QStringList, files);
        QFETCH(int, damage);
        const QString source = realDisc(disc) + "/VIDEO_TS/";
        LibDvdReadStructure reader;
        const DiscLoadResult whole = LoadDisc(source, reader);
        QVERIFY(!whole.titles.isEmpty());

        QTemporaryDir dir;
        const QString copy = dir.filePath("VIDEO_TS/");
        QDir().mkpath(copy);
        for (const QString& name : QDir(source).entryList(QDir::Files)) {
            QByteArray bytes = TestFiles::read(source + name);
            if (files.contains(name))
                damages()[damage].second(bytes);
            TestFiles::write(copy + name, bytes);
        }
        const DiscLoadResult r = LoadDisc(dir.path(), reader);
        // The undamaged copy's own messages (title sets that are not there), in the copy.
        const QString saidWhole =
            (QStringList{whole.error} + whole.warnings).join(' ').replace(source, copy);
        const QString said = (QStringList{r.error} + r.warnings).join(' ');
        if (said == saidWhole) {
            QCOMPARE(signature(r), signature(whole));
            return;
        }
        // Refused: the message names a damaged file, and what is listed is as on the disc.
        bool named = false;
        for (const QString& name : files)
            named = named || said.contains(copy + name + "\": ");
        QVERIFY2(named, qPrintable(said));
        QVERIFY2(r.titles.isEmpty() || signature(whole).startsWith(signature(r)) ||
                     signature(r).isEmpty(),
                 qPrintable(signature(r)));
        if (!r.titles.isEmpty())
            QVERIFY2(!r.warnings.isEmpty(), "titles were left out without a word");
    }

    void applyReplacesTreeAndKeepsVolumeName() {
        TDVDInformation info;
        info.VolumeName = "MYDISC";
        TTaskTree tree([&] { return info.VolumeName; }, [] { return QString(".avi"); });
        DiscLoadResult loaded;
        loaded.discPath = "/d/VIDEO_TS/";
        loaded.standard = "PAL";
        loaded.frameRate = 25;
        const TIFO ts = titleSet("PAL", "720x576");
        const TProgramChain p = chain("0:00:30.000", {"0:00:00.000"}, {"0:00:30.000"});
        loaded.titles = {MakeTitle(1, &ts, &p, 1), MakeTitle(2, &ts, &p, 1)};
        ApplyLoadedDisc(loaded, tree, info);
        ApplyLoadedDisc(loaded, tree, info); // a second open replaces, never appends
        QCOMPARE(tree.nodeCount(), 4);
        QCOMPARE(info.Standard, QString("PAL"));
        QCOMPARE(info.FrameRate, 25.0);
        QCOMPARE(info.DiscPath, QString("/d/VIDEO_TS/"));
        QCOMPARE(info.VolumeName, QString("MYDISC"));
    }
};

QTEST_GUILESS_MAIN(TestDiscLoader)
#include "tst_discloader.moc"
