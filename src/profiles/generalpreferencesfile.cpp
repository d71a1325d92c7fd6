#include "profiles/generalpreferencesfile.h"

#include "profiles/newinifile.h"
#include "profiles/profilereader.h"
#include "profiles/standardini.h"

#include <QDir>

namespace {
// One section read through either INI reader, each with its own rules for values.
GeneralPreferences readWith(const IProfileReader& ini, const QString& section,
                            const GeneralPreferences& defaults) {
    GeneralPreferences p = defaults;
    p.forEachKey(
        [&](const QString& key, QString& value) { value = ini.readString(section, key, value); },
        [&](const QString& key, int& value) { value = ini.readInteger(section, key, value); },
        [&](const QString& key, bool& value) { value = ini.readBool(section, key, value); });
    return p;
}
} // namespace

GeneralPreferences ReadGeneralPreferences(const TNewInifile& ini, const QString& section,
                                          const GeneralPreferences& defaults) {
    return readWith(NewIniProfileReader(ini), section, defaults);
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
                                                  const GeneralPreferences& defaults) {
    return readWith(StandardProfileReader(preferencesPath), section, defaults);
}

ProgramValues LoadProgramValues(const QString& programDir) {
    ProgramValues v = ProgramValues::forProgramDir(programDir);
    // An installed copy's own folders of the user's are made on first use.
    if (v.folders.installed)
        for (const QString& dir : {v.folders.configDir, v.folders.defaultWorkDir})
            QDir().mkpath(dir);
    v.productVersion = StandardIni(v.preferencesPath())
                           .readString(Prefs::MainSection, Prefs::Version, Prefs::DefaultVersion);
    return v;
}
