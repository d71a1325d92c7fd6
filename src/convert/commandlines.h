#pragma once

#include "profileoptions.h"
#include "toolcommand.h"

#include <QString>
#include <QStringList>

// The command lines of the encoder tool (MEncoder's syntax) and the transcoder tool (FFmpeg's).

// What the encoder keeps of the profiles for as long as the program runs: a profile without a
// "-s" or "-aspect" parameter leaves the last values in force.
struct EncoderMemory {
    QString frameSize; // "640:480"
    QString widthText; // "640"
    QString aspect;    // "4:3", "16:9", or what the profile says
};

// The encoder's option block from the profile's current values; updates the memory.
ToolCommand EncoderOptionBlock(const QList<ProfileOption>& options, EncoderMemory& memory);

// The encoder's vbitrate from a "-b" value: kbit/s, so "1000k" gives 1000 and "2M" 2000; a
// plain number is taken as it is; empty or unreadable gives 800.
QString EncoderBitRate(const QString& value);

// Seconds as the command lines write them: "0.000", "75.500".
QString SecondsText(double seconds);

// The item as the encode pass sees it; a chapter brings its title's number, lists and aspect.
struct EncodeItem {
    int titleNumber = 1;
    QString startText;
    QString endText;
    QStringList audioLanguages;
    int audioLanguageIndex = 0;
    int subtitleIndex = 0;
    QString titleAspect;
    double titleLengthSeconds = 0; // the whole title's length; 0 when not known
};

// How close to its title's end a span's end may come before the encoder is left to stop at
// the title's end by itself.
inline constexpr double TitleEndMarginSeconds = 1.5;

// The encode pass up to the subtitle option; the output option follows once the work folder
// is settled. "None" as the subtitle gives -nosub: without it the encoder would draw the
// disc's default subtitle into the picture.
ToolCommand EncodePassCommand(const EncodeItem& item, const QString& discPath,
                              const ToolCommand& optionBlock, const EncoderMemory& memory);
ToolCommand EncoderOutputOption(const QString& workDir);
// The short run that opens the disc before each encode pass.
ToolCommand DiscOpenCommand(int titleNumber, const QString& drivePart);
// The mount point of the file system that holds the disc folder, without a final separator
// unless it is the root.
QString DrivePartOf(const QString& discPath);

// The transcoder's options in the profile's order: every parameter with a command and a value;
// a value of "\" makes the command a bare switch.
ToolCommand TranscoderOptions(const QList<ProfileOption>& options);
ToolCommand TranscodeCommand(const QString& intermediatePath, const ToolCommand& options,
                             const QString& outputPath);
