#include "generalpreferencesfile.h"

#include "newinifile.h"

GeneralPreferences ReadGeneralPreferences(const TNewInifile& ini, const QString& section,
                                          const QString& programDir) {
    GeneralPreferences p = GeneralPreferences::defaults(programDir);
    p.forEachKey(
        [&](const QString& key, QString& value) { value = ini.ReadString(section, key, value); },
        [&](const QString& key, int& value) { value = ini.ReadInteger(section, key, value); },
        [&](const QString& key, bool& value) { value = ini.ReadBool(section, key, value); });
    return p;
}

void WriteGeneralPreferences(TNewInifile& ini, const GeneralPreferences& settings) {
    const QString& s = Prefs::MainSection;
    GeneralPreferences p = settings;
    p.forEachKey([&](const QString& key, QString& value) { ini.WriteString(s, key, value); },
                 [&](const QString& key, int& value) { ini.WriteInteger(s, key, value); },
                 [&](const QString& key, bool& value) { ini.WriteBool(s, key, value); });
}
