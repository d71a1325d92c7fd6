#pragma once

#include <QString>
#include <QStringList>

#include <memory>

// The record each title or chapter of the task tree carries. Streams, aspect, frame size and
// angle count are kept on titles only; a chapter takes them from its title. The Orig* span is
// what the disc says and never changes; the current span is what the time editor trimmed.
struct TTaskNode {
    bool IsTitle = false;
    int Number = 0;       // title number, or chapter number within its title; from 1
    int ChapterIndex = 0; // chapter number - 1; 0 for titles
    QString Caption;      // "Title01 [MPEG2 720x480 NTSC 16:9]" or "Chapter01"
    QString ShortName;    // "Title01" or "Chapter01"
    QString FrameSize;    // "720:480" (titles)
    QString Aspect;       // "4:3", "16:9" or "???" (titles)
    double FrameRate = 0; // 25 or 29.97 from the title's own title set; 0 when not known
    double OrigStartSeconds = 0;
    double OrigEndSeconds = 0;
    double OrigDuration = 0; // titles only
    QString OrigStartText;
    QString OrigEndText;
    // Where the disc's cells put the item, in real seconds from its title's start, to the
    // millisecond; -1 when not known. The Orig* times are these as whole seconds.
    double CellStartSeconds = -1;
    double CellEndSeconds = -1;
    double StartSeconds = 0;
    double EndSeconds = 0;
    QString StartText;
    QString EndText;
    QString OutputName;         // "Title01" or "Title01-Chapter03"
    int ImageIndex = 0;         // 0 title, 1 chapter
    QStringList AudioTracks;    // "English AC3 6ch" (titles)
    QStringList AudioLanguages; // two-letter codes of the same tracks, empty when unset (titles)
    // The same tracks' stream ids in the VOBs as the encoder's -aid takes them: the substream
    // number for AC3 (128 up), DTS (136 up) and LPCM (160 up), the stream number for MPEG audio
    // (0 up); -1 when not known. Two tracks of one language differ here only.
    QList<int> AudioStreamIds;
    QStringList Subtitles; // "None", then the subtitle languages (titles)
    int AudioIndex = 0;
    int AudioLanguageIndex = 0; // always equal to AudioIndex
    int SubtitleIndex = 0;
    int AngleCount = 0; // titles only
    int AngleIndex = 0;
    bool Checked = false;
};

// The span an item converts, in real seconds from its title's start. An end the user has not
// trimmed lies where the disc's cells put it rather than at the whole second shown, so an
// untrimmed chapter is exactly its own cells.
struct TItemSpan {
    double start = 0;
    double end = 0;
};
inline TItemSpan ConvertedSpan(const TTaskNode& n) {
    const TItemSpan span{
        n.StartSeconds == n.OrigStartSeconds && n.CellStartSeconds >= 0 ? n.CellStartSeconds
                                                                        : n.StartSeconds,
        n.EndSeconds == n.OrigEndSeconds && n.CellEndSeconds >= 0 ? n.CellEndSeconds
                                                                  : n.EndSeconds};
    if (span.end <= span.start) // a trim within the last rounded second
        return {n.StartSeconds, n.EndSeconds};
    return span;
}

// A title with its chapters, as loading makes them.
struct TaskTitle {
    TTaskNode title;
    QList<TTaskNode> chapters;
};

class TMendedDisc;

// The one record of the opened disc.
struct TDVDInformation {
    QString Standard;     // "PAL" or "NTSC"
    double FrameRate = 0; // 25 or 29.97
    QString VolumeName;   // prefix of the output file names; loading leaves it alone
    QString DiscPath;     // folder of the disc's IFO files, ending in "/", or the image file
    // Where the encoder and the player read the disc: a mended copy of a folder whose damaged
    // information files were read from their backups; none otherwise.
    std::shared_ptr<const TMendedDisc> Mended;
};

// The folder or image the outside tools are given for the disc.
QString ToolDiscPath(const TDVDInformation& info);
