#include "convert/itemconversion.h"

#include "convert/outputcheck.h"
#include "convert/outputnames.h"
#include "core/paths.h"
#include "core/producttexts.h"
#include "core/programvalues.h"
#include "core/timetext.h"
#include "platform/prompts.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString productCaption() {
    return QString::fromLatin1(ProductTexts::ProductName);
}

} // namespace

QString ReinstallMessage() {
    return QStringLiteral("Error. Please re-install ") + productCaption();
}

double ItemFrameRate(const ConversionJob& job, int index, const EncodeRoute& route) {
    if (route.film || route.telecine)
        return FilmFrameRate;
    const double own = index >= 0 && index < job.items.size() ? job.items[index].frameRate : 0;
    return own > 0 ? own : job.frameRate;
}

TItemConversion::TItemConversion(Run run, QObject* parent)
    : QObject(parent), m_run(run), m_probe(run.runner, run.values) {
    connect(&m_probe, &TItemProbe::done, this, &TItemConversion::probed);
    connect(&m_run.runner, &IToolRunner::chunk, this, &TItemConversion::onChunk);
    connect(&m_run.runner, &IToolRunner::finished, this, &TItemConversion::onFinished);
    connect(&m_readBack, &TOutputReadBack::read, this, &TItemConversion::verified);
}

void TItemConversion::start(const ConversionJob& job, int index, const QString& outputPath) {
    m_job = &job;
    m_index = index;
    m_outputPath = outputPath;
    m_stopped = false;
    m_route = {};
    m_failure.reset();
    m_outputBefore = {};
    startDiscOpen();
}

void TItemConversion::stop() {
    m_stopped = true;
    if (m_phase == Phase::Probe)
        m_probe.stop(); // its end then ends the item
    if (m_phase == Phase::Verify)
        m_readBack.stop(); // likewise
}

void TItemConversion::removeHalfWritten() const {
    if (!outputUnchanged())
        QFile::remove(m_outputPath);
}

TRunProgress::Passes TItemConversion::passes() const {
    return m_phase == Phase::Encode      ? TRunProgress::Passes::Encode
           : m_phase == Phase::Transcode ? TRunProgress::Passes::Transcode
                                         : TRunProgress::Passes::Both;
}

void TItemConversion::finish() {
    m_run.runner.terminate(IToolRunner::Encoder); // a streaming encoder nobody reads any more
    m_run.files.endPipeWriting();
    m_phase = Phase::None;
    emit ended(m_failure, m_stopped);
}

void TItemConversion::startDiscOpen() {
    const ConversionItem& item = this->item();
    m_phase = Phase::DiscOpen;
    m_run.runner.terminate(IToolRunner::Encoder);
    const ToolCommand open = DiscOpenCommand(item.encode.titleNumber, DrivePartOf(m_job->discPath));
    // Run in the work folder: the bare "temp.avi" it names must not land anywhere else.
    if (!m_run.runner.start(IToolRunner::Encoder, m_run.values.encoderPath, open.arguments(),
                            nullptr, m_job->workDir)) {
        m_run.prompts.inform(ReinstallMessage(), productCaption());
        startEncode(); // the encode pass is attempted all the same
    }
}

void TItemConversion::startProbe() {
    if (m_stopped) {
        finish();
        return;
    }
    m_phase = Phase::Probe;
    m_probe.start(item(), m_job->discPath, frameRate(), m_job->encoderMemory,
                  m_run.files.probePath());
}

void TItemConversion::probed(const EncodeRoute& route) {
    if (m_phase != Phase::Probe)
        return;
    m_route = route;
    if (m_route.film || m_route.telecine) { // its frames are counted at the film's rate
        m_run.figures.recount(RoundHalfEven(item().durationSeconds * frameRate()));
    }
    startSubtitleDump();
}

void TItemConversion::startSubtitleDump() {
    if (m_stopped) {
        finish();
        return;
    }
    const ConversionItem& item = this->item();
    if (item.encode.subtitleIndex == 0) {
        startEncode();
        return;
    }
    m_run.files.remove();
    m_phase = Phase::SubtitleDump;
    m_encoderInterrupted = false;
    m_run.figures.startEncoderRun();
    const ToolCommand dump =
        SubtitleDumpCommand(item.encode, m_job->discPath, m_run.files.subtitleBase());
    if (!m_run.runner.start(IToolRunner::Encoder, m_run.values.encoderPath, dump.arguments()))
        startEncode(); // the encoder is missing: the encode pass says so
}

void TItemConversion::startEncode() {
    if (m_stopped) {
        finish();
        return;
    }
    const ConversionItem& item = this->item();
    if (m_phase == Phase::SubtitleDump) {
        // The encoder may end with an error after writing a good file: the file decides.
        QFile index(m_run.files.subtitleBase() + QStringLiteral(".idx"));
        if (index.open(QIODevice::ReadOnly) && index.readAll().contains("timestamp:")) {
            m_route.subtitleBase = m_run.files.subtitleBase();
        }
    }
    QFile::remove(m_run.files.videoPath()); // what the last item left must not pass for this one's
    const bool streamed = m_job->encoderMemory.rawVideo;
    if (QString error; streamed && !m_run.files.makePipe(&error)) {
        fail(QStringLiteral("no pipe for the intermediate video: ") + error);
        finish();
        return;
    }
    const QFileInfo intermediate(m_run.files.videoPath());
    ToolCommand command = EncodePassCommand(item.encode, m_job->discPath, m_job->encoderOptionBlock,
                                            m_job->encoderMemory, m_route);
    command.add(
        EncoderOutputOption(WithTrailingSeparator(intermediate.path()), intermediate.fileName()));

    m_phase = streamed ? Phase::Stream : Phase::Encode;
    m_encoderInterrupted = false;
    m_run.figures.startEncoderRun();
    m_run.runner.terminate(IToolRunner::Transcoder);
    if (!m_run.runner.start(IToolRunner::Encoder, m_run.values.encoderPath, command.arguments())) {
        m_phase = Phase::None;
        m_run.files.endPipeWriting();
        emit encoderMissing();
        return;
    }
    m_run.figures.setHint(HintText(m_job->volumeName, item.outputName, m_job->outputExtension));
    emit progressChanged();
    if (streamed)
        startTranscode();
}

void TItemConversion::startTranscode() {
    const ConversionItem& item = this->item();
    const ToolCommand options = SettleDeinterlacing(m_job->transcoderOptions, m_route.interlaced);
    // The encoder began at the picture group where it landed: drop what lies before the start,
    // and keep the span's length whatever the encoder's end.
    TranscodeCut cut;
    if (m_route.landed())
        cut.skip =
            OnFrameGrid(std::max(0.0, TimeTextToSeconds(item.encode.startText) - m_route.landedAt),
                        frameRate());
    cut.length = item.durationSeconds;
    cut.soundLead = m_route.soundLead;
    TranscodeMarks marks;
    if (QString error; !writeChapterMarks(options, cut, marks, &error)) {
        fail(QStringLiteral("the chapter marks could not be written: ") + error);
        finish();
        return;
    }
    const ToolCommand command =
        TranscodeCommand(m_run.files.videoPath(), options, m_outputPath, cut, marks);
    m_transcoderArguments = options.arguments();
    const QFileInfo before(m_outputPath);
    m_outputBefore = {before.exists(), before.size(),
                      before.fileTime(QFileDevice::FileModificationTime)};
    if (m_phase != Phase::Stream)
        m_phase = Phase::Transcode;
    m_run.figures.transcodeBegins();
    QString error;
    if (!m_run.runner.start(IToolRunner::Transcoder, m_run.values.transcoderPath,
                            command.arguments(), &error)) {
        m_run.prompts.inform(QStringLiteral("Error"), productCaption());
        fail(QStringLiteral("the transcoder could not be started: ") + error);
        finish();
        return;
    }
}

bool TItemConversion::writeChapterMarks(const ToolCommand& options, const TranscodeCut& cut,
                                        TranscodeMarks& marks, QString* error) {
    m_markCount = -1;
    if (!HoldsChapters(m_job->outputExtension) || !MarksLeftToProgram(options.arguments()))
        return true;
    const double start = TimeTextToSeconds(item().encode.startText);
    const QList<ChapterMark> inSpan =
        MarksInSpan(item().chapters, start, start + item().durationSeconds, frameRate());
    if (inSpan.isEmpty())
        return true;
    QFile file(m_run.files.chaptersPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(ChapterMetadata(inSpan, cut.skip, cut.length)) < 0 || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    marks = {file.fileName(), KeyFrameTimes(inSpan)};
    m_markCount = int(inSpan.size());
    return true;
}

bool TItemConversion::outputUnchanged() const {
    const QFileInfo after(m_outputPath);
    return m_outputBefore.exists && after.exists() && after.size() == m_outputBefore.size &&
           after.fileTime(QFileDevice::FileModificationTime) == m_outputBefore.modified;
}

void TItemConversion::onChunk(IToolRunner::Slot slot, const QString& text, int index) {
    if (m_phase == Phase::None)
        return;
    const double duration = item().durationSeconds;
    if (m_phase == Phase::SubtitleDump && slot == IToolRunner::Encoder) {
        m_run.figures.readerSaid(text); // only for the stall guard: it reads up to the span's end
    } else if ((m_phase == Phase::Encode || m_phase == Phase::Stream) &&
               slot == IToolRunner::Encoder && index >= 20) {
        m_run.figures.encoderSaid(text, passes(), duration, frameRate());
        emit progressChanged();
    } else if ((m_phase == Phase::Transcode || m_phase == Phase::Stream) &&
               slot == IToolRunner::Transcoder && index >= 2) {
        m_run.figures.transcoderSaid(text, passes(), duration, frameRate());
        emit progressChanged();
    }
}

void TItemConversion::onFinished(IToolRunner::Slot slot, int exitCode, bool crashed) {
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
        if (m_stopped) {
            finish();
            return;
        }
        // Told to finish, the encoder closes its file properly and reports the interruption.
        const QString failure =
            PassFailure(QStringLiteral("the encoder"), m_encoderInterrupted ? 0 : exitCode, crashed,
                        m_run.files.videoPath(), QStringLiteral("video"));
        if (!failure.isEmpty()) {
            fail(failure, IToolRunner::Encoder);
            finish();
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
        m_run.runner.terminate(IToolRunner::Encoder);
        if (m_failure) {         // the encoder failed: the item did,
            removeHalfWritten(); // as when the transcoder never ran
            finish();
            return;
        }
        [[fallthrough]];
    case Phase::Transcode: {
        if (slot != IToolRunner::Transcoder)
            return;
        if (!m_stopped) {
            QString failure = PassFailure(QStringLiteral("the transcoder"), exitCode, crashed,
                                          m_outputPath, QStringLiteral("file"));
            if (failure.isEmpty() && outputUnchanged()) // an old file at the path is no output
                failure = QStringLiteral("the transcoder wrote no file");
            if (failure.isEmpty()) {
                startVerify();
                return;
            }
            fail(failure, IToolRunner::Transcoder);
        } else if (crashed || exitCode != 0) {
            // Stopped halfway, the transcoder leaves a file that no player can read, under
            // the name a good output would have.
            removeHalfWritten();
        }
        finish();
        return;
    }
    case Phase::Verify:
        return;
    case Phase::None:
        return;
    }
}

void TItemConversion::streamWritten(int exitCode, bool crashed) {
    if (m_stopped) // the transcoder's end ends the item
        return;
    const QString failure = PassFailure(QStringLiteral("the encoder"),
                                        m_encoderInterrupted ? 0 : exitCode, crashed, {}, {});
    if (!failure.isEmpty()) {
        fail(failure, IToolRunner::Encoder);
        m_run.runner.terminate(IToolRunner::Transcoder);
        return;
    }
    m_run.files.endPipeWriting();
}

void TItemConversion::startVerify() {
    // A tool may exit 0 and still leave a file that lost a stream or part of the span.
    m_phase = Phase::Verify;
    OutputExpectation expected =
        ExpectationFor(m_transcoderArguments, item().durationSeconds, m_job->outputExtension);
    expected.chapters = m_markCount;
    if (!m_readBack.start(m_checkOutputs ? m_run.values.probePath() : QString(), m_outputPath,
                          expected))
        finish();
}

void TItemConversion::verified(const OutputVerdict& verdict) {
    if (m_phase != Phase::Verify)
        return;
    if (!m_stopped && !verdict.complete)
        fail(QStringLiteral("incomplete: ") + verdict.problem);
    finish();
}

void TItemConversion::fail(const QString& reason, IToolRunner::Slot slot) {
    if (!m_failure) // the first says why
        m_failure =
            ItemFailure{QFileInfo(m_outputPath).fileName(), reason, m_run.runner.outputTail(slot)};
}

void TItemConversion::fail(const QString& reason) {
    if (!m_failure)
        m_failure = ItemFailure{QFileInfo(m_outputPath).fileName(), reason, QString()};
}

void TItemConversion::checkEncoderStall(int limitMs) {
    // Only a position this pass has reached counts: the last item's may be far along already.
    if ((m_phase != Phase::Encode && m_phase != Phase::Stream && m_phase != Phase::SubtitleDump) ||
        m_encoderInterrupted || m_index < 0 || !m_run.runner.isRunning(IToolRunner::Encoder) ||
        m_run.figures.encoderStillMs().value_or(0) < limitMs)
        return;
    const double duration = item().durationSeconds;
    // The subtitle run reads from the title's start, so any stall there is at its end.
    if (m_phase == Phase::SubtitleDump ||
        m_run.figures.encoderPosition() >= duration - TitleEndMarginSeconds) {
        m_encoderInterrupted = true;
        m_run.runner.interrupt(IToolRunner::Encoder);
    }
}
