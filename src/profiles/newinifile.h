#pragma once

#include <QByteArrayList>
#include <QString>
#include <QStringList>

#include <memory>
#include <stdexcept>

// An INI file that cannot be read or written. message() is the text the user is shown.
class EInifileError : public std::runtime_error {
public:
    explicit EInifileError(const QString& message);
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// The settings dialog's INI file: the whole file held in memory as lines, answered by text search
// and written back whole by SaveAndFree. Its rules differ from StandardIni on purpose:
// - section and key names match ignoring the case of A to Z only;
// - a header is a line whose trimmed text starts with "[" and ends with "]"; a section's body
//   runs from its first header to the next header line, so values may hold "[" and "]";
// - a key is the first body line whose whole name before its first "=" (blanks around it aside)
//   is the key, and its value is the rest of that line, verbatim, "=" and quotes included;
// - a key new to a section is written directly below the header, so keys written one after
//   another into a new section end up in reverse order.
// Names and values are UTF-8 on disk; lines that are not touched are written back byte for byte.
class TNewInifile {
public:
    // Reads the file when it exists; a missing file reads as empty and is created on release.
    // Throws EInifileError when the file exists but cannot be read.
    explicit TNewInifile(QString fileName);
    static std::unique_ptr<TNewInifile> Create(const QString& fileName);

    // Writes the lines to the file, each ended by CR LF, replacing it atomically, then releases
    // `ini`; reading only rewrites the file too. Does nothing when `ini` is empty. When the file
    // cannot be written, throws EInifileError "Cannot create file "<path>". <reason>" and keeps
    // `ini`, so the caller may try again.
    static void SaveAndFree(std::unique_ptr<TNewInifile>& ini);

    // An instance destroyed without SaveAndFree drops its changes: only SaveAndFree writes, so an
    // error part-way through an edit never leaves a half-edited file behind.
    ~TNewInifile() = default;
    TNewInifile(const TNewInifile&) = delete;
    TNewInifile& operator=(const TNewInifile&) = delete;

    const QString& FileName() const { return m_fileName; }
    // The file's lines without line ends, as bytes.
    const QByteArrayList& Lines() const { return m_lines; }

    // The lines after the first "[section]" header up to the next header, each after a line end
    // (line 0 is the header line's empty rest); empty when not found.
    QString SectionText(const QString& section) const;
    // The rest of the first line whose name is `key`, else `defaultValue`.
    static QString FindValue(const QString& key, const QStringList& bodyLines,
                             const QString& defaultValue);

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal only: optional sign and digits. Anything else, or out of range, gives the default.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // True for a non-zero number or "True", false for zero or "False"; else the default.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // Index in Lines() of the first header line of the section, or -1.
    qsizetype FindSectionLine(const QString& section) const;
    // Index of the key's line within SectionText(section), or -1. Index 0 is the rest of the
    // header line, so FindSectionLine + FindKeyLine is the key's line in Lines().
    qsizetype FindKeyLine(const QString& section, const QString& key) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value); // "1" or "0"

private:
    void save() const;
    QByteArray bytes() const; // each line ended by CR LF

    QString m_fileName;
    QByteArrayList m_lines;
};
