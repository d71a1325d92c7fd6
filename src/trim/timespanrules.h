#pragma once

#include <QString>

// What the time editor accepts as a start and an end, in the slider's whole seconds.
namespace TimeSpanRules {

inline const QString InvalidStart = QStringLiteral("Invalid Start Time.");
inline const QString InvalidEnd = QStringLiteral("Invalid End Time");

// Round(TimeTextToSeconds(text)): -1 for text that is not a time.
long long TypedSeconds(const QString& text);

// A start inside the item and before the end; an end inside the item and after the start.
bool StartAcceptable(long long seconds, int min, int maxPosition);
bool EndAcceptable(long long seconds, int minPosition, int max);

// "Length:" and the span as time text.
QString LengthText(int minPosition, int maxPosition);

// Why the two texts cannot be stored as the item's span, or an empty text when they can:
// both must be times inside [min, max] with the start at least a second before the end. When
// only their order is wrong, the start is blamed if it is not what the slider holds (it was
// typed and refused), else the end.
QString SpanError(const QString& startText, const QString& endText, int min, int max,
                  int minPosition);

} // namespace TimeSpanRules
