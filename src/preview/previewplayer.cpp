#include "preview/previewplayer.h"

#include "core/timetext.h"
#include "dvd/discloader.h"
#include "platform/prompts.h"
#include "preview/previewview.h"
#include "profiles/standardini.h"

#include <QFileInfo>

#include <algorithm>

namespace {
const QString LoadingText = QStringLiteral("Loading.   Please wait....");
const QString FirstUseText = QStringLiteral(
    "This product is not desinged for playing DVD movies, so it\n\rmay not play some copyright "
    "(region) protected DVD properly.\n\rNote: Ripping copyright protected DVD is illegal in "
    "come countries.");
const QString NotFoundCaption = QStringLiteral("VIDEO_TS.IFO not found");
const QString NotFoundText = QStringLiteral(" can not be found. Please insert and open the DVD.");
const QString ScrambledText =
    QStringLiteral("This DVD is copy protected (encrypted), and the preview can play only "
                   "unencrypted discs and folders.");
const QString CannotPlayText = QStringLiteral("The preview can not play this DVD.\n\n%1");

int Round(double x) {
    return static_cast<int>(RoundHalfEven(x));
}
} // namespace

TPreviewPlayer::TPreviewPlayer(Services services) : m_s(std::move(services)) {
    tmrPreview = m_s.clock.createTimer(TickInterval, [this] { tmrPreviewTimer(); });
    tmrPreviewDragDelay =
        m_s.clock.createTimer(DragDelayInterval, [this] { tmrPreviewDragDelayTimer(); });
    m_heard = {
        QObject::connect(&m_s.backend, &IPlaybackBackend::started, [this] { hideOwnHint(); }),
        QObject::connect(&m_s.backend, &IPlaybackBackend::failed,
                         [this](const QString& reason) { playbackFailed(reason); })};
}

TPreviewPlayer::~TPreviewPlayer() {
    for (const QMetaObject::Connection& c : m_heard)
        QObject::disconnect(c);
}

void TPreviewPlayer::sbtnPlayClick() {
    if (m_converting)
        return;
    const FocusedItem item = m_s.focusedItem ? m_s.focusedItem() : FocusedItem{};
    if (!item.node || (!item.node->IsTitle && !item.title))
        return;
    const TTaskNode& node = *item.node;
    const int title = node.IsTitle ? node.Number : item.title->Number;

    m_s.view.showNotice({});
    showFirstUseNotice();
    showOwnHint();
    m_s.backend.clear();
    m_s.backend.switchOn(false);
    // The count belonged to the graph just torn down.
    tmrPreview->setEnabled(false);

    const QString ifoPath = VolumeFileOf(ToolDiscPath(m_s.dvd));
    // No disc open: the bare file name would be looked up in the working folder.
    if (m_s.dvd.DiscPath.isEmpty() || !QFileInfo(ifoPath).isFile()) {
        refuse(ifoPath + NotFoundText, NotFoundCaption);
        return;
    }
    if (m_s.titleIsScrambled && m_s.titleIsScrambled(m_s.dvd.DiscPath, title)) {
        refuse(ScrambledText, m_s.productName);
        return;
    }

    m_s.backend.switchOn(true);
    m_s.backend.renderVolume(ifoPath);
    m_s.backend.run();
    m_elapsed = 0;
    // The item's times come before the bar's reset, so the label it sets shows this item.
    takeItem(node);
    moveBar(0);
    if (node.IsTitle)
        m_s.backend.playTitle(node.Number);
    else
        m_s.backend.playChapterInTitle(title, node.Number);
    m_barState = BarIdle;
    tmrPreview->setEnabled(true);
    selectSubtitle(node);
}

void TPreviewPlayer::sbtnPauseClick() {
    switch (m_s.backend.state()) {
    case PlaybackState::Running:
        tmrPreview->setEnabled(false);
        m_s.backend.pause();
        break;
    case PlaybackState::Paused:
        tmrPreview->setEnabled(true);
        m_s.backend.run();
        break;
    default:
        break;
    }
}

void TPreviewPlayer::sbtnStopClick() {
    const PlaybackState state = m_s.backend.state();
    if (state != PlaybackState::Running && state != PlaybackState::Paused)
        return;
    m_s.backend.stop();
    tmrPreview->setEnabled(false);
    moveBar(0);
    m_s.backend.clear();
    hideOwnHint();
}

void TPreviewPlayer::setConverting(bool converting) {
    m_converting = converting;
    m_s.view.setPaneEnabled(!converting);
    if (converting)
        sbtnStopClick();
}

void TPreviewPlayer::TrackBarChange(int position) {
    m_barPosition = std::clamp(position, 0, BarMax);
    barMoved();
}

void TPreviewPlayer::tmrPreviewTimer() {
    if (m_barState == BarSeekPending)
        return;
    m_barState = BarTicking;
    ++m_elapsed;
    // A zero-length item would otherwise show a time past its end before it stops.
    const int shown = std::min(m_elapsed, std::max(m_duration, 0));
    m_s.view.setPlayTimeText(SecondsToTimeText(TimeTextToSeconds(m_startText) + shown));
    if (m_duration != 0)
        moveBar(Round(double(m_elapsed) / m_duration * BarMax));
    if (m_elapsed >= m_duration)
        sbtnStopClick();
    m_barState = BarIdle;
}

void TPreviewPlayer::tmrPreviewDragDelayTimer() {
    if (m_barState == BarTicking)
        return;
    if (m_still == 0) {
        m_still = 1;
        return;
    }
    m_still = 0;
    tmrPreviewDragDelay->setEnabled(false);
    m_barState = BarSeekPending;
    m_elapsed = Round(double(m_barPosition) * m_duration / BarMax);
    m_s.backend.playAtTime(DvdTimecode::fromSeconds(m_elapsed + m_startOffset));
    m_barState = BarIdle;
}

void TPreviewPlayer::showFirstUseNotice() {
    StandardIni ini(m_s.preferencesPath);
    if (!ini.readBool(QStringLiteral("Main"), QStringLiteral("FirstUse"), true))
        return;
    m_s.prompts.inform(FirstUseText, m_s.productName);
    ini.writeInteger(QStringLiteral("Main"), QStringLiteral("FirstUse"), 0);
}

void TPreviewPlayer::refuse(const QString& text, const QString& caption) {
    resetToStopped();
    hideOwnHint();
    m_s.prompts.inform(text, caption);
}

void TPreviewPlayer::takeItem(const TTaskNode& node) {
    const double start = TimeTextToSeconds(node.OrigStartText);
    const double end = TimeTextToSeconds(node.OrigEndText);
    m_startText = node.OrigStartText;
    m_s.view.setStartText(node.OrigStartText);
    m_s.view.setEndText(node.OrigEndText);
    m_s.view.setMiddleText(SecondsToTimeText(Round((start + end) / 2)));
    m_startOffset = Round(node.OrigStartSeconds);
    m_duration = Round(end - start);
}

void TPreviewPlayer::selectSubtitle(const TTaskNode& node) {
    // Entry 0 of the subtitle box is "None"; entry k the k-th subtitle stream of the title.
    if (node.SubtitleIndex <= 0) {
        m_s.backend.setSubpictureState(false);
        return;
    }
    m_s.backend.setSubpictureState(true);
    m_s.backend.selectSubpictureStream(node.SubtitleIndex - 1);
}

void TPreviewPlayer::moveBar(int position) {
    position = std::clamp(position, 0, BarMax);
    if (position == m_barPosition)
        return;
    m_barPosition = position;
    m_s.view.showBarPosition(position);
    barMoved();
}

void TPreviewPlayer::barMoved() {
    if (m_barState == BarTicking)
        return;
    m_s.view.setPlayTimeText(
        SecondsToTimeText(Round(double(m_barPosition) * m_duration / BarMax) + m_startOffset));
    m_still = 0;
    tmrPreviewDragDelay->setEnabled(true);
    m_barState = BarSeekPending;
}

void TPreviewPlayer::resetToStopped() {
    tmrPreview->setEnabled(false);
    tmrPreviewDragDelay->setEnabled(false);
    m_still = 0;
    m_barState = BarIdle;
    m_barPosition = 0;
    m_s.view.showBarPosition(0);
    m_s.view.setPlayTimeText(m_startText);
}

void TPreviewPlayer::playbackFailed(const QString& reason) {
    // Said in the pane rather than in a dialog: the window goes on working while it is read.
    m_s.backend.clear();
    resetToStopped();
    hideOwnHint();
    m_s.view.showNotice(CannotPlayText.arg(reason));
}

void TPreviewPlayer::showOwnHint() {
    m_hintShown = true;
    if (m_s.showHint)
        m_s.showHint(LoadingText);
}

void TPreviewPlayer::hideOwnHint() {
    if (!m_hintShown)
        return;
    m_hintShown = false;
    if (m_s.hideHint)
        m_s.hideHint();
}
