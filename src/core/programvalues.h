#pragma once

#include <QString>

// The program-wide values computed when the main window is created.
struct ProgramValues {
    QString programDir;      // folder of the executable, ending in "/"
    QString encoderPath;     // programDir + "asapi.dll"
    QString transcoderPath;  // programDir + "wmaspi.dll"
    QString productVersion;  // [Main] Version, "2.0" by default
    QString workDir;         // set by the settings dialog
    QString outputExtension; // "." + the loaded profile's Type

    QString preferencesPath() const;
    QString profilesDir() const;
    QString profilePath(const QString& profileName) const;
    QString helpPath() const;
    // ffprobe, to read back finished outputs: the program folder's link, else the PATH's; empty
    // when there is none.
    QString probePath() const;

    // programDir and the paths derived from it; the version at its default.
    static ProgramValues forProgramDir(const QString& programDir);
};
