#pragma once

#include "convert/toolcommand.h"

#include <QByteArray>
#include <QString>

// What the MPEG-2 pictures of a stretch of a title say of themselves: each picture's coding
// extension tells whether it was coded as one progressive frame or as two fields of different
// moments (interlaced video, which shows combs unless it is deinterlaced).
struct PictureScan {
    int pictures = 0;
    int progressive = 0;

    // Most pictures are two fields, among enough pictures to tell.
    bool interlaced() const { return pictures >= 10 && progressive * 2 < pictures; }
};

// Scans an MPEG-2 video stream (as the encoder copies it out, or a program stream).
PictureScan ScanPictures(const QByteArray& stream);

// The transcoder's field check of the probe's pictures (its idet filter).
ToolCommand FieldCheckCommand(const QString& pictures);
// Whether the check found hard telecine: 3:2 pull-down woven into the pictures, two of every
// five of which repeat a field of the one before. Such pictures are film to be pulled back up,
// not video to deinterlace.
bool ShowsTelecine(const QString& fieldCheckOutput);
