#include "convert/progressparse.h"

#include "core/timetext.h"

#include <QRegularExpression>

namespace {

// The text from `skip` characters after the first `marker` up to the next `end`, or to the end
// of the chunk; `previous` when the chunk has no marker.
QString TextAfter(const QString& chunk, QLatin1String marker, qsizetype skip, QChar end,
                  const QString& previous) {
    const qsizetype at = chunk.indexOf(marker);
    if (at < 0)
        return previous;
    const qsizetype from = at + skip;
    const qsizetype stop = chunk.indexOf(end, from);
    return stop < 0 ? chunk.mid(from) : chunk.mid(from, stop - from);
}

} // namespace

QString EncoderPositionText(const QString& chunk, const QString& previous) {
    return TextAfter(chunk, QLatin1String("Pos:"), 4, u's', previous);
}

QString TranscoderTimeText(const QString& chunk, const QString& previous) {
    return TextAfter(chunk, QLatin1String("time"), 5, u' ', previous);
}

std::optional<double> ParseDecimal(const QString& text) {
    static const QRegularExpression decimal(
        QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)\\s*$"));
    if (!decimal.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> ParseToolTime(const QString& text) {
    if (const std::optional<double> seconds = ParseDecimal(text))
        return seconds;
    const double clock = TimeTextToSeconds(text.trimmed());
    return clock >= 0 ? std::optional<double>(clock) : std::nullopt;
}

int ClampPercent(double percent) {
    const long long rounded = RoundHalfEven(percent);
    return int(qBound(0LL, rounded, 100LL));
}

ProgressFigures ItemProgress(double done, double duration, double accumulated, double totalWork,
                             double frameRate) {
    ProgressFigures f;
    if (duration != 0) {
        f.current = ClampPercent(done / (2 * duration) * 100);
        f.frames = RoundHalfEven(done / 2 * frameRate);
        f.hasItemFigures = true;
    }
    f.hasTotal = totalWork != 0;
    if (totalWork != 0)
        f.total = ClampPercent((accumulated + done) / totalWork * 100);
    return f;
}

std::optional<long long> RemainingSeconds(long long elapsed, int totalPercent) {
    if (totalPercent == 0)
        return std::nullopt;
    return RoundHalfEven(double(elapsed) / (totalPercent / 100.0) - double(elapsed));
}
