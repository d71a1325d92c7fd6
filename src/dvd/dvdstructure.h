#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// What the program asks of the disc beyond the parsing of its title-set files: how many titles it
// has, where each title lives (title set and program chain), its camera angles, and the bytes of
// each title set's information file or of its backup copy. A disc is a folder (file names in any
// letter case) or an image.
class IDvdStructureReader {
public:
    virtual ~IDvdStructureReader() = default;

    // The disc folder (without a final separator) or the image file. Later calls answer for it.
    virtual void openDvd(const QString& disc) = 0;
    // 0 when the disc's own table (VIDEO_TS.IFO, or its backup) cannot be read.
    virtual int titleCount() = 0;
    // The title's title set, from 1, and the index of its first chapter's program chain in that
    // title set; -1 in either when not known.
    virtual void indexInfo(int titleIndex, int& titleSet, int& chainIndex) = 0;
    virtual int titleAngleCount(int titleIndex) = 0;
    // The information file of title set `titleSet` (VTS_nn_0.IFO), or its backup (VTS_nn_0.BUP);
    // none when it is missing or cannot be read. At most MaxIFOFileSize + 1 bytes.
    virtual std::optional<QByteArray> infoFile(int titleSet, bool backup) = 0;
    // An image's volume label; empty for a folder.
    virtual QString volumeLabel() = 0;
};
