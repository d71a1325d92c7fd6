#include "dvd/ifotime.h"

#include "core/timetext.h"
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
    const double rate = (frameByte >> 6) == 3 ? 30.0 : 25.0;

    TPlaybackDuration duration;
    duration.FrameMilliseconds = RoundHalfEven(frames * (1000.0 / rate));
    duration.Milliseconds =
        ((qint64(hours) * 60 + minutes) * 60 + seconds) * 1000 + duration.FrameMilliseconds;
    return duration;
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
