#pragma once

#include <QString>
#include <QStringList>

// What the program asks of the disc's structure beyond its IFO files: how many titles it has,
// where each title lives (title set and program chain), and its camera angles.
class IDvdStructureReader {
public:
    virtual ~IDvdStructureReader() = default;

    // The disc folder, without a final separator. Later calls answer for this disc.
    virtual void openDvd(const QString& folder) = 0;
    // 0 when the folder holds no readable disc.
    virtual int titleCount() = 0;
    // Position of the title's title set among the folder's VTS_xx_0.IFO files, and the index of
    // its first chapter's program chain in that title set; -1 in either when not known.
    virtual void indexInfo(int titleIndex, int& titleSetIndex, int& chainIndex) = 0;
    virtual int titleAngleCount(int titleIndex) = 0;
};

// The disc folder's title-set files (VTS_xx_0.IFO), in ascending name order. Names are matched
// ignoring case, since copied discs on Linux file systems are often lower case.
QStringList TitleSetFiles(const QString& discFolder);
