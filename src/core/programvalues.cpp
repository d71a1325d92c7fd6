#include "core/programvalues.h"

#include "core/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

GeneralPreferences GeneralPreferences::defaults(const QString& outputDir, const QString& workDir) {
    GeneralPreferences p;
    p.outputPath = outputDir;
    p.workDir = workDir;
    return p;
}

UserFolders UserFolders::ofThisUser() {
    const auto place = [](QStandardPaths::StandardLocation l) {
        return QStandardPaths::writableLocation(l);
    };
    UserFolders u;
    u.config = place(QStandardPaths::GenericConfigLocation);
    u.data = place(QStandardPaths::GenericDataLocation);
    u.cache = place(QStandardPaths::GenericCacheLocation);
    u.home = QDir::homePath();
    const QString videos = place(QStandardPaths::MoviesLocation);
    if (!videos.isEmpty() && videos != u.home && QFileInfo(videos).isDir())
        u.videos = videos;
    return u;
}

FolderLayout FolderLayout::choose(const QString& programDir, bool programDirWritable,
                                  const QString& sharedDataDir, const UserFolders& user) {
    FolderLayout f;
    const QString own = WithTrailingSeparator(programDir);
    f.installed = !sharedDataDir.isEmpty() || !programDirWritable;
    if (!f.installed) {
        f.dataDir = f.configDir = f.defaultOutputDir = f.defaultWorkDir = own;
        f.userProfilesDir = own + QStringLiteral("Profiles/");
        return f;
    }
    const QString name = QStringLiteral("ripvale/");
    f.dataDir = sharedDataDir.isEmpty() ? own : WithTrailingSeparator(sharedDataDir);
    f.configDir = WithTrailingSeparator(user.config) + name;
    f.userProfilesDir = WithTrailingSeparator(user.data) + name + QStringLiteral("Profiles/");
    f.defaultWorkDir = WithTrailingSeparator(user.cache) + name;
    f.defaultOutputDir = WithTrailingSeparator(user.videos.isEmpty() ? user.home : user.videos);
    return f;
}

QString ProgramValues::preferencesPath() const {
    return folders.configDir + Prefs::FileName;
}

QString ProgramValues::profilesDir() const {
    return folders.userProfilesDir;
}

QStringList ProgramValues::profileNames() const {
    QStringList names;
    for (const QString& dir : {folders.dataDir + QStringLiteral("Profiles/"), profilesDir()})
        for (const QString& file : ListFilesWithExtension(dir, QStringLiteral(".apf")))
            if (const QString name = ProfileNameOfFile(file); !names.contains(name))
                names << name;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

QString ProgramValues::profilePath(const QString& profileName) const {
    const QString file = profileName + QStringLiteral(".apf");
    const QString user = profilesDir() + file;
    if (QFileInfo::exists(user))
        return user;
    const QString shipped = folders.dataDir + QStringLiteral("Profiles/") + file;
    return QFileInfo::exists(shipped) ? shipped : user;
}

QString ProgramValues::probePath() const {
    const QString own = programDir + QStringLiteral("ffprobe");
    if (QFileInfo(own).isExecutable())
        return own;
    return QStandardPaths::findExecutable(QStringLiteral("ffprobe"));
}

QString ProgramValues::helpPath() const {
    return folders.dataDir + QStringLiteral("help/index.html");
}

GeneralPreferences ProgramValues::defaultPreferences() const {
    return GeneralPreferences::defaults(folders.defaultOutputDir, folders.defaultWorkDir);
}

ProgramValues ProgramValues::forProgramDir(const QString& dir) {
    const QString programDir = WithTrailingSeparator(QDir(dir).absolutePath());
    // PREFIX/lib/ripvale/ripvale reads PREFIX/share/ripvale/.
    const QString shared = QDir::cleanPath(programDir + QStringLiteral("../../share/ripvale"));
    const bool installed = QFileInfo(shared + QStringLiteral("/Profiles")).isDir();
    return forProgramDir(programDir,
                         FolderLayout::choose(programDir, QFileInfo(programDir).isWritable(),
                                              installed ? shared : QString(),
                                              UserFolders::ofThisUser()));
}

ProgramValues ProgramValues::forProgramDir(const QString& dir, const FolderLayout& folders) {
    ProgramValues v;
    v.programDir = WithTrailingSeparator(QDir(dir).absolutePath()); // tools run in other folders
    v.encoderPath = v.programDir + QStringLiteral("asapi.dll");
    v.transcoderPath = v.programDir + QStringLiteral("wmaspi.dll");
    v.productVersion = Prefs::DefaultVersion; // the caller reads the stored one
    v.folders = folders;
    return v;
}
