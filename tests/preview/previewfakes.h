#pragma once

#include "preview/playbackbackend.h"
#include "preview/previewview.h"
#include "support/testclock.h"

#include <QList>
#include <QStringList>

// Keeps the graph's state as the platform would, and writes down each call.
class FakeBackend : public IPlaybackBackend {
public:
    QStringList calls;
    PlaybackState current = PlaybackState::NoGraph;

    void clear() override { go("clear", PlaybackState::Stopped); }
    void switchOn(bool on) override;
    PlaybackState state() const override { return current; }
    void renderVolume(const QString& ifoPath) override { calls << "render " + ifoPath; }
    void run() override { go("run", PlaybackState::Running); }
    void pause() override { go("pause", PlaybackState::Paused, true); }
    void stop() override { go("stop", PlaybackState::Stopped); }
    void playTitle(int title) override { calls << QString("title %1").arg(title); }
    void playChapterInTitle(int title, int chapter) override {
        calls << QString("chapter %1 %2").arg(title).arg(chapter);
    }
    void playAtTime(const DvdTimecode& time) override;
    void setSubpictureState(bool on) override { calls << QString("subpicture %1").arg(on); }
    void selectSubpictureStream(int s) override { calls << QString("stream %1").arg(s); }

    // As new: no calls, no graph.
    void reset() {
        calls.clear();
        current = PlaybackState::NoGraph;
    }
    // The calls of one kind ("time", "title", ...) in order.
    QStringList callsOf(const QString& kind) const;

private:
    void go(const QString& call, PlaybackState to, bool onlyFromRunning = false);
};

// The pane as plain values.
class FakeView : public IPreviewView {
public:
    QString start = "00:00:00", middle = "00:00:00", end = "00:00:00", playTime = "00:00:00";
    QString notice;
    int bar = 0;
    bool enabled = true;

    void setStartText(const QString& t) override { start = t; }
    void setMiddleText(const QString& t) override { middle = t; }
    void setEndText(const QString& t) override { end = t; }
    void setPlayTimeText(const QString& t) override { playTime = t; }
    void showBarPosition(int p) override { bar = p; }
    void setPaneEnabled(bool e) override { enabled = e; }
    void showNotice(const QString& t) override { notice = t; }
};
