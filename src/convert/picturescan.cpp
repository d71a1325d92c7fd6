#include "convert/picturescan.h"

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
