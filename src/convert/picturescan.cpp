#include "convert/picturescan.h"

#include <QRegularExpression>

PictureScan ScanPictures(const QByteArray& stream) {
    // A picture coding extension: start code 00 00 01 B5, then the extension id 8 in the top
    // half of the next byte; progressive_frame is the top bit of the fifth byte after the code.
    constexpr int extensionStart = 0xB5;
    constexpr int pictureCodingExtension = 8;
    PictureScan scan;
    const auto* bytes = reinterpret_cast<const unsigned char*>(stream.constData());
    const qsizetype size = stream.size();
    for (qsizetype i = 0; i + 8 < size; ++i) {
        if (bytes[i] != 0 || bytes[i + 1] != 0 || bytes[i + 2] != 1 ||
            bytes[i + 3] != extensionStart || (bytes[i + 4] >> 4) != pictureCodingExtension)
            continue;
        ++scan.pictures;
        if (bytes[i + 8] & 0x80)
            ++scan.progressive;
        i += 8;
    }
    return scan;
}

ToolCommand FieldCheckCommand(const QString& pictures) {
    ToolCommand c;
    c.add(QStringLiteral("-nostats")).add(QStringLiteral("-i")).add(pictures);
    c.add(QStringLiteral("-an")).add(QStringLiteral("-vf")).add(QStringLiteral("idet"));
    return c.add(QStringLiteral("-f")).add(QStringLiteral("null")).add(QStringLiteral("-"));
}

bool ShowsTelecine(const QString& fieldCheckOutput) {
    static const QRegularExpression repeated(QStringLiteral(
        "Repeated Fields: Neither:\\s*(\\d+)\\s+Top:\\s*(\\d+)\\s+Bottom:\\s*(\\d+)"));
    const QRegularExpressionMatch m = repeated.match(fieldCheckOutput);
    if (!m.hasMatch())
        return false;
    const int neither = m.captured(1).toInt();
    const int twice = m.captured(2).toInt() + m.captured(3).toInt();
    // 3:2 gives two in five; woven video none.
    return twice >= 6 && twice * 4 >= neither + twice;
}
