#include "profiles/newinifile.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace {
const QByteArray Sample = "[Main]\r\n"
                          "xpara=5\r\n"
                          "Para=3\r\n"
                          "Name=Mixed Case Value\r\n"
                          "Spaced=  two  blanks  \r\n"
                          "Quoted=\"q\"\r\n"
                          "Index =2\r\n"
                          "Empty=\r\n"
                          "Num=42\r\n"
                          "Neg=-7\r\n"
                          "Hex=0x10\r\n"
                          "Big=99999999999\r\n"
                          "BTrue=true\r\n"
                          "BTwo=2\r\n"
                          "BYes=yes\r\n"
                          "BZero=0\r\n"
                          "BFalse=FALSE\r\n"
                          "BFrac=0.5\r\n"
                          "Caption=a [b\r\n"
                          "Later=hidden\r\n"
                          "Comment=value=5\r\n"
                          "Title=My [Film] \"x\"\r\n"
                          "[Other]\r\n"
                          "Para=7\r\n";

// Writes `text` as the file at `path`, loads it, applies "section|key|value" writes and releases.
QByteArray writeAndSave(const QString& path, const QByteArray& text, const QStringList& writes) {
    if (!text.isNull())
        TestFiles::write(path, text);
    auto ini = TNewInifile::Create(path);
    for (const QString& write : writes) {
        const QStringList p = write.split(u'|');
        ini->WriteString(p[0], p[1], p[2]);
    }
    TNewInifile::SaveAndFree(ini);
    return TestFiles::read(path);
}

// The message of the EInifileError that `f` raises; a null text when it raises none.
template <typename F> QString errorOf(F f) {
    try {
        f();
    } catch (const EInifileError& e) {
        return e.message();
    }
    return {};
}

QString cannotCreate(const QString& path, int error) {
    return QString("Cannot create file \"%1\". %2")
        .arg(path, QString::fromLocal8Bit(std::strerror(error)));
}

} // namespace

class TestNewInifile : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString m_path;

    void expectOldFileKept(std::unique_ptr<TNewInifile>& ini, int error) {
        QCOMPARE(errorOf([&] { TNewInifile::SaveAndFree(ini); }), cannotCreate(m_path, error));
        QVERIFY(ini); // kept, so the caller may try again
        QCOMPARE(TestFiles::read(m_path), Sample);
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"Preferences.ini"}); // no temporary file left behind
    }

private slots:
    void init() {
        // A test that failed in a read-only folder must not break the next one.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(m_dir.path()).removeRecursively();
        QDir().mkpath(m_dir.path());
        m_path = m_dir.filePath("Preferences.ini");
        TestFiles::write(m_path, Sample);
    }

    void readString_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, QString section, QString key, QString expected) {
            QTest::newRow(tag) << section << key << expected;
        };
        row("case ignored, value keeps it", "main", "NAME", "Mixed Case Value");
        row("whole name: xpara=5 is not Para", "Main", "Para", "3");
        row("other section", "Other", "Para", "7");
        row("blanks kept", "Main", "Spaced", "  two  blanks  ");
        row("quotes kept", "Main", "Quoted", "\"q\"");
        row("blanks beside the name: Index =2", "Main", "Index", "2");
        row("empty value", "Main", "Empty", "");
        row("[ kept in the value", "Main", "Caption", "a [b");
        row("key after a value with [ found", "Main", "Later", "hidden");
        row("= kept in the value", "Main", "Comment", "value=5");
        row("brackets and quotes kept", "Main", "Title", "My [Film] \"x\"");
        row("missing section", "None", "Para", "DEF");
        row("missing key", "Main", "Nothing", "DEF");
    }
    void readString() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(TNewInifile(m_path).ReadString(section, key, "DEF"), expected);
    }

    void readInteger_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("expected");
        QTest::newRow("decimal") << "Num" << 42;
        QTest::newRow("negative") << "Neg" << -7;
        QTest::newRow("hexadecimal is not read") << "Hex" << 99;
        QTest::newRow("out of range") << "Big" << 99;
        QTest::newRow("empty value") << "Empty" << 99;
        QTest::newRow("text") << "Name" << 99;
        QTest::newRow("missing") << "Nothing" << 99;
    }
    void readInteger() {
        QFETCH(QString, key);
        QFETCH(int, expected);
        QCOMPARE(TNewInifile(m_path).ReadInteger("Main", key, 99), expected);
    }

    void readBool_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("whenDefaultFalse");
        QTest::addColumn<bool>("whenDefaultTrue");
        QTest::newRow("true") << "BTrue" << true << true;
        QTest::newRow("2") << "BTwo" << true << true;
        QTest::newRow("fraction") << "BFrac" << true << true;
        QTest::newRow("negative") << "Neg" << true << true;
        QTest::newRow("0") << "BZero" << false << false;
        QTest::newRow("FALSE") << "BFalse" << false << false;
        QTest::newRow("yes") << "BYes" << false << true;
        QTest::newRow("empty") << "Empty" << false << true;
        QTest::newRow("missing") << "Nothing" << false << true;
    }
    void readBool() {
        QFETCH(QString, key);
        QFETCH(bool, whenDefaultFalse);
        QFETCH(bool, whenDefaultTrue);
        const TNewInifile ini(m_path);
        QCOMPARE(ini.ReadBool("Main", key, false), whenDefaultFalse);
        QCOMPARE(ini.ReadBool("Main", key, true), whenDefaultTrue);
    }

    void findLines() {
        TestFiles::write(m_path, "x\n[Main]\nA=1\nB=2\n[Next]\n");
        const TNewInifile ini(m_path);
        QCOMPARE(ini.SectionText("MAIN"), QString("\r\nA=1\r\nB=2\r\n"));
        QCOMPARE(ini.FindSectionLine("MAIN"), 1);
        QCOMPARE(ini.FindKeyLine("main", "b"), 2); // 1 + 2: "B=2" is line 3
        QCOMPARE(ini.FindSectionLine("None"), -1);
        QCOMPARE(ini.FindKeyLine("Main", "C"), -1);
        QCOMPARE(ini.SectionText("None"), QString());
    }

    void writeString_data() {
        QTest::addColumn<QByteArray>("before"); // null: no file
        QTest::addColumn<QStringList>("writes");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("A, B, C into a new section")
            << QByteArray() << QStringList{"S|A|1", "S|B|2", "S|C|3"}
            << QByteArray("[S]\r\nC=3\r\nB=2\r\nA=1\r\n");
        QTest::newRow("new key below the header")
            << QByteArray("[Main]\nOld=1\n") << QStringList{"main|New|x y"}
            << QByteArray("[Main]\r\nNew=x y\r\nOld=1\r\n");
        QTest::newRow("key replaced in place")
            << QByteArray("[Main]\nA=1\nB=2\n[X]\nB=3\n") << QStringList{"MAIN|b|9"}
            << QByteArray("[Main]\r\nA=1\r\nb=9\r\n[X]\r\nB=3\r\n");
        QTest::newRow("only the line named Para is replaced")
            << QByteArray("[Main]\nxpara=5\nPara=3\n") << QStringList{"Main|Para|1"}
            << QByteArray("[Main]\r\nxpara=5\r\nPara=1\r\n");
        QTest::newRow("Index =2 is replaced, not doubled")
            << QByteArray("[Main]\nIndex =2\n") << QStringList{"Main|Index|4"}
            << QByteArray("[Main]\r\nIndex=4\r\n");
        QTest::newRow("key after a value with [ is replaced")
            << QByteArray("[Main]\nCaption=a[b\nValue=1\n") << QStringList{"Main|Value|2"}
            << QByteArray("[Main]\r\nCaption=a[b\r\nValue=2\r\n");
        QTest::newRow("a value holding Value= stays the Caption's")
            << QByteArray("[P]\nCaption=x\nValue=x\n")
            << QStringList{"P|Caption|comment=value=5", "P|Value|comment=value=5"}
            << QByteArray("[P]\r\nCaption=comment=value=5\r\nValue=comment=value=5\r\n");
        QTest::newRow("folder with brackets written twice, one line")
            << QByteArray("[Main]\nWork Dir=/a/\nAsk=1\n")
            << QStringList{"Main|Work Dir|/home/me/work [1]/", "Main|Ask|0",
                           "Main|Work Dir|/home/me/work [1]/", "Main|Ask|0"}
            << QByteArray("[Main]\r\nWork Dir=/home/me/work [1]/\r\nAsk=0\r\n");
        QTest::newRow("new section at the end")
            << QByteArray("[Main]\nA=1") << QStringList{"Other|B|"}
            << QByteArray("[Main]\r\nA=1\r\n[Other]\r\nB=\r\n");
        QTest::newRow("a header line holds nothing else")
            << QByteArray("[Main] A=1\nB=2\n") << QStringList{"Main|A|2"}
            << QByteArray("[Main] A=1\r\nB=2\r\n[Main]\r\nA=2\r\n");
        QTest::newRow("line break in a value makes two lines")
            << QByteArray("[S]\nK=1\nL=2\n") << QStringList{"S|K|a\nb", "S|L|3"}
            << QByteArray("[S]\r\nK=a\r\nb\r\nL=3\r\n");
    }
    void writeString() {
        QFETCH(QByteArray, before);
        QFETCH(QStringList, writes);
        QFETCH(QByteArray, after);
        QCOMPARE(writeAndSave(m_dir.filePath("w.ini"), before, writes), after);
    }

    void writeIntegerAndBool() {
        auto ini = TNewInifile::Create(m_dir.filePath("new.ini"));
        ini->WriteInteger("S", "I", -5);
        ini->WriteBool("S", "T", true);
        ini->WriteBool("S", "F", false);
        QCOMPARE(ini->ReadInteger("S", "I", 0), -5);
        QCOMPARE(ini->ReadBool("S", "T", false), true);
        QCOMPARE(ini->ReadBool("S", "F", true), false);
        TNewInifile::SaveAndFree(ini);
        QCOMPARE(TestFiles::read(m_dir.filePath("new.ini")),
                 QByteArray("[S]\r\nF=0\r\nT=1\r\nI=-5\r\n"));
    }

    // Reading alone rewrites the file: the same lines, each ended by CR LF.
    void readingRewritesLineEnds_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("CR") << QByteArray("a\rb\r") << QByteArray("a\r\nb\r\n");
        QTest::newRow("mixed, none at the end")
            << QByteArray("a\rb\nc\r\nd") << QByteArray("a\r\nb\r\nc\r\nd\r\n");
        QTest::newRow("LF CR is two") << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb\r\n");
        QTest::newRow("empty lines") << QByteArray("\r\na\r\n\r\n") << QByteArray("\r\na\r\n\r\n");
        QTest::newRow("not UTF-8")
            << QByteArray("K=\xe9t\xe9\0x\n", 8) << QByteArray("K=\xe9t\xe9\0x\r\n", 9);
        QTest::newRow("empty") << QByteArray("") << QByteArray("");
    }
    void readingRewritesLineEnds() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QCOMPARE(writeAndSave(m_path, before, {}), after);
    }

    void everyLineEndSeparatesKeys() {
        TestFiles::write(m_path, "[Main]\rA=1\nB=2\r\nC=3");
        const TNewInifile ini(m_path);
        QCOMPARE(ini.ReadString("Main", "A", {}) + ini.ReadString("Main", "B", {}) +
                     ini.ReadString("Main", "C", {}),
                 QString("123"));
    }

    void missingFileReadsEmptyAndIsCreated() {
        const QString path = m_dir.filePath("none.ini");
        auto ini = TNewInifile::Create(path);
        QCOMPARE(ini->ReadString("Main", "Version", "2.0"), QString("2.0"));
        QCOMPARE(ini->ReadInteger("Main", "Profile", 3), 3);
        QVERIFY(!QFile::exists(path));
        TNewInifile::SaveAndFree(ini);
        QVERIFY(!ini);
        QVERIFY(QFile::exists(path));
        QCOMPARE(TestFiles::read(path), QByteArray(""));
    }

    void saveAndFreeOfNoObjectDoesNothing() {
        std::unique_ptr<TNewInifile> none;
        TNewInifile::SaveAndFree(none);
        QVERIFY(!none);
    }

    void droppedWithoutSaveAndFreeWritesNothing() {
        TNewInifile(m_path).WriteString("Main", "Para", "changed");
        TNewInifile(m_dir.filePath("none.ini")).WriteString("Main", "Para", "new");
        QCOMPARE(TestFiles::read(m_path), Sample);
        QVERIFY(!QFile::exists(m_dir.filePath("none.ini")));
    }

    void unreadableFileRaises() {
        const QString folder = m_dir.filePath("folder.ini");
        QDir().mkpath(folder);
        const QString error = errorOf([&] { TNewInifile{folder}; });
        QVERIFY2(error.startsWith(QString("Cannot open file \"%1\". ").arg(folder)),
                 qPrintable(error));
    }

    // Real failures that stop root too: the message names the path and the system's reason.
    void unwritablePathRaises_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("reason");
        QTest::newRow("folder is a file") << "Preferences.ini/p.ini" << ENOTDIR;
        QTest::newRow("missing folder") << "no/such/p.ini" << ENOENT;
    }
    void unwritablePathRaises() {
        QFETCH(QString, path);
        QFETCH(int, reason);
        const QString full = m_dir.filePath(path);
        auto ini = TNewInifile::Create(full);
        ini->WriteString("Main", "Para", "1");
        QCOMPARE(errorOf([&] { TNewInifile::SaveAndFree(ini); }), cannotCreate(full, reason));
        QVERIFY(ini);
    }

    void readOnlyFolderKeepsOldFile() {
        if (geteuid() == 0)
            QSKIP("root writes into read-only folders; tst_iniroundtrip fills the disk instead");
        auto ini = TNewInifile::Create(m_path);
        ini->WriteString("Main", "Para", "1");
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        expectOldFileKept(ini, EACCES);
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_APPLESS_MAIN(TestNewInifile)
#include "tst_newinifile.moc"
