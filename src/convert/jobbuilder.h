#pragma once

#include "convert/conversionjob.h"
#include "convert/profileoptions.h"
#include "core/preferences.h"

// Where a run takes its items, disc and settings from: the window's controls, or the options
// of the headless mode.
struct ConversionJobSource {
    QList<ConversionItem> items;
    QString outputFolder; // an existing folder, or a new one under an existing folder
    QString volumeName;
    QString outputExtension;
    double frameRate = 0;
    QString discPath;
    QString workDir;
    GeneralPreferences settings;
    QString profilePath;
    ShownText shownText;
};

struct TDVDInformation;
class TTaskTree;

// A loaded disc's checked items with the profile's own values, as the headless mode starts them
// (the window takes the values shown in its controls instead).
ConversionJobSource DiscJobSource(const TTaskTree& tree, const TDVDInformation& info,
                                  const QString& outputExtension, const QString& outputFolder,
                                  const GeneralPreferences& settings, const QString& profilePath);

// The job Start hands to the driver, the profile's values read once, now; makes the output
// folder when only its parent exists.
// `memory` is the encoder memory the option block leaves, kept by the caller between runs.
ConversionJob BuildConversionJob(const ConversionJobSource& source, EncoderMemory& memory);

// The output folder Start accepts: an existing folder, or a new one whose parent exists.
bool OutputFolderUsable(const QString& outputText);
