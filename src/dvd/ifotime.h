#pragma once

#include <QString>
#include <QtGlobal>

// Playing times as the disc stores them: four bytes hh mm ss ff, each two decimal digits in its
// two halves; the top two bits of ff are the frame-rate code (binary 11: NTSC, anything else
// 25), the rest the frame count. An NTSC time counts frames at a nominal 30 a second, so
// hh:mm:ss is not clock time there: a frame lasts 1001/30000 s, and the time is its frames
// (hh:mm:ss × 30 + ff) at that length. Read at face value it would be 0.1 % short.

// Clock ticks of the MPEG system clock, 90 000 a second: both frame lengths are whole numbers
// of them (PAL 3600, NTSC 3003), so times add up without rounding.
inline constexpr qint64 TicksPerSecond = 90000;

struct TPlaybackDuration {
    qint64 Ticks = 0;             // the whole time in real seconds × TicksPerSecond
    qint64 Milliseconds = 0;      // the same, rounded to milliseconds
    qint64 FrameMilliseconds = 0; // the part of it the frame count gives
};

// The stored field read as one big-endian number. Throws EIFOError when a half is not a digit.
TPlaybackDuration DecodePlaybackTime(quint32 field);

// Ticks rounded to whole milliseconds, halves to even.
qint64 TicksToMilliseconds(qint64 ticks);

// "h:mm:ss.zzz". Throws EIFOError for 24 hours or more (the texts are times of day) and for
// negative values.
QString PlaybackTimeText(qint64 milliseconds);
