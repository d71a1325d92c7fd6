#include "core/timetext.h"

#include <charconv>
#include <cmath>
#include <string_view>

long long RoundHalfEven(double x) {
    return static_cast<long long>(
        std::nearbyint(x)); // default rounding mode: to nearest, ties to even
}

namespace {

// Loading a disc converts thousands of these texts, so they are parsed by hand on Latin-1
// bytes rather than through QString's general number parsing.

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Optional sign, then one or more digits.
bool parseInteger(std::string_view s, long long& out) {
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '+' || s.front() == '-'))
        s.remove_prefix(1);
    if (s.empty() || s.size() > 15)
        return false;
    long long value = 0;
    for (char c : s) {
        if (!isDigit(c))
            return false;
        value = value * 10 + (c - '0');
    }
    out = negative ? -value : value;
    return true;
}

// Optional sign, digits, then optionally "." and more digits; never beginning with ".".
bool parseSeconds(std::string_view s, double& out) {
    std::string_view body = s;
    if (!body.empty() && (body.front() == '+' || body.front() == '-'))
        body.remove_prefix(1);
    if (body.empty() || !isDigit(body.front()))
        return false;
    bool dot = false;
    for (char c : body) {
        if (c == '.' && !dot)
            dot = true;
        else if (!isDigit(c))
            return false;
    }
    // from_chars is correctly rounded like strtod, but rejects a leading "+".
    if (s.front() == '+')
        s.remove_prefix(1);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), out);
    return error == std::errc() && end == s.data() + s.size();
}

void appendTwoDigits(char*& p, long long n) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, n);
    if (end - digits < 2)
        *p++ = '0';
    for (const char* d = digits; d != end; ++d)
        *p++ = *d;
}

} // namespace

double TimeTextToSeconds(const QString& text) {
    char latin[64];
    if (text.size() > qsizetype(sizeof latin))
        return -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c > 0x7F)
            return -1; // no time holds anything but ASCII
        latin[i] = char(c);
    }
    const std::string_view s(latin, size_t(text.size()));
    const size_t first = s.find(':');
    if (first == std::string_view::npos)
        return -1;
    const std::string_view rest = s.substr(first + 1);
    const size_t second = rest.find(':');
    if (second == std::string_view::npos)
        return -1;

    long long hours = 0;
    long long minutes = 0;
    double seconds = 0;
    if (!parseInteger(s.substr(0, first), hours) ||
        !parseInteger(rest.substr(0, second), minutes) ||
        !parseSeconds(rest.substr(second + 1), seconds))
        return -1;
    return double(hours) * 3600 + double(minutes) * 60 + seconds;
}

QString SecondsToTimeText(double x) {
    // Hours and minutes come from the rounded value too, so 59.5 reads 00:01:00, never 00:00:60.
    const long long whole = RoundHalfEven(x);
    char buffer[64];
    char* p = buffer;
    appendTwoDigits(p, whole / 3600);
    *p++ = ':';
    appendTwoDigits(p, (whole % 3600) / 60);
    *p++ = ':';
    appendTwoDigits(p, whole % 60);
    return QString::fromLatin1(buffer, p - buffer);
}

QString SecondsToExactTimeText(double seconds) {
    const long long ms = RoundHalfEven(std::max(0.0, seconds) * 1000);
    if (ms % 1000 == 0)
        return SecondsToTimeText(double(ms / 1000));
    QString fraction = QString::number(ms % 1000 + 1000).mid(1); // three digits
    while (fraction.endsWith(u'0'))
        fraction.chop(1);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000, 2, 10, QChar(u'0'))
        .arg(ms / 60000 % 60, 2, 10, QChar(u'0'))
        .arg(ms / 1000 % 60, 2, 10, QChar(u'0'))
        .arg(fraction);
}
