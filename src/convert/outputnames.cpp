#include "convert/outputnames.h"

#include "core/paths.h"
#include "platform/prompts.h"

#include <QFileInfo>

QString SafeFileNamePart(const QString& text) {
    QString safe = text;
    for (QChar& c : safe)
        if (c == u'/' || c.category() == QChar::Other_Control)
            c = u'_';
    return safe;
}

QString OutputPath(const ConversionJob& job, const ConversionItem& item) {
    QString path = job.outputDir;
    if (!job.volumeName.isEmpty())
        path += SafeFileNamePart(job.volumeName) + u'-';
    return path + SafeFileNamePart(item.outputName) + job.outputExtension;
}

QString HintText(const QString& volumeName, const QString& outputName, const QString& extension) {
    const QString volume =
        volumeName.size() > 18 ? volumeName.left(15) + QStringLiteral("...") : volumeName;
    return QStringLiteral("Converting: ") + volume + u'-' + outputName + extension;
}

QString RenamedPath(const QString& path, const QDateTime& now) {
    const QFileInfo info(path);
    const QString suffix = now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return FolderOfPath(path) + info.completeBaseName() + u'-' + suffix + extension;
}

QString OverwriteQuestion(const QString& fileName) {
    return QStringLiteral("The output file ") + fileName +
           QStringLiteral(" is already existent.\n\rClick \"Yes\" to overwrite it. Click \"No\" "
                          "to skip this file");
}

QString ChosenOutputPath(const ConversionJob& job, const ConversionItem& item, IPrompts& prompts,
                         const QDateTime& now) {
    const QString path = OutputPath(job, item);
    if (!QFileInfo::exists(path))
        return path;
    switch (job.overwrite) {
    case OverwriteChoice::Ask:
        return prompts.ask(OverwriteQuestion(QFileInfo(path).fileName()),
                           QStringLiteral("Output File Exists"))
                   ? path
                   : QString();
    case OverwriteChoice::Overwrite:
        return path;
    case OverwriteChoice::Rename:
        break;
    }
    return RenamedPath(path, now);
}
