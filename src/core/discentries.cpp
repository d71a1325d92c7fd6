#include "core/discentries.h"

#include "core/paths.h"

#include <QFile>
#include <QFileInfo>

CommandLineEntries ReadCommandLineEntries(const QStringList& arguments) {
    CommandLineEntries result;
    if (arguments.isEmpty())
        return result;
    const QString& first = arguments.front();
    if (!first.toLower().endsWith(QLatin1String(".tmp"))) {
        result.entries = arguments;
        return result;
    }
    QFile list(first);
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text)) {
        result.error =
            QStringLiteral("Cannot read the list file \"%1\". %2").arg(first, list.errorString());
        return result;
    }
    const QString text = QString::fromUtf8(list.readAll());
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        result.entries << line;
    }
    if (!result.entries.isEmpty() && result.entries.last().isEmpty())
        result.entries.removeLast();
    return result;
}

QString FolderForEntry(const QString& entry) {
    if (entry.isEmpty())
        return {};
    const QFileInfo info(entry);
    if (info.isFile())
        return IsDiscImage(entry) ? info.absoluteFilePath() : FolderOfPath(info.absoluteFilePath());
    if (info.isDir())
        return entry;
    return {};
}
