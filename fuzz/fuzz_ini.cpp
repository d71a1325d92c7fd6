// The input is an INI file's bytes. Both readers read it, TNewInifile and StandardIni write into it
// and into a fresh file, and what must hold whatever the input is checked; a violation aborts.
#include "profiles/newinifile.h"
#include "profiles/standardini.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

void check(bool holds, const char* what) {
    if (holds)
        return;
    std::fprintf(stderr, "violated: %s\n", what);
    std::abort();
}

QString folder() {
    // Files of one process, in memory when possible: every save is flushed to its disk.
    static const QTemporaryDir dir(QDir("/dev/shm").exists()
                                       ? "/dev/shm/fuzz_ini-XXXXXX"
                                       : QDir::tempPath() + "/fuzz_ini-XXXXXX");
    return dir.path();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(bytes) == bytes.size(),
          "the input can be written to a file");
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray withoutLineEnds(QByteArray bytes) {
    return bytes.replace('\r', QByteArray()).replace('\n', QByteArray());
}

bool hasLineBreak(const QString& text) {
    return text.contains(u'\r') || text.contains(u'\n');
}

struct Entry {
    QString section, key, value;
};

// Section, key and value of the input's first lines, as a person editing the file would see them.
QList<Entry> entriesOf(const QByteArray& input) {
    QList<Entry> entries = {{"Main", "Para", "3"}};
    QString section = "Main";
    const QList<QByteArray> lines = input.split('\n');
    for (qsizetype i = 0; i < lines.size() && i < 16; ++i) {
        const QString line = QString::fromUtf8(lines[i]).remove(u'\r');
        if (line.startsWith(u'[')) {
            section = line.mid(1).section(u']', 0, 0);
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        entries.append(
            {section, eq < 0 ? line : line.left(eq), eq < 0 ? QString() : line.mid(eq + 1)});
    }
    return entries;
}

// Names in the form both readers understand alike: no brackets, "=", quotes, comment mark or
// non-ASCII letters, no blanks at the ends.
QString plain(const QString& text) {
    QString out;
    for (const QChar c : text) {
        if (c.unicode() < 128 && (c.isLetterOrNumber() || QStringLiteral(" _.,-/:").contains(c)))
            out += c;
    }
    return out.left(200).trimmed(); // cut first, so that no blank is left at the end
}

// Rewriting changes the line ends only, and reading the rewritten file gives the same lines.
void checkRewrite(const QString& path, const QByteArray& input) {
    auto ini = TNewInifile::Create(path);
    const QByteArrayList lines = ini->Lines();
    for (const QByteArray& line : lines)
        check(!line.contains('\r') && !line.contains('\n'), "lines hold no line ends");
    TNewInifile::SaveAndFree(ini);
    const QByteArray saved = readFile(path);
    check(withoutLineEnds(saved) == withoutLineEnds(input), "rewriting changes line ends only");
    check(saved.isEmpty() || saved.endsWith("\r\n"), "every saved line ends with CR LF");
    check(TNewInifile(path).Lines() == lines, "the rewritten file reads as the same lines");
}

void checkReads(const QString& path, const Entry& e) {
    const TNewInifile own(path);
    const StandardIni standard(path);
    const qsizetype h = own.FindSectionLine(e.section);
    const qsizetype k = own.FindKeyLine(e.section, e.key);
    const bool ownFound =
        own.ReadString(e.section, e.key, "a") == own.ReadString(e.section, e.key, "b");
    check(ownFound == (k >= 0), "ReadString finds what FindKeyLine finds");
    if (k >= 0 && !hasLineBreak(e.section))
        check(h >= 0 && h + k < own.Lines().size(), "the key's line lies within the file");
    own.ReadInteger(e.section, e.key, 7);
    own.ReadBool(e.section, e.key, true);

    const QString s = standard.readString(e.section, e.key, "a");
    check((s == standard.readString(e.section, e.key, "b")) == standard.hasKey(e.section, e.key),
          "readString finds what hasKey finds");
    check(s.size() <= StandardIni::MaxValueLength, "at most 2047 characters");
    standard.readInteger(e.section, e.key, 7);
    standard.readBool(e.section, e.key, true);
}

// A key written reads back as written, before and after the release, unless a line break cuts
// it, its name holds "=" or blanks at its ends, its line reads as a header ("[k=v]"), or the
// section's header line holds more than "[section]". Brackets, "=" and quotes in values stay.
void checkOwnWrite(const QString& path, const Entry& e) {
    auto ini = TNewInifile::Create(path);
    const qsizetype h = ini->FindSectionLine(e.section);
    const bool plainHeader =
        h < 0 ||
        QString::fromUtf8(ini->Lines()[h]).compare('[' + e.section + ']', Qt::CaseInsensitive) == 0;
    const QString line = (e.key + u'=' + e.value).trimmed();
    const bool headerLike = line.startsWith(u'[') && line.endsWith(u']');
    const bool readable = plainHeader && !hasLineBreak(e.section + e.key + e.value) &&
                          !e.key.contains(u'=') && e.key.trimmed() == e.key && !headerLike;
    ini->WriteString(e.section, e.key, e.value);
    for (const QByteArray& line : ini->Lines())
        check(!line.contains('\r') && !line.contains('\n'), "written lines hold no line ends");
    if (readable)
        check(ini->ReadString(e.section, e.key, {}) == e.value, "WriteString then ReadString");
    TNewInifile::SaveAndFree(ini);
    if (readable)
        check(TNewInifile(path).ReadString(e.section, e.key, {}) == e.value,
              "the saved key reads back");
}

// Lines as StandardIni splits them: at LF or CR LF only.
QByteArrayList standardLines(QByteArray bytes) {
    QByteArrayList lines = bytes.replace("\r\n", "\n").split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Lines of a file before and after one key was written with StandardIni: all but one of the old
// lines are still there, in order, byte for byte.
void checkStandardWrite(const QString& path, const Entry& e) {
    const QByteArrayList before = standardLines(readFile(path));
    StandardIni ini(path);
    check(ini.writeString(e.section, e.key, e.value), "StandardIni writes");
    check(ini.readString(e.section, e.key, "\n") == e.value, "writeString then readString");
    const QByteArrayList after = standardLines(readFile(path));
    qsizetype same = 0;
    while (same < before.size() && same < after.size() && before[same] == after[same])
        ++same;
    qsizetype tail = 0;
    while (tail < before.size() - same && tail < after.size() - same &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    check(before.size() - same - tail <= 1, "StandardIni leaves the other lines as they were");
}

// Plain entries written by the two writers in turn into a fresh file read back alike with both.
void checkAgreement(const QList<Entry>& entries, const QByteArray& input) {
    const QString path = folder() + "/fresh.ini";
    QFile::remove(path);
    QMap<QString, QMap<QString, QString>> model; // lowered section, lowered key: value
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry e{plain(entries[i].section), plain(entries[i].key), plain(entries[i].value)};
        if (e.section.isEmpty() || e.key.isEmpty())
            continue;
        QMap<QString, QString>& keys = model[e.section.toLower()];
        const QString key = e.key.toLower();
        if ((i + input.size()) % 2 == 0) {
            check(StandardIni(path).writeString(e.section, e.key, e.value), "StandardIni writes");
        } else {
            auto ini = TNewInifile::Create(path);
            ini->WriteString(e.section, e.key, e.value);
            TNewInifile::SaveAndFree(ini);
        }
        keys[key] = e.value;
    }
    const StandardIni standard(path);
    const TNewInifile own(path);
    for (auto s = model.cbegin(); s != model.cend(); ++s) {
        for (auto k = s->cbegin(); k != s->cend(); ++k) {
            check(standard.readString(s.key(), k.key(), "\n") == k.value(), "StandardIni reads it");
            check(own.ReadString(s.key(), k.key(), "\n") == k.value(), "TNewInifile reads it");
        }
    }
}

// Whether StandardIni reads `e` back exactly as written.
bool standardReadsBack(const Entry& e) {
    const auto bare = [](const QString& t) { return t == t.trimmed() && !hasLineBreak(t); };
    const bool quoted = e.value.size() >= 2 &&
                        (e.value.front() == u'"' || e.value.front() == u'\'') &&
                        e.value.back() == e.value.front();
    return bare(e.section) && !e.section.contains(u']') && bare(e.key) && !e.key.contains(u'=') &&
           !e.key.startsWith(u';') && !e.key.startsWith(u'[') && bare(e.value) && !quoted &&
           e.value.size() <= StandardIni::MaxValueLength;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = folder() + "/input.ini";
    const QList<Entry> entries = entriesOf(input);

    writeFile(path, input);
    checkRewrite(path, input);
    for (const Entry& e : entries.mid(0, 8))
        checkReads(path, e);
    for (const Entry& e : entries.mid(0, 4))
        checkOwnWrite(path, e);

    writeFile(path, input);
    for (const Entry& e : entries.mid(0, 4)) {
        const Entry p{plain(e.section), plain(e.key), plain(e.value)};
        checkStandardWrite(path, standardReadsBack(e) ? e : p);
    }

    checkAgreement(entries, input);
    return 0;
}
