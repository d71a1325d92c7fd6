// The main window reads and writes Preferences.ini and the profiles with StandardIni, the settings
// dialog with TNewInifile: each must read what the other wrote.
#include "profiles/newinifile.h"
#include "profiles/standardini.h"
#include "support/testfiles.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {
struct Entry {
    QString section, key, value;
};

const QList<Entry> Entries = {
    {"Main", "Profile", "2"},
    {"Main", "Output Path", "/home/me/my videos/"},
    {"Main", "Work Dir", ""},
    {"Default", "Syn Mode", "0"},
    {"Main", "Auto Open Dir", "1"},
    {"Video Codec", "Caption", "H.264,Xvid,"},
    {"Video Codec", "cmd", "-vcodec"},
    {"Sample Rate", "Value", "44100,48000,"},
    {"Sample Rate", "Index", "1"},
    {"Größe", "Titel", "Über 4 GB"},
    {"main", "PROFILE", "5"}, // an existing key, named in another case
    // Values as users type them: brackets, "=", quotes and blanks inside stay whole.
    {"Main", "Temp Dir", "/home/me/work [1]/"},
    {"Title", "Caption", "My [Film] \"x\""},
    {"Title", "Value", "comment=value=5"},
    {"[Odd]", "Key", "]["},
};

// Writes one key as the main window ("standard") or the settings dialog ("new") does; the error
// text, empty when the write succeeded.
QString writeWith(const QString& writer, const QString& path, const Entry& e) {
    QString error;
    if (writer == "standard") {
        StandardIni(path).writeString(e.section, e.key, e.value, &error);
        return error;
    }
    auto ini = TNewInifile::Create(path);
    ini->WriteString(e.section, e.key, e.value);
    try {
        TNewInifile::SaveAndFree(ini);
    } catch (const EInifileError& failure) {
        error = failure.message();
    }
    return error;
}

// Lowers the largest file size this process may write, for one scope: a full disk that stops root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN); // the write then fails with EFBIG instead
        getrlimit(RLIMIT_FSIZE, &m_old);
        const rlimit limit{bytes, m_old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};
} // namespace

class TestIniRoundTrip : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

private slots:
    void eachReadsTheOthersFile_data() {
        QTest::addColumn<QStringList>("writers"); // used in turn, one entry each
        QTest::newRow("standard writes") << QStringList{"standard"};
        QTest::newRow("TNewInifile writes") << QStringList{"new"};
        QTest::newRow("both write in turn") << QStringList{"standard", "new"};
        QTest::newRow("both write, other order") << QStringList{"new", "standard"};
    }
    void eachReadsTheOthersFile() {
        QFETCH(QStringList, writers);
        const QString path = m_dir.filePath(QTest::currentDataTag() + QString(".ini"));
        QMap<QString, QString> expected;
        for (qsizetype i = 0; i < Entries.size(); ++i) {
            QCOMPARE(writeWith(writers[i % writers.size()], path, Entries[i]), QString());
            expected[(Entries[i].section + u'/' + Entries[i].key).toLower()] = Entries[i].value;
        }
        const StandardIni standard(path);
        const TNewInifile own(path);
        for (const Entry& e : Entries) {
            const QString want = expected[(e.section + u'/' + e.key).toLower()];
            QCOMPARE(standard.readString(e.section, e.key, "DEF"), want);
            QCOMPARE(own.ReadString(e.section, e.key, "DEF"), want);
        }
        const QByteArray text = TestFiles::read(path);
        QCOMPARE(text.count('\n'), text.count("\r\n"));
        QVERIFY(text.endsWith("\r\n"));
    }

    // What the standard reader would trim or unquote is written so that it reads back whole.
    void standardWriteReadsBackWhole_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("blanks around") << "  x  ";
        QTest::newRow("quoted") << "\"q\"";
        QTest::newRow("single quotes") << "'a b'";
        QTest::newRow("one quote") << "\"";
    }
    void standardWriteReadsBackWhole() {
        QFETCH(QString, value);
        const QString path = m_dir.filePath("whole.ini");
        QVERIFY(StandardIni(path).writeString("Main", "K", value));
        QCOMPARE(StandardIni(path).readString("Main", "K"), value);
    }

    void writers_data() {
        QTest::addColumn<QString>("writer");
        QTest::newRow("standard") << "standard";
        QTest::newRow("TNewInifile") << "new";
    }

    // A write changes the line ends and the key's line; every other byte stays.
    void writeKeepsOtherLines_data() { writers_data(); }
    void writeKeepsOtherLines() {
        QFETCH(QString, writer);
        const QString path = m_dir.filePath("kept.ini");
        TestFiles::write(
            path,
            "; hand-made\n[Main]\nPath=/home/\xe9t\xe9/\xff\n\nProfile=1\n[Other]\nA=\"q\"\n");
        QCOMPARE(writeWith(writer, path, {"Main", "Profile", "2"}), QString());
        QCOMPARE(TestFiles::read(path),
                 QByteArray("; hand-made\r\n[Main]\r\nPath=/home/\xe9t\xe9/\xff\r\n\r\n"
                            "Profile=2\r\n[Other]\r\nA=\"q\"\r\n"));
    }

    // A full disk part-way through the write leaves the old file as it was, and says why.
    void fullDiskKeepsOldFile_data() { writers_data(); }
    void fullDiskKeepsOldFile() {
        QFETCH(QString, writer);
        QTemporaryDir dir;
        const QString path = dir.filePath("Preferences.ini");
        const QByteArray old = "[Main]\r\nProfile=1\r\n";
        TestFiles::write(path, old);
        QString error;
        {
            const FileSizeLimit limit(old.size() + 100);
            error = writeWith(writer, path, {"Main", "Long", QString(64 * 1024, u'v')});
        }
        QVERIFY2(error.endsWith(QString::fromLocal8Bit(std::strerror(EFBIG))), qPrintable(error));
        QCOMPARE(TestFiles::read(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"Preferences.ini"}); // no temporary file left behind
    }

    // Where the two readers differ on purpose, and where they must agree, given "[Main]" and then
    // `lines`.
    void readersCompared_data() {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("read"); // string (default DEF), integer (99), bool (false)
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("own");
        const auto row = [](const char* tag, QByteArray lines, QString read, QString standard,
                            QString own) {
            QTest::newRow(tag) << lines << read << standard << own;
        };
        row("quotes", "K=\"a b\"", "string", "a b", "\"a b\"");
        row("blanks around the value", "K=  v  ", "string", "v", "  v  ");
        row("blanks beside =", "K = v", "string", "v", " v");
        row("[ in a value", "K=x[y]", "string", "x[y]", "x[y]");
        row("key after [ in a value", "A=x[y]\r\nK=2", "string", "2", "2");
        row("line starting with [ in a value", "A=1\r\n[x=y\r\nK=2", "string", "2", "2");
        row("= in a value", "K=a=b", "string", "a=b", "a=b");
        row("key inside a longer key", "xk=5\r\nK=3", "string", "3", "3");
        row("comment line", ";K=1", "string", "DEF", "DEF");
        row("lone CR", "A=1\rK=2", "string", "DEF", "2");
        row("3000 characters", QByteArray("K=" + QByteArray(3000, 'v')), "string",
            QString(2047, u'v'), QString(3000, u'v'));
        row("hexadecimal", "K=0x10", "integer", "16", "99");
        row("blanks around a number", "K= 5 ", "integer", "5", "99");
        row("True", "K=True", "bool", "false", "true");
        row("fraction", "K=0.5", "bool", "false", "true");
    }
    void readersCompared() {
        QFETCH(QByteArray, lines);
        QFETCH(QString, read);
        QFETCH(QString, standard);
        QFETCH(QString, own);
        const QString path = m_dir.filePath("differ.ini");
        TestFiles::write(path, "[Main]\r\n" + lines + "\r\n");
        const StandardIni s(path);
        const TNewInifile n(path);
        const auto text = [](bool b) { return QString(b ? "true" : "false"); };
        if (read == "string") {
            QCOMPARE(s.readString("Main", "K", "DEF"), standard);
            QCOMPARE(n.ReadString("Main", "K", "DEF"), own);
        } else if (read == "integer") {
            QCOMPARE(QString::number(s.readInteger("Main", "K", 99)), standard);
            QCOMPARE(QString::number(n.ReadInteger("Main", "K", 99)), own);
        } else {
            QCOMPARE(text(s.readBool("Main", "K", false)), standard);
            QCOMPARE(text(n.ReadBool("Main", "K", false)), own);
        }
    }
};

QTEST_APPLESS_MAIN(TestIniRoundTrip)
#include "tst_iniroundtrip.moc"
