#include "convert/conversiondriver.h"

#include "core/timetext.h"

// The figures the window shows while a run goes on.

double TConversionDriver::itemFrameRate() const {
    if (m_route.film || m_route.telecine)
        return FilmFrameRate;
    const double own =
        m_index >= 0 && m_index < m_job.items.size() ? m_job.items[m_index].frameRate : 0;
    return own > 0 ? own : m_job.frameRate;
}

void TConversionDriver::showPasses(double duration) {
    // Each pass is half an item's work; streamed, both move at once.
    const double done = m_phase == Phase::Encode      ? m_encoderPosition
                        : m_phase == Phase::Transcode ? duration + m_transcoderTime
                                                      : m_encoderPosition + m_transcoderTime;
    show(ItemProgress(done, duration, m_accumulated, m_totalWork, itemFrameRate()));
}

void TConversionDriver::show(const ProgressFigures& figures) {
    if (figures.hasItemFigures) {
        m_progress.current = figures.current;
        setFrames(figures.frames);
    }
    if (figures.hasTotal)
        m_progress.total = figures.total;
    emit progressChanged();
}

void TConversionDriver::setFrames(long long shown) {
    shown = std::clamp(shown, 0LL, m_totalFrames); // the tools' figures may run past the span
    m_progress.framesText =
        QString::number(shown) + QStringLiteral(" / ") + QString::number(m_totalFrames);
    m_progress.frames = shown;
    m_progress.framesTotal = m_totalFrames;
}

void TConversionDriver::tick() {
    checkEncoderStall();
    ++m_elapsed;
    m_progress.elapsedText = SecondsToTimeText(double(m_elapsed));
    m_progress.elapsedSeconds = m_elapsed;
    if (const std::optional<long long> remaining = RemainingSeconds(m_elapsed, m_progress.total)) {
        m_remaining = *remaining;
        m_progress.remainingSeconds = m_remaining;
    }
    m_progress.remainingText = SecondsToTimeText(double(m_remaining));
    emit progressChanged();
}
