#pragma once

#include "convert/conversionjob.h"

#include <QDateTime>
#include <QString>

class IPrompts;

// Where an item's output goes and the texts that name it.

// The path an item's output goes to, before the overwrite choice.
QString OutputPath(const ConversionJob& job, const ConversionItem& item);
// The same after the job's overwrite choice for an existing file (asking when it says so; a
// renamed file takes `now`); empty when the file is kept and the item skipped.
QString ChosenOutputPath(const ConversionJob& job, const ConversionItem& item, IPrompts& prompts,
                         const QDateTime& now);
// "Converting: " with the volume name cut to 15 characters and "..." past 18.
QString HintText(const QString& volumeName, const QString& outputName, const QString& extension);
// The name with a suffix from the local time, for the Rename choice.
QString RenamedPath(const QString& path, const QDateTime& now);
// "/" and control characters cannot stand in a file name.
QString SafeFileNamePart(const QString& text);
QString OverwriteQuestion(const QString& fileName);
