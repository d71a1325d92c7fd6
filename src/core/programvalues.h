#pragma once

#include "core/preferences.h"

#include <QString>
#include <QStringList>

// The user's own folders, as the desktop names them.
struct UserFolders {
    QString config; // $XDG_CONFIG_HOME, ~/.config
    QString data;   // $XDG_DATA_HOME, ~/.local/share
    QString cache;  // $XDG_CACHE_HOME, ~/.cache
    QString videos; // the videos folder; empty when it does not exist
    QString home;

    static UserFolders ofThisUser();
};

// Where a copy of the program keeps and finds its files. A portable copy (a build tree, a
// copy in a folder of the user's) keeps everything beside the executable; an installed copy,
// whose program folder holds no data of its own or cannot be written, reads its shipped data
// from the installation and keeps the user's files in the user's folders.
struct FolderLayout {
    bool installed = false;
    QString dataDir;          // the shipped Profiles/ and help/
    QString configDir;        // Preferences.ini
    QString userProfilesDir;  // profiles the user saves; listed with the shipped ones
    QString defaultOutputDir; // of the Output Path setting
    QString defaultWorkDir;   // of the Work Dir setting

    // `sharedDataDir`: the installation's data folder (PREFIX/share/ripvale/) when it holds
    // the profiles, else empty. Every folder ends in "/".
    static FolderLayout choose(const QString& programDir, bool programDirWritable,
                               const QString& sharedDataDir, const UserFolders& user);
};

// The program-wide values computed when the main window is created.
struct ProgramValues {
    QString programDir;     // folder of the executable, ending in "/"
    QString encoderPath;    // programDir + "asapi.dll"
    QString transcoderPath; // programDir + "wmaspi.dll"
    QString productVersion; // [Main] Version, "2.0" by default
    FolderLayout folders;

    QString preferencesPath() const;
    // Where profiles the user saves go.
    QString profilesDir() const;
    // The shipped profiles and the user's, as one list sorted without regard to letter case;
    // a user's profile of a shipped one's name stands in for it.
    QStringList profileNames() const;
    // The user's file of that name where there is one, else the shipped one.
    QString profilePath(const QString& profileName) const;
    QString helpPath() const;
    // ffprobe, to read back finished outputs: the program folder's link, else the PATH's; empty
    // when there is none.
    QString probePath() const;
    // Every setting at its default, the folders this copy's own.
    GeneralPreferences defaultPreferences() const;

    // programDir and the paths derived from it, the folders as this user finds them; the
    // version at its default.
    static ProgramValues forProgramDir(const QString& programDir);
    // The same with the folders given (tests).
    static ProgramValues forProgramDir(const QString& programDir, const FolderLayout& folders);
};
