#include "profiles/generalpreferencesfile.h"

#include "profiles/newinifile.h"
#include "profiles/standardini.h"

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

GeneralPreferences ReadStandardGeneralPreferences(const QString& preferencesPath,
                                                  const QString& section,
                                                  const QString& programDir) {
    const StandardIni ini(preferencesPath);
    GeneralPreferences p = GeneralPreferences::defaults(programDir);
    p.forEachKey(
        [&](const QString& key, QString& value) { value = ini.readString(section, key, value); },
        [&](const QString& key, int& value) { value = ini.readInteger(section, key, value); },
        [&](const QString& key, bool& value) { value = ini.readBool(section, key, value); });
    return p;
}

ProgramValues LoadProgramValues(const QString& programDir) {
    ProgramValues v = ProgramValues::forProgramDir(programDir);
    v.productVersion = StandardIni(v.preferencesPath())
                           .readString(Prefs::MainSection, Prefs::Version, Prefs::DefaultVersion);
    return v;
}
