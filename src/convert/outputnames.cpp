#include "convert/conversiondriver.h"

#include "core/paths.h"
#include "platform/prompts.h"

#include <QDateTime>
#include <QFileInfo>

// Where an item's output goes and the texts that name it.

QString TConversionDriver::SafeFileNamePart(const QString& text) {
    QString safe = text;
    for (QChar& c : safe)
        if (c == u'/' || c.category() == QChar::Other_Control)
            c = u'_';
    return safe;
}

QString TConversionDriver::OutputPath(const ConversionJob& job, const ConversionItem& item) {
    QString path = job.outputDir;
    if (!job.volumeName.isEmpty())
        path += SafeFileNamePart(job.volumeName) + u'-';
    return path + SafeFileNamePart(item.outputName) + job.outputExtension;
}

QString TConversionDriver::HintText(const QString& volumeName, const QString& outputName,
                                    const QString& extension) {
    const QString volume =
        volumeName.size() > 18 ? volumeName.left(15) + QStringLiteral("...") : volumeName;
    return QStringLiteral("Converting: ") + volume + u'-' + outputName + extension;
}

QString TConversionDriver::RenamedPath(const QString& path, const QDateTime& now) {
    const QFileInfo info(path);
    const QString suffix = now.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    const QString extension = info.suffix().isEmpty() ? QString() : u'.' + info.suffix();
    return FolderOfPath(path) + info.completeBaseName() + u'-' + suffix + extension;
}

QString TConversionDriver::OverwriteQuestion(const QString& fileName) {
    return QStringLiteral("The output file ") + fileName +
           QStringLiteral(" is already existent.\n\rClick \"Yes\" to overwrite it. Click \"No\" "
                          "to skip this file");
}

QString TConversionDriver::ChosenOutputPath(const ConversionJob& job, const ConversionItem& item,
                                            IPrompts& prompts) {
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
    return RenamedPath(path, QDateTime::currentDateTime());
}
