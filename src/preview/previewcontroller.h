#pragma once

#include "preview/previewplayer.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class IPrompts;
class QAbstractButton;
class QLabel;
class QSlider;
class QWidget;
class TPaneView;

// The preview pane of the main window: wires its buttons, position bar and labels to the
// preview logic, and renders the player into VideoWindow.
class TPreviewController : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        QWidget* panPreview;
        QWidget* VideoWindow;
        QSlider* TrackBar;
        QLabel* labStart;
        QLabel* labMiddle;
        QLabel* labEnd;
        QLabel* labPreviewPlayTime;
        QAbstractButton* sbtnPlay;
        QAbstractButton* sbtnPause;
        QAbstractButton* sbtnStop;
    };
    struct Services {
        IPrompts& prompts;
        const TDVDInformation& dvd;
        QString preferencesPath; // ProgramDir + "Preferences.ini"
        // The focused node of the task list and its title; no node when nothing has the focus.
        std::function<TPreviewPlayer::FocusedItem()> focusedItem;
    };

    // Plays through an mpv child process drawing into VideoWindow.
    TPreviewController(Widgets widgets, Services services, QObject* parent = nullptr);
    // With another player and clock (tests).
    TPreviewController(Widgets widgets, Services services,
                       std::unique_ptr<IPlaybackBackend> backend, std::unique_ptr<IClock> clock,
                       QObject* parent = nullptr);
    ~TPreviewController() override;

    // sbtnPlayClick: also what a double click in the task list does.
    void Play();
    // sbtnStopClick: also what opening a disc does. Closing the window stops it too.
    void Stop();
    // The start and end state of a conversion: the pane is disabled and the preview stops.
    void setConverting(bool converting);

    TPreviewPlayer& player() { return *m_player; }
    IPlaybackBackend& backend() { return *m_backend; }

signals:
    // The hint panel while a title loads.
    void hintShown(const QString& text);
    void hintHidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::unique_ptr<IPlaybackBackend> makeMpvBackend(QWidget* videoWindow);

    Widgets m_w;
    QPointer<QWidget> m_window; // the top-level window around VideoWindow
    std::unique_ptr<TPaneView> m_view;
    std::unique_ptr<IPlaybackBackend> m_backend;
    std::unique_ptr<IClock> m_clock;
    std::unique_ptr<TPreviewPlayer> m_player;
};
