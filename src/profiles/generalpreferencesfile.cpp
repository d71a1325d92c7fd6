#include "profiles/generalpreferencesfile.h"

#include "profiles/newinifile.h"
#include "profiles/profilereader.h"
#include "profiles/standardini.h"

namespace {
// One section read through either INI reader, each with its own rules for values.
GeneralPreferences readWith(const IProfileReader& ini, const QString& section,
                            const QString& programDir) {
    GeneralPreferences p = GeneralPreferences::defaults(programDir);
    p.forEachKey(
        [&](const QString& key, QString& value) { value = ini.readString(section, key, value); },
        [&](const QString& key, int& value) { value = ini.readInteger(section, key, value); },
        [&](const QString& key, bool& value) { value = ini.readBool(section, key, value); });
    return p;
}
} // namespace

GeneralPreferences ReadGeneralPreferences(const TNewInifile& ini, const QString& section,
                                          const QString& programDir) {
    return readWith(NewIniProfileReader(ini), section, programDir);
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
    return readWith(StandardProfileReader(preferencesPath), section, programDir);
}

ProgramValues LoadProgramValues(const QString& programDir) {
    ProgramValues v = ProgramValues::forProgramDir(programDir);
    v.productVersion = StandardIni(v.preferencesPath())
                           .readString(Prefs::MainSection, Prefs::Version, Prefs::DefaultVersion);
    return v;
}
