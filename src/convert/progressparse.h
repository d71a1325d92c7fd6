#pragma once

#include <QString>

#include <optional>

// Reading progress out of the tools' output chunks.

// The encoder's position text: what follows the chunk's first "Pos:" up to the next "s"; the
// previous text when the chunk holds no "Pos:".
QString EncoderPositionText(const QString& chunk, const QString& previous);
// The transcoder's time text: from five characters after the chunk's first "time" up to the
// next blank; the previous text when the chunk holds no "time".
QString TranscoderTimeText(const QString& chunk, const QString& previous);

// A decimal number, blanks around allowed.
std::optional<double> ParseDecimal(const QString& text);
// A decimal number of seconds, or the hh:mm:ss.ff form the transcoder prints.
std::optional<double> ParseToolTime(const QString& text);

// Progress of the whole run, in seconds of source video: every item counts twice, once for
// each pass. All figures are rounded half to even; the bars hold 0 to 100.
struct ProgressFigures {
    int current = 0; // per cent
    int total = 0;   // per cent
    long long frames = 0;
    bool hasItemFigures = false; // current and frames only mean something for a non-empty item
    bool hasTotal = false;
};
// `done`: seconds of the item's work, 0 to twice its duration (the encode pass's position,
// the duration plus the transcoder's time once that runs, or both added while they run at once).
ProgressFigures ItemProgress(double done, double duration, double accumulated, double totalWork,
                             double frameRate);
int ClampPercent(double percent);
// Remaining seconds from the elapsed seconds and the total bar; nothing while it is at 0.
std::optional<long long> RemainingSeconds(long long elapsed, int totalPercent);
