#pragma once

#include <QString>

// The standard INI reader and writer: one key at a time, the file opened and closed at each call.
// Sections and keys match ignoring case, a key only as the whole name before the line's "=";
// values lose surrounding blanks and one pair of enclosing quotes, and are cut to 2047
// characters. Writing replaces a key's line in place, adds a missing key at the end of its
// section and a missing section at the end of the file, and replaces the file atomically.
class StandardIni {
public:
    static constexpr int MaxValueLength = 2047;

    explicit StandardIni(QString path);

    const QString& path() const { return m_path; }

    bool hasKey(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;
    // Decimal or "0x" hexadecimal; the default when missing or not a number.
    int readInteger(const QString& section, const QString& key, int defaultValue) const;
    // True for a non-zero integer.
    bool readBool(const QString& section, const QString& key, bool defaultValue) const;

    // False when the file cannot be written; `error` then says why. A value that reading would
    // trim or unquote is written in quotes, so that it reads back whole.
    bool writeString(const QString& section, const QString& key, const QString& value,
                     QString* error = nullptr);
    bool writeInteger(const QString& section, const QString& key, int value,
                      QString* error = nullptr);
    bool writeBool(const QString& section, const QString& key, bool value,
                   QString* error = nullptr);

    // The integer rule shared by readers: optional sign, decimal digits or 0x + hex digits.
    static bool parseInteger(const QString& text, int& value);

private:
    QString m_path;
};
