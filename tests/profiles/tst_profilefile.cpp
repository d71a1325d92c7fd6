// Reading a profile into grid rows and writing the rows' values back, with either reader.
#include "profiles/newinifile.h"
#include "profiles/profilefile.h"
#include "profiles/profilereader.h"
#include "profiletext.h"
#include "support/testfiles.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ProfileText;

namespace {

constexpr ParameterGroup Groups[] = {ParameterGroup::Video, ParameterGroup::Audio,
                                     ParameterGroup::Advanced};

// The three grids as "video|audio|advanced", rows "key=value" joined by ";", a list's choices
// in braces, read-only text marked "(grey)".
QString describe(const ProfileRows& rows) {
    QStringList grids;
    for (ParameterGroup g : Groups) {
        QStringList out;
        for (const ProfileParameter& r : rows.of(g))
            out << r.key + u'=' + r.value +
                       (r.hasPickList ? " {" + r.pickList.join(u'/') + u'}' : QString()) +
                       (r.greyed() ? " (grey)" : "");
        grids << out.join(u';');
    }
    return grids.join(u'|');
}

ProfileRows readWith(const QString& reader, const QString& path) {
    if (reader == "standard")
        return ReadProfile(StandardProfileReader(path));
    const auto ini = TNewInifile::Create(path);
    return ReadProfile(NewIniProfileReader(*ini));
}

const QByteArray ListAB = "[P]\nSort=1\nList=1\nCaption=a,b,\nValue=1,2,\nIndex=1\n";

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void reading_data() {
        QTest::addColumn<QString>("readers"); // "standard new": both read it so
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("grids");
        QTest::addColumn<QString>("error"); // and Type after a blank
        const auto row = [](const char* tag, const char* readers, const QByteArray& text,
                            const char* grids, const char* error = " mp4") {
            QTest::newRow(tag) << readers << text << grids << error;
        };
        const char* both = "standard new";
        row("no Para", both, crlf("[Main]\nType=avi\n"), "||", " avi");
        row("Para 0", both, profile({}, ListAB), "||");
        row("Para not a number", both, crlf("[Main]\nPara=x\n0=P\n" + ListAB), "||");
        row("list: caption at Index", both, profile({"P"}, ListAB), "P=b {a/b}||");
        row("plain text keeps commas", both,
            profile({"P"}, "[P]\nSort=2\nList=0\nCaption=x,y,\nValue=v\n"), "|P=x,y,|");
        row("read-only text is grey", both,
            profile({"P"}, "[P]\nSort=3\nReadOnly=1\nList=0\nCaption=B\n"), "||P=B (grey)");
        row("read-only list is a list", both,
            profile({"P"}, "[P]\nSort=1\nReadOnly=1\nCaption=a,\n"), "P=a {a}||");
        row("no final comma loses the last caption", both,
            profile({"P"}, "[P]\nSort=1\nCaption=a,b\n"), "P=a {a}||");
        row("names in any case", both,
            crlf("[main]\npara=1\n0=P\ntype=mkv\n[p]\nsort=2\nlist=0\ncaption=T\n"), "|P=T|",
            " mkv");
        row("Sort outside 1-3", both,
            profile({"A", "B", "C"}, "[A]\nSort=7\nList=0\nCaption=a\n[B]\nSort=2\nList=0\n"
                                     "Caption=b\n[C]\nList=0\nCaption=c\n"),
            "|B=b;C=c|A=a");
        row("Index beyond the captions", both,
            profile({"A", "B", "C"}, "[A]\nSort=1\nList=0\nCaption=a\n[B]\nSort=2\n"
                                     "Caption=x,y,\nIndex=5\n[C]\nSort=3\nList=0\nCaption=c\n"),
            "A=a|B= {x/y}|", "List index out of bounds (5) mp4");
        row("negative Index", both, profile({"A"}, "[A]\nSort=1\nCaption=x,\nIndex=-1\n"),
            "A= {x}||", "List index out of bounds (-1) mp4");
        row("no comma, no choices", both, profile({"A"}, "[A]\nSort=1\nCaption=abc\n"), "A= {}||",
            "List index out of bounds (0) mp4");
        // Values with "[", "]", "=" and quotes are whole for both readers, and end no section.
        const QByteArray bracket =
            profile({"P", "Q"}, "[P]\nList=0\nCaption=My [Film] \"x\"\nSort=2\n"
                                "[Q]\nList=0\nCaption=comment=value=5\nSort=3\n");
        row("[ in a value, standard reader", "standard", bracket,
            "|P=My [Film] \"x\"|Q=comment=value=5");
        row("[ in a value, TNewInifile", "new", bracket, "|P=My [Film] \"x\"|Q=comment=value=5");
    }
    void reading() {
        QFETCH(QString, readers);
        QFETCH(QByteArray, text);
        const QString path = m_dir.filePath(QTest::currentDataTag());
        TestFiles::write(path, text);
        for (const QString& reader : readers.split(u' ')) {
            const ProfileRows rows = readWith(reader, path);
            QTEST(describe(rows), "grids");
            QTEST(rows.error() + u' ' + rows.type, "error");
        }
    }

    // A row's value chosen without a grid, as the command line's --set does.
    void showingAValue_data() {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("grids"); // afterwards
        QTest::addColumn<QString>("error");
        const QString before = "L=b {a/b}|F=x|G=g (grey)";
        QTest::newRow("a caption, any case") << "l"
                                             << "A"
                                             << "L=a {a/b}|F=x|G=g (grey)"
                                             << "";
        QTest::newRow("no such caption") << "L"
                                         << "c" << before << "the choices are: a, b";
        QTest::newRow("free text") << "F"
                                   << "my text"
                                   << "L=b {a/b}|F=my text|G=g (grey)"
                                   << "";
        QTest::newRow("read-only") << "G"
                                   << "h" << before << "cannot be changed";
        QTest::newRow("no such row") << "Z"
                                     << "1" << before << "its rows are: L, F, G";
    }
    void showingAValue() {
        const QString path = m_dir.filePath("show.apf");
        TestFiles::write(path,
                         profile({"L", "F", "G"}, "[L]\nSort=1\nCaption=a,b,\nIndex=1\n"
                                                  "[F]\nSort=2\nList=0\nCaption=x\n"
                                                  "[G]\nSort=3\nReadOnly=1\nList=0\nCaption=g\n"));
        ProfileRows rows = readWith("standard", path);
        QFETCH(QString, row);
        QFETCH(QString, value);
        QFETCH(QString, error);
        const QString said = rows.show(row, value);
        QVERIFY2(said.contains(error) && said.isEmpty() == error.isEmpty(), qPrintable(said));
        QTEST(describe(rows), "grids");
    }

    void corruptParaEndsInTime() {
        const QString path = m_dir.filePath("huge.apf");
        TestFiles::write(path, crlf("[Main]\nPara=2147483647\n[]\nSort=1\nList=0\n"));
        QCOMPARE(readWith("new", path).video.size(), MaxProfileParameters);
    }

    void writing_data() {
        QTest::addColumn<QByteArray>("section"); // of the one parameter P
        QTest::addColumn<QString>("shown");      // "group value": P's row; empty: no row
        QTest::addColumn<QByteArray>("expected");
        const auto row = [](const char* tag, const QByteArray& section, const char* shown,
                            const QByteArray& expected) {
            QTest::newRow(tag) << section << QString(shown) << expected;
        };
        row("list: Index of the choice", ListAB, "1 a",
            "[P]\nSort=1\nList=1\nCaption=a,b,\nValue=1,2,\nIndex=0\n");
        row("captions differing in case: the first", "[P]\nSort=1\nCaption=A,a,\nIndex=1\n", "1 a",
            "[P]\nSort=1\nCaption=A,a,\nIndex=0\n");
        row("not among the captions", ListAB, "1 zz",
            "[P]\nSort=1\nList=1\nCaption=a,b,\nValue=1,2,\nIndex=-1\n");
        row("missing Index goes below the header", "[P]\nSort=1\nCaption=a,b,\n", "1 b",
            "[P]\nIndex=1\nSort=1\nCaption=a,b,\n");
        row("plain text: Caption and Value", "[P]\nSort=2\nList=0\nCaption=o\nValue=o\n",
            "2 new text", "[P]\nSort=2\nList=0\nCaption=new text\nValue=new text\n");
        row("read-only list keeps its Index", "[P]\nSort=1\nReadOnly=1\nCaption=a,b,\nIndex=1\n",
            "1 a", "[P]\nSort=1\nReadOnly=1\nCaption=a,b,\nIndex=1\n");
        row("read-only text untouched", "[P]\nSort=1\nReadOnly=1\nList=0\nCaption=x\nValue=v\n",
            "1 changed", "[P]\nSort=1\nReadOnly=1\nList=0\nCaption=x\nValue=v\n");
        row("row in another grid than Sort names", ListAB, "2 a", ListAB);
        row("no row for it: left as it is", ListAB, "", ListAB);
    }
    void writing() {
        QFETCH(QByteArray, section);
        QFETCH(QString, shown);
        const QString path = m_dir.filePath(QTest::currentDataTag());
        TestFiles::write(path, profile({"P"}, section));
        auto ini = TNewInifile::Create(path);
        std::optional<ProfileParameter> p =
            ReadProfile(NewIniProfileReader(*ini))
                .find(ParameterGroupFor(ini->ReadInteger("P", "Sort", 1), nullptr), "P");
        p->value = shown.section(u' ', 1);
        WriteProfileValues(*ini, [&](ParameterGroup g, const QString& key) {
            return !shown.isEmpty() && g == ParameterGroup(shown.left(1).toInt()) && key == "P"
                       ? p
                       : std::nullopt;
        });
        TNewInifile::SaveAndFree(ini);
        QFETCH(QByteArray, expected);
        QCOMPARE(TestFiles::read(path), profile({"P"}, expected));
    }
};

QTEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
