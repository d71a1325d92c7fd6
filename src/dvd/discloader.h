#pragma once

#include "dvd/ifotypes.h"
#include "dvd/tasknode.h"

#include <QList>
#include <QString>

class IDvdStructureReader;
class TTaskTree;

// A disc folder read into titles and chapters, ready for the task tree. Reading touches no
// window, so it can run away from the GUI thread.
using LoadedTitle = TaskTitle;

struct DiscLoadResult {
    QString discPath;    // the folder of the IFO files, ending in "/", or the image file
    QString volumeLabel; // an image's; empty for a folder
    QString standard;    // of the last title read; empty when no title was read
    double frameRate = 0;
    QList<LoadedTitle> titles;
    QString error;             // nothing could be listed, and why
    bool nothingThere = false; // the folder holds no file of a DVD at all (the error says so)
    QStringList warnings;      // titles left out, each with the files that could not be read
    // The folder as the tools are to read it, when damaged files were read from backups.
    std::shared_ptr<const TMendedDisc> mended;
};

// Where a disc is: an image as its absolute path; for a folder, the folder that holds the
// disc's IFO files: `location` itself when it has VIDEO_TS.IFO (or its backup), otherwise its
// VIDEO_TS subfolder, in any letter case. A folder always ends in "/".
QString DiscFolderOf(const QString& location);
// The file a player opens the disc from: the folder's VIDEO_TS.IFO under its real name, or the
// image itself.
QString VolumeFileOf(const QString& discPath);

// Reads the disc's titles. An information file that is missing or damaged (the disc's own or a
// title set's) is read from its backup; a title set that neither gives is left out, with a
// warning naming both files and what is wrong with them.
DiscLoadResult LoadDisc(const QString& location, IDvdStructureReader& reader);

// One title's node and chapter nodes from its title set and program chain; either may be
// missing, and the title is then listed without what it would have given.
LoadedTitle MakeTitle(int number, const TIFO* titleSet, const TProgramChain* chain, int angleCount);

// Replaces the tree's contents and the disc's standard, frame rate and path with a loaded
// disc; the volume name becomes an image's label and otherwise stays as it was.
void ApplyLoadedDisc(DiscLoadResult loaded, TTaskTree& tree, TDVDInformation& info);

// "Title07", "Title100", "Chapter03": numbers with at least two digits.
QString NumberedName(const QString& word, int number);

// 25 frames a second for "PAL", 29.97 for anything else.
double FrameRateOf(const QString& standard);
// An audio track's id in the VOBs from its coding (the title set's three coding bits) and its
// stream number (the program chain's audio control); -1 for a coding the disc cannot carry.
int AudioStreamId(quint8 codingMode, quint8 streamNumber);
