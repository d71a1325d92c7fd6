#pragma once

#include "cli/clioptions.h"

#include <QJsonObject>
#include <QString>

class TTaskTree;
struct ConversionProgress;
struct RunResult;

// The headless mode: runs when an argument begins with "--". Returns the exit status.
int RunHeadless(int argc, char* argv[]);

// The task list as text: per title a line of number, caption, start, end and output name, then
// its audio tracks, subtitles and angle count; per chapter an indented line of the same cells.
QString ListingText(const TTaskTree& tree);
// The text with every control character but tab and line end as the replacement mark, so that
// a disc's odd bytes reach the reader and none acts on the terminal.
QString Printable(QString text);
QJsonObject ListingJson(const TTaskTree& tree);

// Checks the items the options name (the longest title when they name none) and applies the
// audio, subtitle and span choices to them; the reason when an option does not fit the disc.
QString SelectItems(TTaskTree& tree, const CliOptions& options);

// One progress step: "item 40% total 20% frames 1 / 2 elapsed 00:00:01 remaining 00:00:04".
QString ProgressLine(const ConversionProgress& progress);
QJsonObject ProgressJson(const ConversionProgress& progress);
// The last JSON object of a run: how many items were converted, which failed and which
// were skipped.
QJsonObject RunResultJson(const RunResult& result, const QStringList& outputs);
