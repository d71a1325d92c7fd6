#pragma once

#include "ifotypes.h"
#include "tasknode.h"

#include <QList>
#include <QString>

class IDvdStructureReader;
class TTaskTree;

// A disc folder read into titles and chapters, ready for the task tree. Reading touches no
// window, so it can run away from the GUI thread.
using LoadedTitle = TaskTitle;

struct DiscLoadResult {
    QString discPath; // the folder of the IFO files, ending in "/"
    QString standard; // of the last title read; empty when no title was read
    double frameRate = 0;
    QList<LoadedTitle> titles;
    QString error; // a title-set file that could not be read: nothing is listed
};

// The folder that holds the disc's IFO files: `folder` itself when it has VIDEO_TS.IFO,
// otherwise its VIDEO_TS subfolder. Always ends in "/".
QString DiscFolderOf(const QString& folder);

DiscLoadResult LoadDisc(const QString& folder, IDvdStructureReader& reader);

// One title's node and chapter nodes from its title set and program chain; either may be
// missing, and the title is then listed without what it would have given.
LoadedTitle MakeTitle(int number, const TIFO* titleSet, const TProgramChain* chain, int angleCount);

// Replaces the tree's contents and the disc's standard, frame rate and path with a loaded
// disc; the volume name stays as it was.
void ApplyLoadedDisc(DiscLoadResult loaded, TTaskTree& tree, TDVDInformation& info);

// "Title07", "Title100", "Chapter03": numbers with at least two digits.
QString NumberedName(const QString& word, int number);

// 25 frames a second for "PAL", 29.97 for anything else.
double FrameRateOf(const QString& standard);
// An audio track's id in the VOBs from its coding (the title set's three coding bits) and its
// stream number (the program chain's audio control); -1 for a coding the disc cannot carry.
int AudioStreamId(quint8 codingMode, quint8 streamNumber);
