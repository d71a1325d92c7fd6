#pragma once

#include "profiles/standardini.h"

#include <QString>

class TNewInifile;

// Read access to a profile file. The main window and the conversion read profiles with the
// standard reader, the settings dialog with TNewInifile; loading a profile is written once over
// this interface and serves both.
class IProfileReader {
public:
    virtual ~IProfileReader() = default;
    virtual QString readString(const QString& section, const QString& key,
                               const QString& defaultValue = {}) const = 0;
    virtual int readInteger(const QString& section, const QString& key, int defaultValue) const = 0;
    virtual bool readBool(const QString& section, const QString& key, bool defaultValue) const = 0;
};

class StandardProfileReader final : public IProfileReader {
public:
    explicit StandardProfileReader(const QString& path) : m_ini(path) {}
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    int readInteger(const QString& section, const QString& key, int defaultValue) const override;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const override;

private:
    StandardIni m_ini;
};

// Reads through an open TNewInifile, which the caller releases.
class NewIniProfileReader final : public IProfileReader {
public:
    explicit NewIniProfileReader(const TNewInifile& ini) : m_ini(ini) {}
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    int readInteger(const QString& section, const QString& key, int defaultValue) const override;
    bool readBool(const QString& section, const QString& key, bool defaultValue) const override;

private:
    const TNewInifile& m_ini;
};
