#include "dvd/ifotime.h"

#include "dvd/ifotypes.h"

namespace {

constexpr qint64 millisecondsPerDay = 24LL * 60 * 60 * 1000;

int decimalOf(quint8 byte, const char* part) {
    const int tens = byte >> 4;
    const int units = byte & 0x0F;
    if (tens > 9 || units > 9)
        throw EIFOError(QStringLiteral("the %1 hold 0x%2, which is not a two-digit decimal number")
                            .arg(QLatin1String(part),
                                 QString::number(byte, 16).toUpper().rightJustified(2, u'0')));
    return tens * 10 + units;
}

} // namespace

TPlaybackDuration DecodePlaybackTime(quint32 field) {
    const quint8 frameByte = field & 0xFF;
    const int hours = decimalOf(field >> 24, "hours");
    const int minutes = decimalOf((field >> 16) & 0xFF, "minutes");
    const int seconds = decimalOf((field >> 8) & 0xFF, "seconds");
    const int frames = decimalOf(frameByte & 0x3F, "frames");
    const bool ntsc = (frameByte >> 6) == 3;
    const qint64 whole = (qint64(hours) * 60 + minutes) * 60 + seconds;

    TPlaybackDuration duration;
    if (ntsc) {
        constexpr qint64 ntscFrameTicks = 3003; // 1001/30000 s
        duration.Ticks = (whole * 30 + frames) * ntscFrameTicks;
        duration.FrameMilliseconds = TicksToMilliseconds(frames * ntscFrameTicks);
    } else {
        constexpr qint64 palFrameTicks = 3600; // 1/25 s
        duration.Ticks = whole * TicksPerSecond + frames * palFrameTicks;
        duration.FrameMilliseconds = TicksToMilliseconds(frames * palFrameTicks);
    }
    duration.Milliseconds = TicksToMilliseconds(duration.Ticks);
    return duration;
}

qint64 TicksToMilliseconds(qint64 ticks) {
    constexpr qint64 ticksPerMillisecond = TicksPerSecond / 1000;
    const qint64 whole = ticks / ticksPerMillisecond;
    const qint64 rest = ticks % ticksPerMillisecond;
    const qint64 half = ticksPerMillisecond / 2;
    if (rest > half || (rest == half && whole % 2 != 0))
        return whole + 1;
    return whole;
}

QString PlaybackTimeText(qint64 milliseconds) {
    if (milliseconds < 0 || milliseconds >= millisecondsPerDay)
        throw EIFOError(
            QStringLiteral("the time is negative or 24 hours or more (%1 ms)").arg(milliseconds));
    // Written by hand: a disc with many chapters formats thousands of these while loading.
    const qint64 seconds = milliseconds / 1000;
    const qint64 hours = seconds / 3600; // below 24, as checked above
    const int minute = int((seconds / 60) % 60), second = int(seconds % 60);
    const int milli = int(milliseconds % 1000);
    char text[16];
    char* p = text;
    if (hours >= 10)
        *p++ = char('0' + hours / 10);
    *p++ = char('0' + hours % 10);
    const auto put = [&p](char separator, int value, int digits) {
        *p++ = separator;
        for (int d = digits - 1, scale = digits == 3 ? 100 : 10; d >= 0; --d, scale /= 10)
            *p++ = char('0' + (value / scale) % 10);
    };
    put(':', minute, 2);
    put(':', second, 2);
    put('.', milli, 3);
    return QString::fromLatin1(text, p - text);
}
