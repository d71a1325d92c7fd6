#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The disc's chapters as marks in an output, so a player can skip from scene to scene.

// A chapter as the disc numbers it, and where it begins: in its title's seconds as the disc
// gives it, in the output's seconds once placed.
struct ChapterMark {
    int number = 0;
    double at = 0;
    bool operator==(const ChapterMark&) const = default;
};

// The marks of a span from `start` to `end` (title seconds) of a title with `chapters`: the
// chapter the span starts in at 0, each later one that begins inside the span where it begins,
// on the output's frames at `frameRate`. The list shows whole seconds, so a span trimmed to a
// chapter's shown start may begin a little before it: a chapter that begins within half a
// second after the span's start is the one it starts in, and one within half a second of its
// end gives no mark.
QList<ChapterMark> MarksInSpan(const QList<ChapterMark>& chapters, double start, double end,
                               double frameRate);

// Whether an output type holds chapter marks (Matroska, WebM, MP4 and its kin, QuickTime).
bool HoldsChapters(const QString& outputExtension);

// Whether the program is to add the marks to the transcoder's options: not where the profile
// settles the chapters itself (its "Chapter Marks" row off gives "-map_chapters -1").
bool MarksLeftToProgram(const QStringList& transcoderArguments);

// "Chapter 05".
QString ChapterTitle(int number);

// The transcoder's metadata file of the marks, each lasting to the next and the last to
// `length`. The transcoder moves chapters back by the part of its input it skips, so each
// mark is written `skipped` seconds later.
QByteArray ChapterMetadata(const QList<ChapterMark>& marks, double skipped, double length);

// The output times a key frame is forced at, "0.000,30.030,60.060": every mark, so a player
// jumps to one at once.
QString KeyFrameTimes(const QList<ChapterMark>& marks);
