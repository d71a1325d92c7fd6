#pragma once

#include "convert/chaptermarks.h"
#include "convert/commandlines.h"

#include <QList>
#include <QString>

// A run's items and settings, settled when it starts: plain values that nothing changes while
// the run goes on.

enum class OverwriteChoice { Ask, Overwrite, Rename };

// One checked title or chapter as the run converts it.
struct ConversionItem {
    EncodeItem encode;
    QString outputName; // "Title01-Chapter03"
    double durationSeconds = 0;
    double frameRate = 0; // of the item's own title; 0: the disc's
    // The chapters the output may mark, where they begin in the title: all of a title's for a
    // title, its own for a chapter.
    QList<ChapterMark> chapters;
};

// What a run needs to know, settled when Start is pressed.
struct ConversionJob {
    QList<ConversionItem> items;
    QString outputDir; // ends in "/"
    QString volumeName;
    QString outputExtension; // ".mp4"
    double frameRate = 0;
    QString discPath;
    // Where the intermediate files go; a folder that does not exist when the run starts gives
    // way to the program folder for the whole run.
    QString workDir;
    OverwriteChoice overwrite = OverwriteChoice::Ask;
    ToolCommand encoderOptionBlock;
    EncoderMemory encoderMemory; // as the option block left it
    // The transcoder's options as the profile gave them when the run started (the
    // deinterlacing is settled per item).
    ToolCommand transcoderOptions;
};

// An item that did not become a good output file.
struct ItemFailure {
    QString fileName; // the output file's name
    QString reason;
    QString toolOutput; // the failing tool's last lines
};
