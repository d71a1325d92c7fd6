#include "trim/timespanrules.h"

#include "core/timetext.h"

namespace TimeSpanRules {

long long TypedSeconds(const QString& text) {
    const double seconds = TimeTextToSeconds(text);
    // Far beyond any item; also keeps the rounding inside a 64-bit integer.
    constexpr double tooLong = 1e15;
    if (seconds >= tooLong)
        return (long long)tooLong;
    return RoundHalfEven(seconds);
}

bool StartAcceptable(long long seconds, int min, int maxPosition) {
    return seconds != -1 && seconds >= min && seconds < maxPosition;
}

bool EndAcceptable(long long seconds, int minPosition, int max) {
    return seconds != -1 && seconds > minPosition && seconds <= max;
}

QString LengthText(int minPosition, int maxPosition) {
    return QStringLiteral("Length:") + SecondsToTimeText(double(maxPosition) - minPosition);
}

QString SpanError(const QString& startText, const QString& endText, int min, int max,
                  int minPosition) {
    const long long start = TypedSeconds(startText);
    const long long end = TypedSeconds(endText);
    if (start == -1 || start < min)
        return InvalidStart;
    if (end == -1 || end > max)
        return InvalidEnd;
    if (start >= end)
        return start != minPosition ? InvalidStart : InvalidEnd;
    return {};
}

} // namespace TimeSpanRules
