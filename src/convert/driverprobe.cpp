#include "convert/conversiondriver.h"
#include "convert/picturescan.h"
#include "core/programvalues.h"
#include "core/timetext.h"

#include <QFile>

#include <algorithm>

// Before each encode pass a short probe run finds where the encoder lands for the item's start
// and what its pictures are: film, interlaced video, or film woven into interlaced pictures.

void TConversionDriver::startSeekProbe() {
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    const ConversionItem& item = m_job.items[m_index];
    const double start = TimeTextToSeconds(item.encode.startText);
    const double target = SeekTarget(start, itemFrameRate());
    // Probed from the title's start too: the pictures there may be film or interlaced.
    m_phase = Phase::SeekProbe;
    m_probeOutput.clear();
    QFile::remove(m_files.probePath());
    const ToolCommand probe =
        SeekProbeCommand(item.encode, m_job.discPath, target > 0 ? target : TitleStartSeekSeconds,
                         m_files.probePath());
    if (!m_runner.start(IToolRunner::Encoder, m_values.encoderPath, probe.arguments()))
        seekProbed();
}

void TConversionDriver::seekProbed() {
    const ConversionItem& item = m_job.items[m_index];
    const double start = TimeTextToSeconds(item.encode.startText);
    const double target = SeekTarget(start, itemFrameRate());
    m_route.film = ShowsFilm(m_probeOutput);
    {
        // A second's pictures, as the probe copied them, say whether they are two fields.
        QFile pictures(m_files.probePath());
        constexpr qint64 enough = 4 * 1024 * 1024;
        m_route.interlaced = !m_route.film && pictures.open(QIODevice::ReadOnly) &&
                             ScanPictures(pictures.read(enough)).interlaced();
    }
    // The landing counts real seconds, whatever the seek's own count.
    const std::optional<SeekLanded> landed =
        SeekLanding(m_probeOutput, std::max(0.0, start - SeekLeadSeconds));
    if (target <= 0) {
        m_route.seekTo = TitleStartSeekSeconds;
        m_route.landedAt = 0;
    } else if (landed) {
        m_route.seekTo = target;
        m_route.landedAt = landed->picture;
    } else { // the encoder does not tell: seek to the start itself, as written
        m_route.seekTo = start;
        m_route.landedAt = EncodeRoute::NotLanded;
    }
    m_route.soundLead = (landed ? landed->soundLead : 0) + EncoderSoundDelay(m_job.encoderMemory);
    m_probeOutput.clear();
    // Two fields in each picture may be video or woven film: the transcoder tells them apart.
    m_phase = Phase::FieldCheck;
    if (!m_route.interlaced || !m_runner.start(IToolRunner::Transcoder, m_values.transcoderPath,
                                               FieldCheckCommand(m_files.probePath()).arguments()))
        fieldsChecked();
}

void TConversionDriver::fieldsChecked() {
    if (m_phase != Phase::FieldCheck)
        return;
    if (ShowsTelecine(m_probeOutput)) {
        m_route.telecine = true;
        m_route.interlaced = false;
        // The pullup filter uses up the first film picture it finds while it locks onto the
        // pattern: the intermediate's picture begins one later, its sound does not.
        const double held = 1 / FilmFrameRate;
        if (m_route.landed())
            m_route.landedAt += held;
        m_route.soundLead += held;
    }
    m_probeOutput.clear();
    QFile::remove(m_files.probePath());
    const ConversionItem& item = m_job.items[m_index];
    m_filmProbePoints = m_route.telecine ? QList<double>()
                                         : FilmProbePoints(TimeTextToSeconds(item.encode.startText),
                                                           TimeTextToSeconds(item.encode.endText));
    m_filmProbesShowingFilm = 0;
    startFilmProbe();
}

// A long item is probed at more points: a title may hold film in some parts and video in
// others, and written whole at one rate either kind would run off its sound.
void TConversionDriver::startFilmProbe() {
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    if (m_filmProbePoints.isEmpty()) {
        m_route.film = m_route.film || m_filmProbesShowingFilm > 0;
        if (m_route.mixedFilm) {
            // Written with frames dropped or repeated to keep step, the intermediate's picture
            // begins with its first picture twice: one film picture before the landing.
            const double repeated = 1 / FilmFrameRate;
            if (m_route.landed())
                m_route.landedAt -= repeated;
            m_route.soundLead -= repeated;
        }
        if (m_route.film || m_route.telecine) { // its frames are counted at the film's rate
            m_totalFrames = RoundHalfEven(m_job.items[m_index].durationSeconds * itemFrameRate());
            setFrames(0);
        }
        startSubtitleDump();
        return;
    }
    const double at = m_filmProbePoints.takeFirst();
    m_phase = Phase::FilmProbe;
    m_probeOutput.clear();
    const ToolCommand probe = SeekProbeCommand(m_job.items[m_index].encode, m_job.discPath,
                                               SeekTarget(at, itemFrameRate()));
    if (!m_runner.start(IToolRunner::Encoder, m_values.encoderPath, probe.arguments()))
        filmProbed();
}

void TConversionDriver::filmProbed() {
    const bool film = ShowsFilm(m_probeOutput);
    m_probeOutput.clear();
    if (film)
        ++m_filmProbesShowingFilm;
    if (film != m_route.film) // the parts differ
        m_route.mixedFilm = true;
    startFilmProbe();
}
