#include "progressparse.h"

#include "timetext.h"

#include <QRegularExpression>

QString EncoderPositionText(const QString& chunk, const QString& previous) {
    const qsizetype pos = chunk.indexOf(QLatin1String("Pos:"));
    if (pos < 0)
        return previous;
    const qsizetype from = pos + 4;
    const qsizetype s = chunk.indexOf(u's', from);
    return s < 0 ? chunk.mid(from) : chunk.mid(from, s - from);
}

QString TranscoderTimeText(const QString& chunk, const QString& previous) {
    const qsizetype time = chunk.indexOf(QLatin1String("time"));
    if (time < 0)
        return previous;
    const qsizetype from = time + 5;
    const qsizetype blank = chunk.indexOf(u' ', from);
    return blank < 0 ? chunk.mid(from) : chunk.mid(from, blank - from);
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

ProgressFigures EncodeProgress(double position, double duration, double accumulated,
                               double totalWork, double frameRate) {
    ProgressFigures f;
    if (duration != 0) {
        f.current = ClampPercent(position / duration * 100 / 2);
        f.frames = RoundHalfEven(position * frameRate / 2);
        f.hasItemFigures = true;
    }
    f.hasTotal = totalWork != 0;
    if (totalWork != 0)
        f.total = ClampPercent((accumulated + position) / totalWork * 100);
    return f;
}

ProgressFigures TranscodeProgress(double transcoderTime, double duration, double accumulated,
                                  double totalWork, double frameRate) {
    ProgressFigures f;
    if (duration != 0) {
        f.current = ClampPercent((duration + transcoderTime) / (2 * duration) * 100);
        f.frames = RoundHalfEven((duration + transcoderTime) / 2 * frameRate);
        f.hasItemFigures = true;
    }
    f.hasTotal = totalWork != 0;
    if (totalWork != 0)
        f.total = ClampPercent((accumulated + duration + transcoderTime) / totalWork * 100);
    return f;
}

std::optional<long long> RemainingSeconds(long long elapsed, int totalPercent) {
    if (totalPercent == 0)
        return std::nullopt;
    return RoundHalfEven(double(elapsed) / (totalPercent / 100.0) - double(elapsed));
}
