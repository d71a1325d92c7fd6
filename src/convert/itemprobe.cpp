#include "convert/itemprobe.h"

#include "convert/picturescan.h"
#include "core/programvalues.h"
#include "core/timetext.h"

#include <QFile>

#include <algorithm>

TItemProbe::TItemProbe(IToolRunner& runner, const ProgramValues& values, QObject* parent)
    : QObject(parent), m_runner(runner), m_values(values) {
    connect(&m_runner, &IToolRunner::chunk, this,
            [this](IToolRunner::Slot slot, const QString& text, int) { onChunk(slot, text); });
    connect(&m_runner, &IToolRunner::finished, this,
            [this](IToolRunner::Slot slot, int, bool) { onFinished(slot); });
}

void TItemProbe::start(const ConversionItem& item, const QString& discPath, double frameRate,
                       const EncoderMemory& memory, const QString& picturesPath) {
    m_item = item;
    m_discPath = discPath;
    m_frameRate = frameRate;
    m_memory = memory;
    m_picturesPath = picturesPath;
    m_stopped = false;
    m_route = {};
    const double target = SeekTarget(TimeTextToSeconds(item.encode.startText), m_frameRate);
    // Probed from the title's start too: the pictures there may be film or interlaced.
    m_step = Step::Seek;
    m_output.clear();
    QFile::remove(m_picturesPath);
    const ToolCommand probe = SeekProbeCommand(
        item.encode, discPath, target > 0 ? target : TitleStartSeekSeconds, m_picturesPath);
    if (!m_runner.start(IToolRunner::Encoder, m_values.encoderPath, probe.arguments()))
        seekProbed();
}

void TItemProbe::onChunk(IToolRunner::Slot slot, const QString& text) {
    const bool mine =
        ((m_step == Step::Seek || m_step == Step::Film) && slot == IToolRunner::Encoder) ||
        (m_step == Step::Fields && slot == IToolRunner::Transcoder);
    if (mine && m_output.size() < 1 << 20)
        m_output += text;
}

void TItemProbe::onFinished(IToolRunner::Slot slot) {
    switch (m_step) {
    case Step::Seek:
        if (slot == IToolRunner::Encoder)
            seekProbed();
        return;
    case Step::Fields:
        if (slot == IToolRunner::Transcoder)
            fieldsChecked();
        return;
    case Step::Film:
        if (slot == IToolRunner::Encoder)
            filmProbed();
        return;
    case Step::None:
        return;
    }
}

void TItemProbe::seekProbed() {
    if (m_stopped) {
        finish();
        return;
    }
    const double start = TimeTextToSeconds(m_item.encode.startText);
    const double target = SeekTarget(start, m_frameRate);
    m_route.film = ShowsFilm(m_output);
    {
        // A second's pictures, as the probe copied them, say whether they are two fields.
        QFile pictures(m_picturesPath);
        constexpr qint64 enough = 4 * 1024 * 1024;
        m_route.interlaced = !m_route.film && pictures.open(QIODevice::ReadOnly) &&
                             ScanPictures(pictures.read(enough)).interlaced();
    }
    // The landing counts real seconds, whatever the seek's own count.
    const std::optional<SeekLanded> landed =
        SeekLanding(m_output, std::max(0.0, start - SeekLeadSeconds));
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
    m_route.soundLead = (landed ? landed->soundLead : 0) + EncoderSoundDelay(m_memory);
    m_output.clear();
    // Two fields in each picture may be video or woven film: the transcoder tells them apart.
    m_step = Step::Fields;
    if (!m_route.interlaced || !m_runner.start(IToolRunner::Transcoder, m_values.transcoderPath,
                                               FieldCheckCommand(m_picturesPath).arguments()))
        fieldsChecked();
}

void TItemProbe::fieldsChecked() {
    if (ShowsTelecine(m_output)) {
        m_route.telecine = true;
        m_route.interlaced = false;
        // The pullup filter uses up the first film picture it finds while it locks onto the
        // pattern: the intermediate's picture begins one later, its sound does not.
        const double held = 1 / FilmFrameRate;
        if (m_route.landed())
            m_route.landedAt += held;
        m_route.soundLead += held;
    }
    m_output.clear();
    QFile::remove(m_picturesPath);
    m_filmPoints = m_route.telecine ? QList<double>()
                                    : FilmProbePoints(TimeTextToSeconds(m_item.encode.startText),
                                                      TimeTextToSeconds(m_item.encode.endText));
    m_filmSeen = 0;
    nextFilmProbe();
}

void TItemProbe::nextFilmProbe() {
    if (m_stopped) {
        finish();
        return;
    }
    if (m_filmPoints.isEmpty()) {
        m_route.film = m_route.film || m_filmSeen > 0;
        if (m_route.mixedFilm) {
            // Written with frames dropped or repeated to keep step, the intermediate's picture
            // begins with its first picture twice: one film picture before the landing.
            const double repeated = 1 / FilmFrameRate;
            if (m_route.landed())
                m_route.landedAt -= repeated;
            m_route.soundLead -= repeated;
        }
        finish();
        return;
    }
    const double at = m_filmPoints.takeFirst();
    m_step = Step::Film;
    m_output.clear();
    const ToolCommand probe =
        SeekProbeCommand(m_item.encode, m_discPath, SeekTarget(at, m_frameRate));
    if (!m_runner.start(IToolRunner::Encoder, m_values.encoderPath, probe.arguments()))
        filmProbed();
}

void TItemProbe::filmProbed() {
    const bool film = ShowsFilm(m_output);
    m_output.clear();
    if (film)
        ++m_filmSeen;
    if (film != m_route.film) // the parts differ
        m_route.mixedFilm = true;
    nextFilmProbe();
}

void TItemProbe::finish() {
    m_step = Step::None;
    QFile::remove(m_picturesPath);
    // From the event loop: the run that ended may still be telling others of its end.
    QMetaObject::invokeMethod(
        this, [this, route = m_route] { emit done(route); }, Qt::QueuedConnection);
}
