#include "core/programvalues.h"

#include "core/paths.h"
#include "core/preferences.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

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

QString ProgramValues::probePath() const {
    const QString own = programDir + QStringLiteral("ffprobe");
    if (QFileInfo(own).isExecutable())
        return own;
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

QString ProgramValues::helpPath() const {
    return programDir + QStringLiteral("help/index.html");
}

ProgramValues ProgramValues::forProgramDir(const QString& dir) {
    ProgramValues v;
    v.programDir = WithTrailingSeparator(QDir(dir).absolutePath()); // tools run in other folders
    v.encoderPath = v.programDir + QStringLiteral("asapi.dll");
    v.transcoderPath = v.programDir + QStringLiteral("wmaspi.dll");
    v.productVersion = Prefs::DefaultVersion; // the caller reads the stored one
    v.workDir = v.programDir;
    return v;
}
