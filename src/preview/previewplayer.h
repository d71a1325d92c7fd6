#pragma once

#include "core/clock.h"
#include "dvd/tasknode.h"
#include "preview/playbackbackend.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

class IPrompts;
class IPreviewView;

// The preview's behaviour: the Play, Pause and Stop commands, the one-second count of the
// position, the position bar and the seek that follows it once the bar is still. The position is
// counted, not read back from the player. Needs no display; the pane's widgets are reached
// through IPreviewView.
class TPreviewPlayer {
public:
    static constexpr int BarMax = 100;
    static constexpr int TickInterval = 1000;     // tmrPreview
    static constexpr int DragDelayInterval = 200; // tmrPreviewDragDelay

    // Position-bar states.
    static constexpr int BarIdle = 0;
    static constexpr int BarTicking = 1;
    static constexpr int BarSeekPending = 3;

    // The focused node of the task tree and the title it belongs to (itself for a title).
    struct FocusedItem {
        const TTaskNode* node = nullptr;
        const TTaskNode* title = nullptr;
    };
    struct Services {
        IPreviewView& view;
        IPlaybackBackend& backend;
        IPrompts& prompts;
        IClock& clock;
        const TDVDInformation& dvd;
        QString preferencesPath; // Preferences.ini
        QString productName;     // caption of the player's notices
        std::function<FocusedItem()> focusedItem;
        std::function<void(const QString&)> showHint;
        std::function<void()> hideHint;
        // Whether the title (from 1) of the disc folder is copy protected beyond our reach.
        std::function<bool(const QString& discPath, int title)> titleIsScrambled;
    };

    explicit TPreviewPlayer(Services services);
    ~TPreviewPlayer();

    // --- commands ---
    void sbtnPlayClick();
    void sbtnPauseClick();
    void sbtnStopClick();
    // During a conversion the pane is disabled and a running preview stops.
    void setConverting(bool converting);

    // --- handlers ---
    void TrackBarChange(int position); // the user moved the bar
    void tmrPreviewTimer();
    void tmrPreviewDragDelayTimer();

    // --- state, for the pane and for tests ---
    int elapsedSeconds() const { return m_elapsed; }
    int durationSeconds() const { return m_duration; }
    int startOffsetSeconds() const { return m_startOffset; }
    int barPosition() const { return m_barPosition; }
    int barState() const { return m_barState; }
    bool tickEnabled() const { return tmrPreview->isEnabled(); }
    bool dragDelayEnabled() const { return tmrPreviewDragDelay->isEnabled(); }
    bool isConverting() const { return m_converting; }

private:
    void showFirstUseNotice();
    // Play cannot go on: back to the stopped state, then the notice.
    void refuse(const QString& text, const QString& caption);
    void takeItem(const TTaskNode& node);
    void playItem(const FocusedItem& item);
    void selectSubtitle(const TTaskNode& node);
    void moveBar(int position);
    void barMoved();
    void resetToStopped();
    void playbackFailed(const QString& reason);
    // The loading notice is hidden once the title plays, not before it could be seen, and only
    // while it is still this player's.
    void showOwnHint();
    void hideOwnHint();

    Services m_s;
    std::unique_ptr<ITimer> tmrPreview;
    std::unique_ptr<ITimer> tmrPreviewDragDelay;
    QString m_startText = QStringLiteral("00:00:00");
    int m_elapsed = 0;
    int m_duration = 0;
    int m_startOffset = 0;
    int m_barPosition = 0;
    int m_barState = BarIdle;
    int m_still = 0; // the delay timer's stillness flag
    bool m_converting = false;
    bool m_hintShown = false;
    std::array<QMetaObject::Connection, 2> m_heard; // the backend's signals, cut at the end
};
