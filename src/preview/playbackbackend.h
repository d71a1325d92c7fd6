#pragma once

#include <QObject>
#include <QString>

// The graph's states as the preview's handlers see them.
enum class PlaybackState { NoGraph, Stopped, Paused, Running };

// A place in the current title, as the DVD navigator's time jump takes it.
struct DvdTimecode {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int frames = 0;

    // The whole seconds s as hours, minutes and seconds.
    static DvdTimecode fromSeconds(int s);
    int totalSeconds() const { return hours * 3600 + minutes * 60 + seconds; }
};

// The DVD player behind the preview pane. Every call returns at once: a command is handed to the
// player and not waited for. Titles and chapters are numbered as the task tree shows them, from 1.
// What the player reports comes as its signals, always on the GUI thread.
class IPlaybackBackend : public QObject {
    Q_OBJECT
public:
    explicit IPlaybackBackend(QObject* parent = nullptr) : QObject(parent) {}

    // Stops and forgets the opened volume.
    virtual void clear() = 0;
    // On: the player exists and renders into the video window; off: released (state NoGraph).
    virtual void switchOn(bool on) = 0;
    virtual PlaybackState state() const = 0;
    // Opens the DVD volume whose VIDEO_TS.IFO is at `ifoPath`, or the disc image at that path.
    virtual void renderVolume(const QString& ifoPath) = 0;
    virtual void run() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void playTitle(int title) = 0;
    virtual void playChapterInTitle(int title, int chapter) = 0;
    // A jump within the title being played.
    virtual void playAtTime(const DvdTimecode& time) = 0;
    virtual void setSubpictureState(bool on) = 0;
    // `stream` counts the subtitle streams listed for the title, from 0.
    virtual void selectSubpictureStream(int stream) = 0;

signals:
    // The title asked for is loaded and playing (or paused) from where it was asked to.
    void started();
    // The player cannot play what it was asked to; it has stopped. The text says why.
    void failed(const QString& reason);
};
