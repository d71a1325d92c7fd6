#include "profiles/standardini.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QByteArray Sample = "; a comment line\r\n"
                          "[Main]\r\n"
                          "Profile=2\r\n"
                          "  Output Path =  /home/me/videos/  \r\n"
                          "xpara=5\r\n"
                          "Para=3\r\n"
                          "Quoted=\"  padded  \"\r\n"
                          "Single='x'\r\n"
                          "Lonely=\"\r\n"
                          "Hex=0x1F\r\n"
                          "Neg=-4\r\n"
                          "Bad=12abc\r\n"
                          "Empty=\r\n"
                          "NoEquals\r\n"
                          "Bool=True\r\n"
                          "Bracket=a[b]c\r\n"
                          "\r\n"
                          "[Other]\r\n"
                          "Profile=7\r\n";
} // namespace

class TestStandardIni : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;

private slots:
    void init() {
        m_path = m_dir.filePath("Preferences.ini");
        TestFiles::write(m_path, Sample);
    }

    void readString_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Main"
                               << "Profile"
                               << "2";
        QTest::newRow("section and key ignore case") << "mAIN"
                                                     << "PROFILE"
                                                     << "2";
        QTest::newRow("blanks around key and value") << "Main"
                                                     << "output path"
                                                     << "/home/me/videos/";
        QTest::newRow("whole key name only") << "Main"
                                             << "para"
                                             << "3";
        QTest::newRow("one pair of quotes removed") << "Main"
                                                    << "Quoted"
                                                    << "  padded  ";
        QTest::newRow("single quotes too") << "Main"
                                           << "Single"
                                           << "x";
        QTest::newRow("a lone quote stays") << "Main"
                                            << "Lonely"
                                            << "\"";
        QTest::newRow("empty value") << "Main"
                                     << "Empty"
                                     << "";
        QTest::newRow("bracket inside a value") << "Main"
                                                << "Bracket"
                                                << "a[b]c";
        QTest::newRow("other section") << "Other"
                                       << "Profile"
                                       << "7";
        QTest::newRow("missing key gives default") << "Main"
                                                   << "Nothing"
                                                   << "DEF";
        QTest::newRow("missing section gives default") << "None"
                                                       << "Profile"
                                                       << "DEF";
    }
    void readString() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(StandardIni(m_path).readString(section, key, "DEF"), expected);
    }

    void readInteger_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << "Profile" << 2;
        QTest::newRow("hexadecimal") << "Hex" << 31;
        QTest::newRow("negative") << "Neg" << -4;
        QTest::newRow("not a number") << "Bad" << 99;
        QTest::newRow("empty") << "Empty" << 99;
        QTest::newRow("missing") << "Nothing" << 99;
    }
    void readInteger() {
        QFETCH(QString, key);
        QFETCH(int, expected);
        QCOMPARE(StandardIni(m_path).readInteger("Main", key, 99), expected);
    }

    void readBool() {
        const StandardIni ini(m_path);
        QCOMPARE(ini.readBool("Main", "Profile", false), true); // non-zero
        QCOMPARE(ini.readBool("Main", "Bool", false), false);   // "True" is not an integer
        QCOMPARE(ini.readBool("Main", "Nothing", true), true);
        QCOMPARE(ini.readBool("Main", "Neg", false), true);
    }

    void valuesAreCutAt2047Characters() {
        const QByteArray longValue(5000, 'v');
        TestFiles::write(m_path, "[Main]\nLong=" + longValue + "\n");
        QCOMPARE(StandardIni(m_path).readString("Main", "Long").size(), 2047);
    }

    void missingFileReadsDefaults() {
        const StandardIni ini(m_dir.filePath("none.ini"));
        QCOMPARE(ini.readString("Main", "Version", "2.0"), QString("2.0"));
        QCOMPARE(ini.readInteger("Main", "Profile", 0), 0);
        QVERIFY(!ini.hasKey("Main", "Profile"));
    }

    void writeReplacesKeyInPlace() {
        StandardIni ini(m_path);
        QVERIFY(ini.writeString("main", "PARA", "9"));
        const QByteArray text = TestFiles::read(m_path);
        QVERIFY(text.contains("xpara=5\r\nPARA=9\r\nQuoted"));
        QVERIFY(!text.contains("Para=3"));
        QCOMPARE(ini.readInteger("Other", "Profile", 0), 7);
        QVERIFY(text.startsWith("; a comment line\r\n[Main]\r\n"));
    }

    void writeAddsKeyAtEndOfSection() {
        StandardIni ini(m_path);
        QVERIFY(ini.writeInteger("Main", "FirstUse", 0));
        const QByteArray text = TestFiles::read(m_path);
        QVERIFY(text.contains("Bracket=a[b]c\r\nFirstUse=0\r\n\r\n[Other]"));
        QCOMPARE(ini.readBool("Main", "FirstUse", true), false);
    }

    void writeCreatesFileAndSections() {
        StandardIni ini(m_dir.filePath("new.ini"));
        QVERIFY(ini.writeInteger("Main", "Profile", -1));
        QVERIFY(ini.writeString("Main", "Output Path", "/out dir/"));
        QVERIFY(ini.writeBool("Default", "Ask", true));
        QCOMPARE(TestFiles::read(ini.path()),
                 QByteArray("[Main]\r\nProfile=-1\r\nOutput Path=/out dir/\r\n\r\n"
                            "[Default]\r\nAsk=1\r\n"));
        QCOMPARE(ini.readInteger("Main", "Profile", 0), -1);
    }

    void unwritableFolderKeepsOldFileAndSaysWhy() {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders");
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        StandardIni ini(m_path);
        QString error;
        QVERIFY(!ini.writeString("Main", "Profile", "5", &error));
        QVERIFY(!error.isEmpty());
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(TestFiles::read(m_path), Sample);
    }

    void writeIntoMissingFolderFails() {
        StandardIni ini(m_dir.filePath("no/such/folder/p.ini"));
        QString error;
        QVERIFY(!ini.writeString("Main", "Profile", "5", &error));
        QVERIFY(!error.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestStandardIni)
#include "tst_standardini.moc"
