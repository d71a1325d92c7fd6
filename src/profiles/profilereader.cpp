#include "profiles/profilereader.h"

#include "profiles/newinifile.h"

QString StandardProfileReader::readString(const QString& section, const QString& key,
                                          const QString& defaultValue) const {
    return m_ini.readString(section, key, defaultValue);
}

int StandardProfileReader::readInteger(const QString& section, const QString& key,
                                       int defaultValue) const {
    return m_ini.readInteger(section, key, defaultValue);
}

bool StandardProfileReader::readBool(const QString& section, const QString& key,
                                     bool defaultValue) const {
    return m_ini.readBool(section, key, defaultValue);
}

QString NewIniProfileReader::readString(const QString& section, const QString& key,
                                        const QString& defaultValue) const {
    return m_ini.ReadString(section, key, defaultValue);
}

int NewIniProfileReader::readInteger(const QString& section, const QString& key,
                                     int defaultValue) const {
    return m_ini.ReadInteger(section, key, defaultValue);
}

bool NewIniProfileReader::readBool(const QString& section, const QString& key,
                                   bool defaultValue) const {
    return m_ini.ReadBool(section, key, defaultValue);
}
