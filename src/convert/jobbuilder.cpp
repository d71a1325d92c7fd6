#include "convert/jobbuilder.h"

#include "convert/conversionitems.h"
#include "core/paths.h"
#include "dvd/discloader.h"
#include "dvd/tasknode.h"

#include <QDir>

ConversionJobSource DiscJobSource(const TTaskTree& tree, const TDVDInformation& info,
                                  const QString& outputExtension, const QString& outputFolder,
                                  const GeneralPreferences& settings, const QString& profilePath) {
    ConversionJobSource source;
    source.items = ConversionItemsOf(tree);
    source.outputFolder = outputFolder;
    source.volumeName = info.VolumeName;
    source.outputExtension = outputExtension;
    source.frameRate = info.FrameRate;
    source.discPath = ToolDiscPath(info);
    source.workDir = settings.workDir;
    source.settings = settings;
    source.profilePath = profilePath;
    source.shownText = ProfileDefaults(profilePath);
    return source;
}

ConversionJob BuildConversionJob(const ConversionJobSource& source, EncoderMemory& memory) {
    ConversionJob job;
    job.items = source.items;
    job.outputDir = WithTrailingSeparator(source.outputFolder);
    QDir().mkpath(job.outputDir); // "/videos/new" under an existing "/videos" is made for it
    job.volumeName = source.volumeName;
    job.outputExtension = source.outputExtension;
    job.frameRate = source.frameRate;
    job.discPath = source.discPath;
    job.workDir = source.workDir;
    job.overwrite = source.settings.overwrite ? OverwriteChoice::Overwrite
                    : source.settings.ask     ? OverwriteChoice::Ask
                                              : OverwriteChoice::Rename;
    job.encoderOptionBlock =
        EncoderOptionBlock(CurrentProfileOptions(source.profilePath, source.shownText), memory,
                           source.settings.intermediate);
    job.encoderMemory = memory;
    job.transcoderOptions = TranscoderOptions(
        CurrentProfileOptions(source.profilePath, source.shownText), EncoderScales(memory));
    return job;
}

bool OutputFolderUsable(const QString& outputText) {
    return !outputText.isEmpty() && QDir(FolderOfPath(outputText)).exists();
}
