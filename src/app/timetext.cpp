#include "timetext.h"

#include <cmath>

long long RoundHalfEven(double x) {
    return static_cast<long long>(
        std::nearbyint(x)); // default rounding mode: to nearest, ties to even
}

namespace {

bool isDigits(const QString& s) {
    if (s.isEmpty())
        return false;
    for (QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// An integer as the time fields take it: optional sign, then digits.
bool parseInteger(const QString& s, long long& out) {
    QString digits = s;
    if (digits.startsWith(u'+') || digits.startsWith(u'-'))
        digits.remove(0, 1);
    if (!isDigits(digits) || digits.size() > 15)
        return false;
    out = s.toLongLong();
    return true;
}

// A decimal number that does not begin with ".": digits, optionally a fraction.
bool parseSeconds(const QString& s, double& out) {
    QString body = s;
    if (body.startsWith(u'+') || body.startsWith(u'-'))
        body.remove(0, 1);
    if (body.isEmpty() || body.startsWith(u'.'))
        return false;
    const qsizetype dot = body.indexOf(u'.');
    const QString whole = dot < 0 ? body : body.left(dot);
    const QString fraction = dot < 0 ? QString() : body.mid(dot + 1);
    if (!isDigits(whole) || (dot >= 0 && !fraction.isEmpty() && !isDigits(fraction)))
        return false;
    bool ok = false;
    out = s.toDouble(&ok);
    return ok;
}

QString twoDigits(long long n) {
    return QString::number(n).rightJustified(2, u'0');
}

} // namespace

double TimeTextToSeconds(const QString& text) {
    const qsizetype first = text.indexOf(u':');
    if (first < 0)
        return -1;
    const QString hoursText = text.left(first);
    const QString rest = text.mid(first + 1);
    const qsizetype second = rest.indexOf(u':');
    if (second < 0)
        return -1;
    const QString minutesText = rest.left(second);
    const QString secondsText = rest.mid(second + 1);

    long long hours = 0;
    long long minutes = 0;
    double seconds = 0;
    if (!parseInteger(hoursText, hours) || !parseInteger(minutesText, minutes) ||
        !parseSeconds(secondsText, seconds))
        return -1;
    return double(hours) * 3600 + double(minutes) * 60 + seconds;
}

QString SecondsToTimeText(double x) {
    // Hours and minutes come from the rounded value too, so 59.5 reads 00:01:00, never 00:00:60.
    const long long whole = RoundHalfEven(x);
    const long long hours = whole / 3600;
    const long long minutes = (whole % 3600) / 60;
    const long long seconds = whole % 60;
    return twoDigits(hours) + u':' + twoDigits(minutes) + u':' + twoDigits(seconds);
}
