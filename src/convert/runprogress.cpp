#include "convert/runprogress.h"

#include "convert/progressparse.h"
#include "core/clock.h"
#include "core/timetext.h"

#include <algorithm>

void TRunProgress::startRun(const QList<ConversionItem>& items) {
    m_progress = ConversionProgress{};
    m_accumulated = 0;
    m_elapsed = 0;
    m_remaining = 0;
    m_encoderPosition = 0;
    m_positionText.clear();
    m_totalWork = 0;
    for (const ConversionItem& item : items)
        m_totalWork += item.durationSeconds;
    m_totalWork *= 2;
}

void TRunProgress::startItem(long long totalFrames) {
    m_progress.current = 0;
    recount(totalFrames);
    transcodeBegins();
}

void TRunProgress::recount(long long totalFrames) {
    m_totalFrames = totalFrames;
    setFrames(0);
}

void TRunProgress::skipItem(double seconds) {
    m_accumulated += 2 * seconds;
}

void TRunProgress::startEncoderRun() {
    m_positionThisRun = false;
    m_positionMovedAt = m_clock.nowMs();
}

void TRunProgress::encoderSaid(const QString& text, Passes passes, double duration,
                               double frameRate) {
    m_positionText = EncoderPositionText(text, m_positionText);
    if (const std::optional<double> position = ParseDecimal(m_positionText)) {
        if (*position != m_encoderPosition || !m_positionThisRun)
            m_positionMovedAt = m_clock.nowMs();
        m_encoderPosition = *position;
        m_positionThisRun = true;
    }
    showPasses(passes, duration, frameRate);
}

void TRunProgress::transcoderSaid(const QString& text, Passes passes, double duration,
                                  double frameRate) {
    m_timeText = TranscoderTimeText(text, m_timeText);
    const std::optional<double> time = ParseToolTime(m_timeText);
    if (time && *time > m_transcoderTime) // never goes back
        m_transcoderTime = *time;
    showPasses(passes, duration, frameRate);
}

void TRunProgress::readerSaid(const QString& text) {
    if (ParseDecimal(EncoderPositionText(text, QString()))) {
        m_positionThisRun = true;
        m_positionMovedAt = m_clock.nowMs();
    }
}

void TRunProgress::transcodeBegins() {
    m_transcoderTime = 0;
    m_timeText.clear();
}

void TRunProgress::itemDone() {
    m_progress.current = 100;
    setFrames(m_totalFrames);
    m_accumulated += 2 * m_encoderPosition;
}

void TRunProgress::showPasses(Passes passes, double duration, double frameRate) {
    // Each pass is half an item's work; streamed, both move at once.
    const double done = passes == Passes::Encode      ? m_encoderPosition
                        : passes == Passes::Transcode ? duration + m_transcoderTime
                                                      : m_encoderPosition + m_transcoderTime;
    const ProgressFigures figures =
        ItemProgress(done, duration, m_accumulated, m_totalWork, frameRate);
    if (figures.hasItemFigures) {
        m_progress.current = figures.current;
        setFrames(figures.frames);
    }
    if (figures.hasTotal)
        m_progress.total = figures.total;
}

void TRunProgress::setFrames(long long shown) {
    shown = std::clamp(shown, 0LL, m_totalFrames); // the tools' figures may run past the span
    m_progress.framesText =
        QString::number(shown) + QStringLiteral(" / ") + QString::number(m_totalFrames);
    m_progress.frames = shown;
    m_progress.framesTotal = m_totalFrames;
}

void TRunProgress::tick() {
    ++m_elapsed;
    m_progress.elapsedText = SecondsToTimeText(double(m_elapsed));
    m_progress.elapsedSeconds = m_elapsed;
    if (const std::optional<long long> remaining = RemainingSeconds(m_elapsed, m_progress.total)) {
        m_remaining = *remaining;
        m_progress.remainingSeconds = m_remaining;
    }
    m_progress.remainingText = SecondsToTimeText(double(m_remaining));
}

void TRunProgress::finish() {
    m_progress.total = 100;
    m_remaining = 0;
    m_progress.remainingText = SecondsToTimeText(0);
    m_progress.remainingSeconds = 0;
}

std::optional<qint64> TRunProgress::encoderStillMs() const {
    if (!m_positionThisRun)
        return std::nullopt;
    return m_clock.nowMs() - m_positionMovedAt;
}
