#pragma once

#include "convert/profileoptions.h"
#include "convert/toolcommand.h"
#include "core/preferences.h"

#include <QString>
#include <QStringList>

#include <optional>

// The command lines of the encoder tool (MEncoder's syntax) and the transcoder tool (FFmpeg's).

// What the encoder keeps of the profiles for as long as the program runs: a profile without a
// "-s" or "-aspect" parameter leaves the last values in force.
struct EncoderMemory {
    QString frameSize; // "640:480"
    QString widthText; // "640"
    QString aspect;    // "4:3", "16:9", or what the profile says
    // The encoder writes whole pictures and sound (a high intermediate), too large to store:
    // the transcoder reads them from a pipe while they are written.
    bool rawVideo = false;
    int sampleRate = 0; // the encoder's -srate; 0: the disc's own
};

// The encoder's option block from the profile's current values; updates the memory. With a high
// intermediate the encoder keeps picture and sound whole (uncompressed video, PCM audio), so the
// transcoder makes the only lossy encode.
ToolCommand EncoderOptionBlock(const QList<ProfileOption>& options, EncoderMemory& memory,
                               int intermediate = Prefs::IntermediateStandard);

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
    QList<int> audioStreamIds; // the same tracks' ids in the VOBs, -1 where not known
    int audioLanguageIndex = 0;
    int subtitleIndex = 0;
    QString titleAspect;
    double titleLengthSeconds = 0; // the whole title's length; 0 when not known
};

// How close to its title's end a span's end may come before the encoder is left to stop at
// the title's end by itself.
inline constexpr double TitleEndMarginSeconds = 1.5;
// Whether the span's end lies so near its title's end that -endpos must be left out.
bool EndsAtTitleEnd(const EncodeItem& item);

// The encoder seeks only to the start of a picture group, and lands up to a second after the
// time it is given. It is therefore sent this far before the item's start, told where it
// landed by a short probe run, and the transcoder drops what lies before the start.
inline constexpr double SeekLeadSeconds = 1.5;
// Where the encoder is sent for a span starting at `start` (real seconds) of a title of
// `frameRate` frames a second: 0 (no seek at all, which starts exactly at the title's start)
// for starts within the lead. The encoder reads a DVD's cell times at face value, so on an
// NTSC title it takes -ss in nominal seconds of 30 frames: 0.1 % less than the real time, which
// two hours into a film is 7 s, more than the lead.
double SeekTarget(double start, double frameRate);
// Started without a seek, the encoder writes a damaged picture of its own before the title's
// first; sent this little way in, it lands on the title's first picture group and writes none.
inline constexpr double TitleStartSeekSeconds = 0.01;

// What the driver learnt before an item's encode pass.
struct EncodeRoute {
    double seekTo = -1; // the -ss value; -1: the item's start, as written
    // Where the intermediate's picture starts, in title seconds (a little before the title's
    // start for a picture the encoder doubles there); NotLanded: not known.
    double landedAt = NotLanded;
    static constexpr double NotLanded = -1;
    bool landed() const { return landedAt != NotLanded; }
    QString subtitleBase; // the chosen subtitle taken out beforehand (.idx/.sub); empty: none
    // NTSC film: progressive pictures at 24000/1001 a second that pull-down flags stretch to
    // 29.97 on a player. Written at 29.97 they would run 25 % fast.
    bool film = false;
    bool interlaced = false; // most pictures are coded as two fields
    bool telecine = false;   // film with 3:2 pull-down woven into the pictures
    // Film in some parts only: written at the film's rate, the video parts with a picture in
    // five dropped to keep step with the sound.
    bool mixedFilm = false;
    // How much earlier in the title the intermediate's sound begins than its picture (negative:
    // later). After a seek the encoder keeps each stream from its first packet, and a disc
    // carries its sound up to half a second behind the pictures of the same moment.
    double soundLead = 0;
};

// Further points of a span from `start` to `end` (seconds) at which to probe for film: a
// quarter, half and three quarters in, for spans of 8 s or more.
QList<double> FilmProbePoints(double start, double end);

// The rate a film title's pictures are encoded at, each once.
inline constexpr double FilmFrameRate = 24000.0 / 1001;

// The encode pass up to the subtitle option; the output option follows once the work folder
// is settled. "None" as the subtitle gives -nosub: without it the encoder would draw the
// disc's default subtitle into the picture. The chosen audio track is named by its stream id
// as well as its language, since -alang alone picks the first track of the language.
ToolCommand EncodePassCommand(const EncodeItem& item, const QString& discPath,
                              const ToolCommand& optionBlock, const EncoderMemory& memory,
                              const EncodeRoute& route = {});

// The picture the encode pass makes. With a frame size the picture is fitted into the frame
// at the aspect (letterboxed or pillarboxed) and stored with square pixels; without one the
// stored frame is kept and marked with the aspect. The aspect option replaces the block's
// "autoaspect", which would record the disc's stored frame shape and squeeze the picture.
struct EncodedPicture {
    QString filter;     // "scale=640:360,expand=640:480"; empty: the frame is kept
    QString aspectTerm; // "aspect=640/480", "aspect=16/9"
    double ratio = 0;   // the same as a number: the frame's width over its height on screen
};
EncodedPicture EncoderPicture(const EncoderMemory& memory, const QString& titleAspect);
// Whether the encode pass scales the picture into the profile's frame (so the transcoder must
// not mark the frame with an aspect of its own).
bool EncoderScales(const EncoderMemory& memory);

// A short run that shows where the encoder lands when sent to `target`, with the item's sound
// track, and copies the pictures it finds there into `output`.
ToolCommand SeekProbeCommand(const EncodeItem& item, const QString& discPath, double target,
                             const QString& output = QStringLiteral("/dev/null"));
// The profile's options with its automatic deinterlacing settled for an item: "-vf
// yadif=deint=interlaced" (the "Auto" entry of "Deinterlace") becomes plain yadif for
// interlaced pictures and goes for progressive ones, whose fields the intermediate no longer
// marks.
ToolCommand SettleDeinterlacing(const ToolCommand& options, bool interlaced);
inline constexpr auto AutoDeinterlace = "yadif=deint=interlaced";
// The landing from the probe's output: the first video timestamp after the seek, less the
// title's first, in title seconds; and how much earlier the first sound after the seek begins
// (0 without sound). Nothing when the output does not tell.
struct SeekLanded {
    double picture = 0;
    double soundLead = 0;
};
std::optional<SeekLanded> SeekLanding(const QString& probeOutput, double target);
// Seconds of silence the encoder's sound coding puts before the intermediate's sound: the
// MP3 coder's 576 samples of priming and its decoder's 529, at the rate it codes; none for PCM.
double EncoderSoundDelay(const EncoderMemory& memory);
// Whether the probe found progressive NTSC film where it landed (the encoder's decoder says so
// once it has seen the pull-down flags of a few pictures).
bool ShowsFilm(const QString& probeOutput);

// Takes the chosen subtitle stream out, with its timing, from the title's start to the span's
// end into `base`.idx/.sub. After a seek the encoder draws only disc subtitles that begin
// later; from these files it also draws the one already showing.
ToolCommand SubtitleDumpCommand(const EncodeItem& item, const QString& discPath,
                                const QString& base);
ToolCommand EncoderOutputOption(const QString& workDir,
                                const QString& fileName = QStringLiteral("temp.avi"));
// The short run that opens the disc before each encode pass.
ToolCommand DiscOpenCommand(int titleNumber, const QString& drivePart);
// The mount point of the file system that holds the disc folder, without a final separator
// unless it is the root.
QString DrivePartOf(const QString& discPath);

// The transcoder's options in the profile's order: every parameter with a command and a value;
// a value of "\" makes the command a bare switch.
// With `encoderScaled`, "-aspect" is left out: the encoder has already shaped the picture in
// its frame, and marking the frame would stretch it.
ToolCommand TranscoderOptions(const QList<ProfileOption>& options, bool encoderScaled = false);

// What the transcoder keeps of the intermediate file: from `skip` seconds in, `length`
// seconds (0: to its end), so the output lasts the item's span. The skip is an output option,
// which drops what lies before it frame by frame: as an input option it fails on a pipe, cuts
// the sound of a pipe short, and misplaces an MP3 sound by part of its frame.
struct TranscodeCut {
    double skip = 0;
    double length = 0;
    // Seconds the intermediate's sound runs ahead of its picture: that much is dropped from its
    // start (negative: silence is put before it), so each moment's sound meets its picture.
    double soundLead = 0;
};
// `seconds` moved to the nearest picture of `frameRate` a second. The transcoder gives an
// output's first picture the time 0 whatever its own: a cut between pictures would leave the
// picture that much ahead of its sound.
double OnFrameGrid(double seconds, double frameRate);
// The transcoder's options with the sound moved `lead` seconds earlier (later when negative),
// merged into the profile's own sound filter; left as they are for a profile without sound or
// with a filter graph of its own.
ToolCommand WithSoundShift(const ToolCommand& options, double lead);
// The chapter marks the transcoder writes into the output: the metadata file it reads them
// from, and the output times it starts a key frame at.
struct TranscodeMarks {
    QString metadataPath; // empty: none
    QString keyFrameTimes;
};
ToolCommand TranscodeCommand(const QString& intermediatePath, const ToolCommand& options,
                             const QString& outputPath, const TranscodeCut& cut = {},
                             const TranscodeMarks& marks = {});
