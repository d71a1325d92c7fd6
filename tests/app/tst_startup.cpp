#include "app/shellstate.h"
#include "core/discentries.h"
#include "core/paths.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "profiles/generalpreferencesfile.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void trailingSeparator_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("appended") << "/media/dvd"
                                  << "/media/dvd/";
        QTest::newRow("never doubled") << "/media/dvd/"
                                       << "/media/dvd/";
        QTest::newRow("root stays single") << "/"
                                           << "/";
        QTest::newRow("empty becomes separator") << ""
                                                 << "/";
    }
    void trailingSeparator() {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(WithTrailingSeparator(folder), expected);
    }

    void nameWithoutExtension_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Fast.apf"
                               << "Fast";
        QTest::newRow("last dot only") << "fast.mobile.apf"
                                       << "fast.mobile";
        QTest::newRow("no dot") << "README"
                                << "README";
    }
    void nameWithoutExtension() {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(NameWithoutExtension(name), expected);
        QCOMPARE(ProfileNameOfFile(name), expected);
    }

    void programValuesFromFolder() {
        QTemporaryDir dir;
        const ProgramValues v = ProgramValues::forProgramDir(dir.path());
        QCOMPARE(v.programDir, dir.path() + "/");
        QCOMPARE(v.encoderPath, dir.path() + "/asapi.dll");
        QCOMPARE(v.transcoderPath, dir.path() + "/wmaspi.dll");
        QCOMPARE(v.productVersion, QString("2.0"));
        QCOMPARE(ProductTexts::windowCaption(v.productVersion), QString("Kelvo Ripvale V2.0"));
        QCOMPARE(v.profilePath("Fast"), dir.path() + "/Profiles/Fast.apf");

        TestFiles::write(dir.filePath("Preferences.ini"), "[Main]\r\nVersion=3.1 beta\r\n");
        const ProgramValues w = LoadProgramValues(dir.path() + "/");
        QCOMPARE(w.programDir, dir.path() + "/");
        QCOMPARE(ProductTexts::windowCaption(w.productVersion), QString("Kelvo Ripvale V3.1 beta"));
        QCOMPARE(ProductTexts::programNameLabel(), QString("Ripvale"));
    }

    void profileListing() {
        QTemporaryDir dir;
        for (const char* name : {"b.apf", "A.APF", "c.txt", ".hidden.apf", "Z.apf.bak"})
            TestFiles::write(dir.filePath(name), "x");
        QDir(dir.path()).mkdir("folder.apf");
        QCOMPARE(ListFilesWithExtension(dir.path(), ".apf"), QStringList({"A.APF", "b.apf"}));
        QCOMPARE(ListFilesWithExtension(dir.path() + "/missing", ".apf"), QStringList());
    }

    // Where a copy keeps its files: beside itself when it is a portable copy, in the user's
    // folders when installed or when its folder cannot be written.
    void folderLayout_data() {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QString>("shared");       // the installation's data folder, if any
        QTest::addColumn<QString>("videos");       // the user's videos folder, if it exists
        QTest::addColumn<QStringList>("expected"); // data, config, profiles, output, work
        const QString p = "/opt/rv/";
        QTest::newRow("portable") << true << ""
                                  << "/home/u/Videos" << QStringList{p, p, p + "Profiles/", p, p};
        QTest::newRow("installed")
            << true << "/usr/share/ripvale"
            << "/home/u/Videos"
            << QStringList{"/usr/share/ripvale/", "/cfg/ripvale/", "/dat/ripvale/Profiles/",
                           "/home/u/Videos/", "/cache/ripvale/"};
        QTest::newRow("read-only copy, no videos folder")
            << false << ""
            << ""
            << QStringList{p, "/cfg/ripvale/", "/dat/ripvale/Profiles/", "/home/u/",
                           "/cache/ripvale/"};
    }
    void folderLayout() {
        QFETCH(bool, writable);
        QFETCH(QString, shared);
        QFETCH(QString, videos);
        const UserFolders user{"/cfg", "/dat", "/cache", videos, "/home/u"};
        const FolderLayout f = FolderLayout::choose("/opt/rv", writable, shared, user);
        QTEST((QStringList{f.dataDir, f.configDir, f.userProfilesDir, f.defaultOutputDir,
                           f.defaultWorkDir}),
              "expected");
        QCOMPARE(f.installed, !writable || !shared.isEmpty());
    }

    // Shipped and saved profiles make one list; a saved one stands in for a shipped namesake.
    void profilesOfBothFolders() {
        QTemporaryDir shipped, user;
        for (const char* name : {"b.apf", "Same.apf"})
            TestFiles::write(shipped.filePath(QString("Profiles/") + name), "x");
        for (const char* name : {"A.apf", "Same.apf"})
            TestFiles::write(user.filePath(name), "x");
        FolderLayout f;
        f.dataDir = shipped.path() + "/";
        f.userProfilesDir = user.path() + "/";
        const ProgramValues v = ProgramValues::forProgramDir("/opt/rv", f);
        QCOMPARE(v.profileNames(), QStringList({"A", "b", "Same"}));
        QCOMPARE(v.profilePath("Same"), user.filePath("Same.apf"));
        QCOMPARE(v.profilePath("b"), shipped.filePath("Profiles/b.apf"));
        QCOMPARE(v.profilePath("New"), user.filePath("New.apf")); // where a new one goes
    }

    void commandLineEntries() {
        QTemporaryDir dir;
        const QString list = dir.filePath("LIST.TMP");
        TestFiles::write(list, "/first/folder\r\n/second file\n\n/third\n");

        // A list file first: its lines are the entries, the other arguments are ignored.
        CommandLineEntries e = ReadCommandLineEntries({list, "/ignored"});
        QCOMPARE(e.entries, QStringList({"/first/folder", "/second file", "", "/third"}));
        QVERIFY(e.error.isEmpty());

        // A .tmp file second is an ordinary entry.
        e = ReadCommandLineEntries({"/a", list});
        QCOMPARE(e.entries, QStringList({"/a", list}));

        e = ReadCommandLineEntries({});
        QVERIFY(e.entries.isEmpty());

        // A list file that cannot be read is reported, not silently ignored.
        e = ReadCommandLineEntries({dir.filePath("missing.tmp")});
        QVERIFY(e.entries.isEmpty());
        QVERIFY(e.error.contains("missing.tmp"));
    }

    void folderForEntry() {
        QTemporaryDir dir;
        const QString videoTs = dir.filePath("DISC/VIDEO_TS");
        TestFiles::write(videoTs + "/VIDEO_TS.IFO", "x");
        TestFiles::write(dir.filePath("list.tmp"), "x");

        QCOMPARE(FolderForEntry(videoTs + "/VIDEO_TS.IFO"), videoTs + "/");   // a file: its folder
        QCOMPARE(FolderForEntry(dir.filePath("DISC")), dir.filePath("DISC")); // a folder: itself
        QCOMPARE(FolderForEntry(dir.filePath("list.tmp")), dir.path() + "/");
        QCOMPARE(FolderForEntry(dir.filePath("nothing")), QString()); // skipped
        QCOMPARE(FolderForEntry(QString()), QString());
    }

    void imageButtonStates() {
        ImageButtonState s;
        QCOMPARE(s.state(), 0);
        QVERIFY(s.mouseMove());
        QCOMPARE(s.state(), 1);
        QVERIFY(!s.mouseMove()); // already hot
        QVERIFY(s.mousePress());
        QCOMPARE(s.state(), 2);
        QVERIFY(!s.mousePress());
        QVERIFY(s.mouseRelease());
        QCOMPARE(s.state(), 1); // a press and release leaves it hot
        QVERIFY(!s.mouseRelease());
        QVERIFY(s.mouseLeftArea());
        QCOMPARE(s.state(), 0);
        QVERIFY(!s.mouseLeftArea());
        QVERIFY(s.mousePress()); // pressed straight from normal
        QCOMPARE(s.state(), 2);
        QVERIFY(s.mouseLeftArea());
        QCOMPARE(s.state(), 0);
    }

    void hintSlideSteps() {
        const QList<int> open = HintSlide::openHeights();
        QCOMPARE(open.size(), 110);
        QCOMPARE(open.front(), 0);
        QCOMPARE(open.back(), 109);
        const QList<int> close = HintSlide::closeHeights();
        QCOMPARE(close.size(), 22);
        QCOMPARE(close.front(), 105);
        QCOMPARE(close[1], 100);
        QCOMPARE(close.back(), 0);
    }
};

QTEST_APPLESS_MAIN(TestStartup)
#include "tst_startup.moc"
