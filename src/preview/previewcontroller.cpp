#include "preview/previewcontroller.h"

#include "core/producttexts.h"
#include "preview/mpvbackend.h"
#include "preview/previewview.h"
#include "preview/scramblecheck.h"

#include <QAbstractButton>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QSlider>

// The pane's widgets as the preview logic sees them.
class TPaneView : public IPreviewView {
public:
    explicit TPaneView(const TPreviewController::Widgets& w) : m_w(w) {}

    void setStartText(const QString& text) override { m_w.labStart->setText(text); }
    void setMiddleText(const QString& text) override { m_w.labMiddle->setText(text); }
    void setEndText(const QString& text) override { m_w.labEnd->setText(text); }
    void setPlayTimeText(const QString& text) override { m_w.labPreviewPlayTime->setText(text); }
    void showBarPosition(int position) override {
        // The logic has already taken the move; the slider must not report it again.
        const QSignalBlocker block(m_w.TrackBar);
        m_w.TrackBar->setValue(position);
    }
    void setPaneEnabled(bool enabled) override { m_w.panPreview->setEnabled(enabled); }
    void showNotice(const QString& text) override {
        if (!m_notice) {
            m_notice = new QLabel(m_w.VideoWindow);
            m_notice->setObjectName(QStringLiteral("labPreviewNotice"));
            m_notice->setWordWrap(true);
            m_notice->setAlignment(Qt::AlignCenter);
            m_notice->setMargin(6);
            m_notice->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        }
        m_notice->setGeometry(m_w.VideoWindow->rect());
        m_notice->setText(text);
        m_notice->setVisible(!text.isEmpty());
    }

private:
    TPreviewController::Widgets m_w;
    QPointer<QLabel> m_notice; // made at the first notice, owned by the video window
};

namespace {
// mpv can draw into a window of ours only on X11; elsewhere it would open a window of its own.
bool canEmbed() {
    return QGuiApplication::platformName() == QLatin1String("xcb");
}
} // namespace

TPreviewController::TPreviewController(Widgets widgets, Services services, QObject* parent)
    : TPreviewController(widgets, std::move(services), makeMpvBackend(widgets.VideoWindow),
                         std::make_unique<QtClock>(), parent) {}

TPreviewController::TPreviewController(Widgets widgets, Services services,
                                       std::unique_ptr<IPlaybackBackend> backend,
                                       std::unique_ptr<IClock> clock, QObject* parent)
    : QObject(parent), m_w(widgets), m_view(std::make_unique<TPaneView>(widgets)),
      m_backend(std::move(backend)), m_clock(std::move(clock)) {
    m_w.TrackBar->setRange(0, TPreviewPlayer::BarMax);
    m_w.TrackBar->setTickPosition(QSlider::NoTicks);
    for (QLabel* label : {m_w.labStart, m_w.labMiddle, m_w.labEnd, m_w.labPreviewPlayTime})
        label->setText(QStringLiteral("00:00:00"));
    m_w.labMiddle->hide();
    if (canEmbed()) {
        // A window of its own that mpv draws into, without making the pane's ancestors native.
        m_w.VideoWindow->setAttribute(Qt::WA_DontCreateNativeAncestors);
        m_w.VideoWindow->setAttribute(Qt::WA_NativeWindow);
    }
    m_w.VideoWindow->installEventFilter(this);
    m_window = m_w.VideoWindow->window();
    if (m_window != m_w.VideoWindow)
        m_window->installEventFilter(this);

    m_player = std::make_unique<TPreviewPlayer>(TPreviewPlayer::Services{
        *m_view, *m_backend, services.prompts, *m_clock, services.dvd,
        std::move(services.preferencesPath), QString::fromLatin1(ProductTexts::ProductName),
        std::move(services.focusedItem), [this](const QString& text) { emit hintShown(text); },
        [this] { emit hintHidden(); }, &ScrambleCheck::titleIsScrambled});

    connect(m_w.sbtnPlay, &QAbstractButton::clicked, this, [this] { m_player->sbtnPlayClick(); });
    connect(m_w.sbtnPause, &QAbstractButton::clicked, this, [this] { m_player->sbtnPauseClick(); });
    connect(m_w.sbtnStop, &QAbstractButton::clicked, this, [this] { m_player->sbtnStopClick(); });
    connect(m_w.TrackBar, &QSlider::valueChanged, this,
            [this](int position) { m_player->TrackBarChange(position); });
}

TPreviewController::~TPreviewController() {
    // Qt drops the event filters of a destroyed filter object itself; the widgets may be gone.
    m_player.reset();
}

void TPreviewController::Play() {
    m_player->sbtnPlayClick();
}

void TPreviewController::Stop() {
    m_player->sbtnStopClick();
}

void TPreviewController::setConverting(bool converting) {
    m_player->setConverting(converting);
}

bool TPreviewController::eventFilter(QObject* watched, QEvent* event) {
    // A video window made anew (a new native window) has lost mpv's picture: stop rather than
    // count on over a dead window. The next Play draws into the new one.
    if (!m_player)
        return QObject::eventFilter(watched, event);
    if (watched == m_w.VideoWindow && event->type() == QEvent::WinIdChange)
        m_player->sbtnStopClick();
    // mpv's picture goes while its window is still there.
    if (watched == m_window && event->type() == QEvent::Close)
        m_player->sbtnStopClick();
    return QObject::eventFilter(watched, event);
}

std::unique_ptr<IPlaybackBackend> TPreviewController::makeMpvBackend(QWidget* videoWindow) {
    TMpvBackend::Options options;
    if (canEmbed())
        options.windowId = [videoWindow] { return quint64(videoWindow->winId()); };
    else
        options.videoOutput = QStringLiteral("null");
    return std::make_unique<TMpvBackend>(std::move(options));
}
