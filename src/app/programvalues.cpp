#include "programvalues.h"

#include "paths.h"
#include "preferences.h"
#include "standardini.h"

GeneralPreferences GeneralPreferences::defaults(const QString& programDir) {
    GeneralPreferences p;
    p.outputPath = programDir;
    p.workDir = programDir;
    return p;
}

QString ProgramValues::preferencesPath() const {
    return programDir + Prefs::FileName;
}

QString ProgramValues::profilesDir() const {
    return programDir + QStringLiteral("Profiles/");
}

QString ProgramValues::profilePath(const QString& profileName) const {
    return profilesDir() + profileName + QStringLiteral(".apf");
}

QString ProgramValues::helpPath() const {
    return programDir + QStringLiteral("help/index.html");
}

ProgramValues ProgramValues::forProgramDir(const QString& dir) {
    ProgramValues v;
    v.programDir = WithTrailingSeparator(dir);
    v.encoderPath = v.programDir + QStringLiteral("asapi.dll");
    v.transcoderPath = v.programDir + QStringLiteral("wmaspi.dll");
    v.productVersion = StandardIni(v.preferencesPath())
                           .readString(Prefs::MainSection, Prefs::Version, Prefs::DefaultVersion);
    v.workDir = v.programDir;
    return v;
}
