#include "convert/conversiondriver.h"

#include "convert/outputcheck.h"
#include "convert/outputnames.h"
#include "convert/progressparse.h"
#include "core/paths.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "core/timetext.h"
#include "platform/prompts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString reinstallMessage() {
    return QStringLiteral("Error. Please re-install ") +
           QString::fromLatin1(ProductTexts::ProductName);
}

QString productCaption() {
    return QString::fromLatin1(ProductTexts::ProductName);
}

} // namespace

TConversionDriver::TConversionDriver(IToolRunner& runner, IPrompts& prompts,
                                     const ProgramValues& values, QObject* parent)
    : TConversionDriver(runner, prompts, values, std::make_unique<QtClock>(), nullptr, parent) {}

TConversionDriver::TConversionDriver(IToolRunner& runner, IPrompts& prompts,
                                     const ProgramValues& values, IClock& clock, QObject* parent)
    : TConversionDriver(runner, prompts, values, nullptr, &clock, parent) {}

TConversionDriver::TConversionDriver(IToolRunner& runner, IPrompts& prompts,
                                     const ProgramValues& values, std::unique_ptr<IClock> own,
                                     IClock* clock, QObject* parent)
    : QObject(parent), m_runner(runner), m_prompts(prompts), m_values(values),
      m_ownClock(std::move(own)), m_clock(clock ? *clock : *m_ownClock),
      m_timer(m_clock.createTimer(1000, [this] { tick(); })), m_probe(runner, values),
      m_figures(m_clock) {
    connect(&m_probe, &TItemProbe::done, this, &TConversionDriver::probed);
    connect(&m_runner, &IToolRunner::chunk, this, &TConversionDriver::onChunk);
    connect(&m_runner, &IToolRunner::finished, this, &TConversionDriver::onFinished);
    connect(&m_readBack, &TOutputReadBack::read, this, &TConversionDriver::verified);
}

TConversionDriver::~TConversionDriver() = default;

void TConversionDriver::run(ConversionJob job) {
    m_job = std::move(job);
    m_failures.clear();
    m_skipped.clear();
    m_outputs.clear();
    // The work folder is settled once, here, for the whole run.
    m_job.workDir = WithTrailingSeparator(!m_job.workDir.isEmpty() && QDir(m_job.workDir).exists()
                                              ? m_job.workDir
                                              : m_values.folders.defaultWorkDir);
    m_files.settle(m_job.workDir);
    m_figures.startRun(m_job.items);
    m_state = ConversionState::Converting;
    m_index = -1;
    m_timer->setEnabled(true);
    emit progressChanged();
    nextItem();
}

void TConversionDriver::stop() {
    if (m_state != ConversionState::Converting)
        return;
    m_state = ConversionState::Cancelled;
    m_runner.terminate(IToolRunner::Encoder);
    m_runner.terminate(IToolRunner::Transcoder);
    if (m_phase == Phase::Probe)
        m_probe.stop(); // its end then leads to the cancellation
    if (m_phase == Phase::Verify)
        m_readBack.stop(); // likewise
}

void TConversionDriver::abandon() {
    const bool writing = m_phase == Phase::Transcode || m_phase == Phase::Stream;
    stop();
    removeIntermediate();
    if (writing && !outputUnchanged())
        QFile::remove(m_outputPath);
}

void TConversionDriver::nextItem() {
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    ++m_index;
    if (m_index >= m_job.items.size()) {
        finishRun();
        return;
    }
    const ConversionItem& item = m_job.items[m_index];
    m_route = {};
    m_figures.startItem(RoundHalfEven(item.durationSeconds * itemFrameRate()));
    emit progressChanged();

    m_outputPath = ChosenOutputPath(m_job, item, m_prompts, m_clock.localTime());
    if (m_outputPath.isEmpty()) {
        m_figures.skipItem(item.durationSeconds);
        m_outputPath = OutputPath(m_job, item);
        m_skipped << QFileInfo(m_outputPath).fileName();
        emit itemEnded(m_outputPath, ItemResult::Skipped, {});
        QMetaObject::invokeMethod(this, &TConversionDriver::nextItem, Qt::QueuedConnection);
        return;
    }
    m_outputs << m_outputPath;
    m_failuresBeforeItem = m_failures.size();
    startDiscOpen();
}

void TConversionDriver::startDiscOpen() {
    const ConversionItem& item = m_job.items[m_index];
    m_phase = Phase::DiscOpen;
    m_runner.terminate(IToolRunner::Encoder);
    const ToolCommand open = DiscOpenCommand(item.encode.titleNumber, DrivePartOf(m_job.discPath));
    // Run in the work folder: the bare "temp.avi" it names must not land anywhere else.
    if (!m_runner.start(IToolRunner::Encoder, m_values.encoderPath, open.arguments(), nullptr,
                        m_job.workDir)) {
        m_prompts.inform(reinstallMessage(), productCaption());
        startEncode(); // the encode pass is attempted all the same
    }
}

void TConversionDriver::startProbe() {
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    m_phase = Phase::Probe;
    m_probe.start(m_job.items[m_index], m_job.discPath, itemFrameRate(), m_job.encoderMemory,
                  m_files.probePath());
}

void TConversionDriver::probed(const EncodeRoute& route) {
    if (m_phase != Phase::Probe)
        return;
    m_route = route;
    if (m_route.film || m_route.telecine) { // its frames are counted at the film's rate
        m_figures.recount(RoundHalfEven(m_job.items[m_index].durationSeconds * itemFrameRate()));
    }
    startSubtitleDump();
}

void TConversionDriver::startSubtitleDump() {
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    const ConversionItem& item = m_job.items[m_index];
    if (item.encode.subtitleIndex == 0) {
        startEncode();
        return;
    }
    removeIntermediate();
    m_phase = Phase::SubtitleDump;
    m_encoderInterrupted = false;
    m_figures.startEncoderRun();
    const ToolCommand dump =
        SubtitleDumpCommand(item.encode, m_job.discPath, m_files.subtitleBase());
    if (!m_runner.start(IToolRunner::Encoder, m_values.encoderPath, dump.arguments()))
        startEncode(); // the encoder is missing: the encode pass says so
}

void TConversionDriver::startEncode() {
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    const ConversionItem& item = m_job.items[m_index];
    if (m_phase == Phase::SubtitleDump) {
        // The encoder may end with an error after writing a good file: the file decides.
        QFile index(m_files.subtitleBase() + QStringLiteral(".idx"));
        if (index.open(QIODevice::ReadOnly) && index.readAll().contains("timestamp:")) {
            m_route.subtitleBase = m_files.subtitleBase();
        }
    }
    QFile::remove(intermediatePath()); // what the last item left must not pass for this one's
    const bool streamed = m_job.encoderMemory.rawVideo;
    if (QString error; streamed && !m_files.makePipe(&error)) {
        m_failures.append({QFileInfo(m_outputPath).fileName(),
                           QStringLiteral("no pipe for the intermediate video: ") + error,
                           QString()});
        itemDone();
        return;
    }
    const QFileInfo intermediate(intermediatePath());
    ToolCommand command = EncodePassCommand(item.encode, m_job.discPath, m_job.encoderOptionBlock,
                                            m_job.encoderMemory, m_route);
    command.add(
        EncoderOutputOption(WithTrailingSeparator(intermediate.path()), intermediate.fileName()));

    m_phase = streamed ? Phase::Stream : Phase::Encode;
    m_encoderInterrupted = false;
    m_figures.startEncoderRun();
    m_runner.terminate(IToolRunner::Transcoder);
    if (!m_runner.start(IToolRunner::Encoder, m_values.encoderPath, command.arguments())) {
        m_phase = Phase::None;
        m_files.endPipeWriting();
        m_timer->setEnabled(false);
        m_prompts.inform(reinstallMessage(), productCaption());
        emit finished(Outcome::EncoderMissing);
        return;
    }
    m_figures.setHint(HintText(m_job.volumeName, item.outputName, m_job.outputExtension));
    emit progressChanged();
    if (streamed)
        startTranscode();
}

void TConversionDriver::startTranscode() {
    const ConversionItem& item = m_job.items[m_index];
    const ToolCommand options = SettleDeinterlacing(m_job.transcoderOptions, m_route.interlaced);
    // The encoder began at the picture group where it landed: drop what lies before the start,
    // and keep the span's length whatever the encoder's end.
    TranscodeCut cut;
    if (m_route.landed())
        cut.skip =
            OnFrameGrid(std::max(0.0, TimeTextToSeconds(item.encode.startText) - m_route.landedAt),
                        itemFrameRate());
    cut.length = item.durationSeconds;
    cut.soundLead = m_route.soundLead;
    const ToolCommand command = TranscodeCommand(intermediatePath(), options, m_outputPath, cut);
    m_transcoderArguments = options.arguments();
    const QFileInfo before(m_outputPath);
    m_outputBefore = {before.exists(), before.size(),
                      before.fileTime(QFileDevice::FileModificationTime)};
    if (m_phase != Phase::Stream)
        m_phase = Phase::Transcode;
    m_figures.transcodeBegins();
    QString error;
    if (!m_runner.start(IToolRunner::Transcoder, m_values.transcoderPath, command.arguments(),
                        &error)) {
        m_prompts.inform(QStringLiteral("Error"), productCaption());
        m_failures.append({QFileInfo(m_outputPath).fileName(),
                           QStringLiteral("the transcoder could not be started: ") + error,
                           QString()});
        itemDone();
        return;
    }
}

bool TConversionDriver::outputUnchanged() const {
    const QFileInfo after(m_outputPath);
    return m_outputBefore.exists && after.exists() && after.size() == m_outputBefore.size &&
           after.fileTime(QFileDevice::FileModificationTime) == m_outputBefore.modified;
}

void TConversionDriver::onChunk(IToolRunner::Slot slot, const QString& text, int index) {
    if (m_state == ConversionState::Idle || m_index < 0 || m_index >= m_job.items.size())
        return;
    const double duration = m_job.items[m_index].durationSeconds;
    if (m_phase == Phase::SubtitleDump && slot == IToolRunner::Encoder) {
        m_figures.readerSaid(text); // only for the stall guard: it reads up to the span's end
    } else if ((m_phase == Phase::Encode || m_phase == Phase::Stream) &&
               slot == IToolRunner::Encoder && index >= 20) {
        m_figures.encoderSaid(text, passes(), duration, itemFrameRate());
        emit progressChanged();
    } else if ((m_phase == Phase::Transcode || m_phase == Phase::Stream) &&
               slot == IToolRunner::Transcoder && index >= 2) {
        m_figures.transcoderSaid(text, passes(), duration, itemFrameRate());
        emit progressChanged();
    }
}

void TConversionDriver::onFinished(IToolRunner::Slot slot, int exitCode, bool crashed) {
    switch (m_phase) {
    case Phase::Probe: // the probe hears its own runs
        return;
    case Phase::DiscOpen: // the runs before the encode pass: each step heeds a cancel itself
    case Phase::SubtitleDump:
        if (slot != IToolRunner::Encoder)
            return;
        if (m_phase == Phase::DiscOpen)
            startProbe();
        else
            startEncode();
        return;
    case Phase::Encode: {
        if (slot != IToolRunner::Encoder)
            return;
        if (m_state == ConversionState::Cancelled) {
            cancel();
            return;
        }
        // Told to finish, the encoder closes its file properly and reports the interruption.
        const QString failure =
            PassFailure(QStringLiteral("the encoder"), m_encoderInterrupted ? 0 : exitCode, crashed,
                        intermediatePath(), QStringLiteral("video"));
        if (!failure.isEmpty()) {
            fail(failure, IToolRunner::Encoder);
            itemDone();
            return;
        }
        startTranscode();
        return;
    }
    case Phase::Stream:
        if (slot == IToolRunner::Encoder) {
            streamWritten(exitCode, crashed);
            return;
        }
        // Nobody reads what the encoder may still write: it would wait on the pipe for ever.
        m_runner.terminate(IToolRunner::Encoder);
        if (m_failures.size() > m_failuresBeforeItem) { // the encoder failed: the item did
            if (!outputUnchanged())                     // as when the transcoder never ran
                QFile::remove(m_outputPath);
            itemDone();
            return;
        }
        [[fallthrough]];
    case Phase::Transcode: {
        if (slot != IToolRunner::Transcoder)
            return;
        if (m_state != ConversionState::Cancelled) {
            QString failure = PassFailure(QStringLiteral("the transcoder"), exitCode, crashed,
                                          m_outputPath, QStringLiteral("file"));
            if (failure.isEmpty() && outputUnchanged()) // an old file at the path is no output
                failure = QStringLiteral("the transcoder wrote no file");
            if (failure.isEmpty()) {
                startVerify();
                return;
            }
            fail(failure, IToolRunner::Transcoder);
        } else if ((crashed || exitCode != 0) && !outputUnchanged()) {
            // Stopped halfway, the transcoder leaves a file that no player can read, under
            // the name a good output would have.
            QFile::remove(m_outputPath);
        }
        itemDone();
        return;
    }
    case Phase::Verify:
        return;
    case Phase::None:
        return;
    }
}

void TConversionDriver::streamWritten(int exitCode, bool crashed) {
    if (m_state == ConversionState::Cancelled) // the transcoder's end ends the item
        return;
    const QString failure = PassFailure(QStringLiteral("the encoder"),
                                        m_encoderInterrupted ? 0 : exitCode, crashed, {}, {});
    if (!failure.isEmpty()) {
        fail(failure, IToolRunner::Encoder);
        m_runner.terminate(IToolRunner::Transcoder);
        return;
    }
    m_files.endPipeWriting();
}

void TConversionDriver::startVerify() {
    // A tool may exit 0 and still leave a file that lost a stream or part of the span.
    m_phase = Phase::Verify;
    if (!m_readBack.start(m_checkOutputs ? m_values.probePath() : QString(), m_outputPath,
                          ExpectationFor(m_transcoderArguments,
                                         m_job.items[m_index].durationSeconds,
                                         m_job.outputExtension)))
        itemDone();
}

void TConversionDriver::verified(const OutputVerdict& verdict) {
    if (m_phase != Phase::Verify)
        return;
    if (m_state != ConversionState::Cancelled && !verdict.complete)
        m_failures.append({QFileInfo(m_outputPath).fileName(),
                           QStringLiteral("incomplete: ") + verdict.problem, QString()});
    itemDone();
}

void TConversionDriver::fail(const QString& reason, IToolRunner::Slot slot) {
    m_failures.append({QFileInfo(m_outputPath).fileName(), reason, m_runner.outputTail(slot)});
}

void TConversionDriver::itemDone() {
    if (m_state != ConversionState::Cancelled) {
        const bool failed = m_failures.size() > m_failuresBeforeItem;
        emit itemEnded(m_outputPath, failed ? ItemResult::Failed : ItemResult::Converted,
                       failed ? m_failures.last().reason : QString());
    }
    m_runner.terminate(IToolRunner::Encoder); // a streaming encoder nobody reads any more
    m_files.endPipeWriting();
    m_phase = Phase::None;
    m_figures.itemDone();
    emit progressChanged();
    if (m_state == ConversionState::Cancelled) {
        cancel();
        return;
    }
    QMetaObject::invokeMethod(this, &TConversionDriver::nextItem, Qt::QueuedConnection);
}

void TConversionDriver::checkEncoderStall() {
    // Only a position this pass has reached counts: the last item's may be far along already.
    if ((m_phase != Phase::Encode && m_phase != Phase::Stream && m_phase != Phase::SubtitleDump) ||
        m_encoderInterrupted || m_index < 0 || !m_runner.isRunning(IToolRunner::Encoder) ||
        m_figures.encoderStillMs().value_or(0) < m_stallLimitMs)
        return;
    const double duration = m_job.items[m_index].durationSeconds;
    // The subtitle run reads from the title's start, so any stall there is at its end.
    if (m_phase == Phase::SubtitleDump ||
        m_figures.encoderPosition() >= duration - TitleEndMarginSeconds) {
        m_encoderInterrupted = true;
        m_runner.interrupt(IToolRunner::Encoder);
    }
}

void TConversionDriver::finishRun() {
    m_phase = Phase::None;
    m_figures.finish();
    m_files.release();
    if (m_state == ConversionState::Converting)
        m_timer->setEnabled(false);
    m_state = ConversionState::Idle; // the run is over however its end is handled
    emit progressChanged();
    emit finished(Outcome::Completed);
}

void TConversionDriver::cancel() {
    m_phase = Phase::None;
    m_timer->setEnabled(false);
    m_files.release();
    m_prompts.inform(QStringLiteral("The conversion is canceled."), QStringLiteral("Cancel"));
    m_state = ConversionState::Idle;
    emit finished(Outcome::Cancelled);
}
