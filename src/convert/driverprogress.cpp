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

TRunProgress::Passes TConversionDriver::passes() const {
    return m_phase == Phase::Encode      ? TRunProgress::Passes::Encode
           : m_phase == Phase::Transcode ? TRunProgress::Passes::Transcode
                                         : TRunProgress::Passes::Both;
}

void TConversionDriver::tick() {
    checkEncoderStall();
    m_figures.tick();
    emit progressChanged();
}
