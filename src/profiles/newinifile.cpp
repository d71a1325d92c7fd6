#include "profiles/newinifile.h"
#include "profiles/replacefile.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <optional>

namespace {

// Lines ended by CR, LF or CR LF; a line end at the very end adds no empty line.
template <typename Text> QList<Text> splitLines(const Text& text) {
    using Char = typename Text::value_type;
    QList<Text> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Char c = text.at(i);
        if (c != Char(u'\r') && c != Char(u'\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == Char(u'\r') && i + 1 < text.size() && text.at(i + 1) == Char(u'\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

// Only A to Z are folded, so positions in the lowered text are positions in the original.
QString asciiLower(QString text) {
    for (QChar& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return text;
}

// Whether the line is the header of `section`: its trimmed text is "[" + name + "]". A line
// that only holds a "[" somewhere, such as a value naming a folder "work [1]", is not a header.
bool isHeaderOf(const QString& line, const QString& section) {
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.endsWith(u']') && t.size() >= 2 &&
           asciiLower(t.mid(1, t.size() - 2)) == asciiLower(section);
}

bool isHeader(const QString& line) {
    const QString t = line.trimmed();
    return t.size() >= 2 && t.startsWith(u'[') && t.endsWith(u']');
}

// Index of the first line whose name, the whole text before its first "=" without the blanks
// around it, is `key`; the rest of that line after the "=" goes to `value`, verbatim.
qsizetype keyLine(const QString& key, const QStringList& lines, QString* value) {
    const QString wanted = asciiLower(key);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype eq = lines[i].indexOf(u'=');
        if (eq < 0 || asciiLower(lines[i].left(eq).trimmed()) != wanted)
            continue;
        if (value)
            *value = lines[i].mid(eq + 1);
        return i;
    }
    return -1;
}

std::optional<int> decimal(const QString& text) {
    static const QRegularExpression form(QRegularExpression::anchoredPattern("[+-]?[0-9]+"));
    bool ok = false;
    const int value = form.match(text).hasMatch() ? text.toInt(&ok, 10) : 0;
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Whether `text` is a decimal number (fraction and exponent allowed), and whether it is zero.
std::optional<bool> numberIsNonZero(const QString& text) {
    static const QRegularExpression form(
        QRegularExpression::anchoredPattern("[+-]?([0-9]*)\\.?([0-9]*)([eE][+-]?[0-9]+)?"));
    const QRegularExpressionMatch m = form.match(text);
    const QString mantissa = m.captured(1) + m.captured(2);
    if (!m.hasMatch() || mantissa.isEmpty())
        return std::nullopt;
    return mantissa.count(u'0') != mantissa.size();
}

} // namespace

EInifileError::EInifileError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

TNewInifile::TNewInifile(QString fileName) : m_fileName(std::move(fileName)) {
    if (!QFileInfo::exists(m_fileName))
        return;
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EInifileError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(m_fileName, file.errorString()));
    m_lines = splitLines(file.readAll());
}

std::unique_ptr<TNewInifile> TNewInifile::Create(const QString& fileName) {
    return std::make_unique<TNewInifile>(fileName);
}

void TNewInifile::SaveAndFree(std::unique_ptr<TNewInifile>& ini) {
    if (!ini)
        return;
    ini->save();
    ini.reset();
}

void TNewInifile::save() const {
    QString reason;
    if (!replaceFile(m_fileName, bytes(), &reason))
        throw EInifileError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(m_fileName, reason));
}

QByteArray TNewInifile::bytes() const {
    QByteArray bytes;
    for (const QByteArray& line : m_lines)
        bytes.append(line).append("\r\n");
    return bytes;
}

QString TNewInifile::SectionText(const QString& section) const {
    const qsizetype h = FindSectionLine(section);
    if (h < 0)
        return {};
    // Line 0 is what follows the header's "]" on its line: nothing, for a header line.
    QString body = QStringLiteral("\r\n");
    for (qsizetype i = h + 1; i < m_lines.size(); ++i) {
        const QString line = QString::fromUtf8(m_lines[i]);
        if (isHeader(line))
            break;
        body += line + QStringLiteral("\r\n");
    }
    return body;
}

QString TNewInifile::FindValue(const QString& key, const QStringList& bodyLines,
                               const QString& defaultValue) {
    QString value;
    return keyLine(key, bodyLines, &value) < 0 ? defaultValue : value;
}

QString TNewInifile::ReadString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    return FindValue(key, splitLines(SectionText(section)), defaultValue);
}

int TNewInifile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    return decimal(ReadString(section, key, QString::number(defaultValue))).value_or(defaultValue);
}

bool TNewInifile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    const QString value = asciiLower(ReadString(section, key, defaultValue ? "-1" : "0"));
    if (value == u"true")
        return true;
    if (value == u"false")
        return false;
    return numberIsNonZero(value).value_or(defaultValue);
}

qsizetype TNewInifile::FindSectionLine(const QString& section) const {
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (isHeaderOf(QString::fromUtf8(m_lines[i]), section))
            return i;
    }
    return -1;
}

qsizetype TNewInifile::FindKeyLine(const QString& section, const QString& key) const {
    return keyLine(key, splitLines(SectionText(section)), nullptr);
}

void TNewInifile::WriteString(const QString& section, const QString& key, const QString& value) {
    // A line break inside a name or value makes more than one line, as it would after a reload;
    // held as one it would shift the line numbers that FindKeyLine counts.
    const QByteArrayList entry = splitLines((key + u'=' + value).toUtf8());
    const qsizetype h = FindSectionLine(section);
    if (h < 0) {
        m_lines += splitLines((u'[' + section + u']').toUtf8());
        m_lines += entry;
        return;
    }
    const qsizetype k = FindKeyLine(section, key);
    if (k >= 0)
        m_lines.remove(h + k);
    const qsizetype at = k < 0 ? h + 1 : h + k;
    for (qsizetype i = 0; i < entry.size(); ++i)
        m_lines.insert(at + i, entry[i]);
}

void TNewInifile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TNewInifile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}
