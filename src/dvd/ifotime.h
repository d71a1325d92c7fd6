#pragma once

#include <QString>
#include <QtGlobal>

// Playing times as the disc stores them: four bytes hh mm ss ff, each two decimal digits in its
// two halves; the top two bits of ff are the frame-rate code (binary 11: 30 frames per second,
// anything else 25), the rest the frame count.

struct TPlaybackDuration {
    qint64 Milliseconds = 0;      // the whole time
    qint64 FrameMilliseconds = 0; // the part of it the frame count gives
};

// The stored field read as one big-endian number. Throws EIFOError when a half is not a digit.
TPlaybackDuration DecodePlaybackTime(quint32 field);

// "h:mm:ss.zzz". Throws EIFOError for 24 hours or more (the texts are times of day) and for
// negative values.
QString PlaybackTimeText(qint64 milliseconds);
