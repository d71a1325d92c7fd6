#pragma once

#include "cli/clioptions.h"

#include <QJsonObject>
#include <QString>

class TTaskTree;

// The task list as text: per title a line of number, caption, start, end and output name, then
// its audio tracks, subtitles and angle count; per chapter an indented line of the same cells.
QString ListingText(const TTaskTree& tree);
// The text with every control character but tab and line end as the replacement mark, so that
// a disc's odd bytes reach the reader and none acts on the terminal.
QString Printable(QString text);
// The same as JSON, with the volume name, each span in seconds beside its texts, the tracks'
// languages and stream ids and the subtitle languages.
QJsonObject ListingJson(const TTaskTree& tree, const QString& volumeName);

// Checks the items the options name (the longest title when they name none) and applies the
// audio, subtitle and span choices to them; the reason when an option does not fit the disc.
QString SelectItems(TTaskTree& tree, const CliOptions& options);
