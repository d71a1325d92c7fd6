#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Whether a finished output holds what its item asked for: every expected stream, each lasting
// the span. A tool can exit 0 and still leave a file that lost its audio or half its picture.
struct OutputExpectation {
    bool video = true;
    bool audio = true;
    double span = 0;   // seconds
    int chapters = -1; // the chapter marks it holds; -1: not looked at
};

struct OutputVerdict {
    bool complete = false;
    QString problem; // "audio lasts 0.2 s of 10.0 s", "no video stream"
};

// What an item's output should hold, from the transcoder's arguments ("-vn" and "-an" drop a
// stream), the item's span and the output's extension (".mp3" and other audio-only types
// hold no video, with or without "-vn").
OutputExpectation ExpectationFor(const QStringList& transcoderArguments, double span,
                                 const QString& outputExtension = QString());
// Streams may differ from the span by max(1 s, 2 % of it).
double DurationTolerance(double span);
// The picture and the sound may differ from each other by max(0.5 s, 0.2 % of the span).
double SyncTolerance(double span);
// Judges ffprobe's JSON (-show_streams -show_format -show_chapters) against the expectation:
// each stream's length, the picture's against the sound's, the picture's frames against the
// span at its own rate, and the chapter marks.
OutputVerdict JudgeOutput(const QByteArray& probeJson, const OutputExpectation& expected);
// ffprobe's arguments for a file.
QStringList ProbeArguments(const QString& path);

// Why a tool's pass failed, or nothing: it did not end by itself with status 0, or left no file
// at `path` (where it writes one: a pipe holds nothing once read, so an empty path is not
// looked at). "the encoder failed with exit status 3", "the transcoder wrote no file".
QString PassFailure(const QString& tool, int exitCode, bool crashed, const QString& path,
                    const QString& fileWord);
