#include "conversionjob.h"

#include "paths.h"

#include <QDir>

ConversionJob BuildConversionJob(const ConversionJobSource& source, EncoderMemory& memory) {
    ConversionJob job;
    job.items = source.items;
    job.outputDir = WithTrailingSeparator(source.outputFolder);
    QDir().mkpath(job.outputDir); // "/videos/new" under an existing "/videos" is made for it
    job.volumeName = source.volumeName;
    job.outputExtension = source.outputExtension;
    job.frameRate = source.frameRate;
    job.discPath = source.discPath;
    job.overwrite = source.settings.overwrite ? OverwriteChoice::Overwrite
                    : source.settings.ask     ? OverwriteChoice::Ask
                                              : OverwriteChoice::Rename;
    job.encoderOptionBlock =
        EncoderOptionBlock(CurrentProfileOptions(source.profilePath, source.shownText), memory);
    job.encoderMemory = memory;
    job.transcoderOptions = [profilePath = source.profilePath, shown = source.shownText] {
        return TranscoderOptions(CurrentProfileOptions(profilePath, shown));
    };
    return job;
}

bool OutputFolderUsable(const QString& outputText) {
    return !outputText.isEmpty() && QDir(FolderOfPath(outputText)).exists();
}
