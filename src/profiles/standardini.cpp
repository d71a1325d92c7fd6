#include "profiles/standardini.h"
#include "profiles/replacefile.h"

#include <QFile>

#include <limits>
#include <optional>

namespace {

// The lines as bytes: a write gives back the lines it does not touch unchanged, also those that are
// not UTF-8.
QByteArrayList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray text = file.readAll();
    text.replace("\r\n", "\n");
    QByteArrayList lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The section name of a header line, whose trimmed text starts with "[" and ends with "]"; nothing
// for any other line, so that the two INI readers of the program agree on where sections are.
std::optional<QString> sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'[') || !t.endsWith(u']'))
        return std::nullopt;
    return t.mid(1, t.size() - 2);
}

bool isKeyLine(const QString& line, const QString& key, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';'))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    const QString name = (eq < 0 ? t : t.left(eq)).trimmed();
    if (name.compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value)
        *value = eq < 0 ? QString() : t.mid(eq + 1).trimmed();
    return true;
}

struct Located {
    qsizetype header = -1;  // line of the section header, -1 when the section is missing
    qsizetype keyLine = -1; // line of the key, -1 when missing
    qsizetype lastKey = -1; // last non-blank line of the section body
    QString value;
};

Located locate(const QByteArrayList& bytes, const QString& section, const QString& key) {
    Located at;
    bool inSection = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const QString line = QString::fromUtf8(bytes[i]);
        if (const auto name = sectionName(line)) {
            if (inSection)
                break; // only the first section of that name counts
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                at.header = at.lastKey = i;
            continue;
        }
        if (!inSection)
            continue;
        if (!line.trimmed().isEmpty())
            at.lastKey = i;
        if (at.keyLine < 0 && isKeyLine(line, key, &at.value))
            at.keyLine = i;
    }
    return at;
}

QString unquote(QString value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            value = value.mid(1, value.size() - 2);
    }
    return value;
}

// The value as written so that reading gives it back whole: one that reading would trim or
// unquote is put in quotes of its own.
QString quotedForReading(const QString& value) {
    return unquote(value.trimmed()) == value ? value : u'"' + value + u'"';
}

} // namespace

StandardIni::StandardIni(QString path) : m_path(std::move(path)) {}

bool StandardIni::hasKey(const QString& section, const QString& key) const {
    return locate(readLines(m_path), section, key).keyLine >= 0;
}

QString StandardIni::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const {
    const Located at = locate(readLines(m_path), section, key);
    const QString value = at.keyLine < 0 ? defaultValue : unquote(at.value);
    return value.left(MaxValueLength);
}

bool StandardIni::parseInteger(const QString& text, int& value) {
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t.remove(0, 1);
    }
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digits = t.mid(2);
        ok = !digits.isEmpty() && !digits.startsWith(u'+') && !digits.startsWith(u'-');
        if (ok)
            v = digits.toLongLong(&ok, 16);
    } else {
        ok = !t.isEmpty() && t.front().isDigit();
        if (ok)
            v = t.toLongLong(&ok, 10);
    }
    if (!ok)
        return false;
    if (negative)
        v = -v;
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        return false;
    value = int(v);
    return true;
}

int StandardIni::readInteger(const QString& section, const QString& key, int defaultValue) const {
    const Located at = locate(readLines(m_path), section, key);
    int value = defaultValue;
    if (at.keyLine < 0 || !parseInteger(unquote(at.value), value))
        return defaultValue;
    return value;
}

bool StandardIni::readBool(const QString& section, const QString& key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

bool StandardIni::writeString(const QString& section, const QString& key, const QString& value,
                              QString* error) {
    QByteArrayList lines = readLines(m_path);
    const Located at = locate(lines, section, key);
    const QByteArray line = (key + u'=' + quotedForReading(value)).toUtf8();
    if (at.keyLine >= 0) {
        lines[at.keyLine] = line;
    } else if (at.header >= 0) {
        lines.insert(at.lastKey + 1, line);
    } else {
        if (!lines.isEmpty() && !QString::fromUtf8(lines.last()).trimmed().isEmpty())
            lines << QByteArray();
        lines << (u'[' + section + u']').toUtf8() << line;
    }

    return replaceFile(m_path, lines.join("\r\n") + "\r\n", error);
}

bool StandardIni::writeInteger(const QString& section, const QString& key, int value,
                               QString* error) {
    return writeString(section, key, QString::number(value), error);
}

bool StandardIni::writeBool(const QString& section, const QString& key, bool value,
                            QString* error) {
    return writeInteger(section, key, value ? 1 : 0, error);
}
