#pragma once

#include <optional>

#include <QJsonObject>
#include <QList>
#include <QString>

// What ffprobe says about a media file, for checking real conversions.
struct ProbedStream {
    QString type; // "video", "audio", "subtitle"
    QString codec;
    int width = 0;
    int height = 0;
    double duration = -1;    // seconds; -1 when ffprobe does not know
    double sampleAspect = 1; // width of a pixel over its height
};

struct ProbedChapter {
    double start = 0; // seconds
    QString title;
};

struct ProbedMedia {
    bool ok = false;
    QString formatName; // "mov,mp4,m4a,3gp,3g2,mj2", "matroska,webm", "avi", "mp3"
    double duration = -1;
    QList<ProbedStream> streams;
    QList<ProbedChapter> chapters;

    const ProbedStream* first(const QString& type) const;
};

ProbedMedia ProbeMedia(const QString& path);

// The dominant pitch of a file's audio between two times, from zero crossings of a mono
// decode: good enough to tell the sample disc's tones apart.
double EstimatePitch(const QString& path, double from, double length);

// The frame at `at` seconds as a viewer sees it: the picture within the black bars around it,
// and how many near-white pixels its lower half holds (a drawn subtitle's letters).
struct SeenFrame {
    int width = 0; // the frame's
    int height = 0;
    int pictureWidth = 0; // without bars
    int pictureHeight = 0;
    int whiteBelow = 0;
};
SeenFrame LookAtFrame(const QString& path, double at);
// Which of the frames `from` to `to` of `source` the first frame of `path` shows (the best
// SSIM over the picture within its bars, the source scaled to it); -1 when none is alike
// (SSIM below 0.9).
int MatchingSourceFrame(const QString& path, const QString& source, int from, int to);
// The video frames in the file, decoded one by one.
int CountVideoFrames(const QString& path);
// Each video frame's time and whether it is a key frame, in the file's order.
struct FrameTime {
    double pts = 0;
    bool key = false;
};
QList<FrameTime> VideoFrameTimes(const QString& path);
// The colour in the middle of frame `index` (from 0), averaged: Y, U and V from 0 to 255; all -1
// when there is no such frame.
struct FrameColour {
    int y = -1, u = -1, v = -1;
    // Alike to the eye: within a few steps of chroma.
    bool near(const FrameColour& o) const { return qAbs(u - o.u) <= 6 && qAbs(v - o.v) <= 6; }
};
FrameColour ColourOfFrame(const QString& path, int index);
// How ffmpeg's idet filter judges the file's pictures: interlaced (either field first) and
// progressive, over all frames.
struct FieldCounts {
    int interlaced = -1, progressive = -1;
};
FieldCounts JudgeFields(const QString& path);
// The mean time, in ms, from each white flash in the picture's top left corner to the beep
// (1760 Hz) nearest it, between `from` and `from + length` seconds: positive when the sound is
// late. Nothing with fewer than three pairs.
std::optional<double> SoundOffsetMs(const QString& path, double from = 0, double length = 1e6);
// The same for each flash in turn.
QList<double> SoundOffsetsMs(const QString& path, double from = 0, double length = 1e6);
