#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The bytes of a disc's information files, whether it is a folder (file names in any letter
// case) or an image. All parsing is the program's own: no library is handed a file that may be
// damaged.

// One information file as read, or why it could not be.
struct InfoFileRead {
    std::optional<QByteArray> bytes; // at most MaxIFOFileSize + 1 bytes
    QString problem;                 // when there are none: "it is missing", the system's reason
};

class IDvdStructureReader {
public:
    virtual ~IDvdStructureReader() = default;

    // The disc folder (without a final separator) or the image file; later calls answer for
    // it. Empty, or why the disc cannot be read at all (the system's reason, an image that
    // holds no DVD's file system).
    virtual QString openDvd(const QString& disc) = 0;
    // The information file of title set `titleSet` (VTS_nn_0.IFO), or of the disc itself for
    // 0 (VIDEO_TS.IFO); with `backup` its copy (.BUP).
    virtual InfoFileRead infoFile(int titleSet, bool backup) = 0;
    // An image's volume label; empty for a folder.
    virtual QString volumeLabel() = 0;
};

// "VIDEO_TS.IFO", "VTS_03_0.BUP": the file's name on the disc.
QString InfoFileName(int titleSet, bool backup);
