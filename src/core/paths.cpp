#include "core/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <unistd.h>

QString WithTrailingSeparator(const QString& folder) {
    if (folder.endsWith(u'/'))
        return folder;
    return folder + u'/';
}

QString NameWithoutExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot < 0 ? fileName : fileName.left(dot);
}

bool IsDiscImage(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.suffix().compare(QLatin1String("iso"), Qt::CaseInsensitive) == 0;
}

QString EntryIgnoringCase(const QString& folder, const QString& name) {
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name)))
        return name;
    const QStringList entries =
        dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

QString FolderOfPath(const QString& path) {
    return path.left(path.lastIndexOf(u'/') + 1);
}

QStringList ListFilesWithExtension(const QString& folder, const QString& extension) {
    QStringList names;
    const QDir dir(folder);
    if (!dir.exists())
        return names;
    // QDir::Files without QDir::Hidden leaves out hidden files; System stays out too.
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::NoSort);
    for (const QFileInfo& info : entries) {
        const QString name = info.fileName();
        if (name.size() > extension.size() &&
            name.right(extension.size()).compare(extension, Qt::CaseInsensitive) == 0)
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return names;
}

QString ProfileNameOfFile(const QString& fileName) {
    return NameWithoutExtension(fileName);
}

QString AccessProblem(const QString& path, bool folder) {
    const QByteArray name = QFile::encodeName(path);
    if (::access(name.constData(), folder ? R_OK | X_OK : R_OK) == 0)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
}
