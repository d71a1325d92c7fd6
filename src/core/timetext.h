#pragma once

#include <QString>

// The hh:mm:ss texts every time in the program is shown and typed as.

// Nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
long long RoundHalfEven(double x);

// Seconds of an h:m:s text; -1 when the text is not a time.
double TimeTextToSeconds(const QString& text);

// The hh:mm:ss text of a number of seconds (never negative), rounded to whole seconds.
QString SecondsToTimeText(double seconds);
// The same, keeping a fraction to the millisecond: "00:00:01.5"; whole seconds as above.
QString SecondsToExactTimeText(double seconds);
