#pragma once

#include "convert/commandlines.h"
#include "convert/conversionjob.h"
#include "convert/intermediatefiles.h"
#include "convert/itemprobe.h"
#include "convert/outputreadback.h"
#include "convert/runprogress.h"
#include "convert/toolrunning.h"
#include "core/clock.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class IPrompts;
struct ProgramValues;

enum class ConversionState { Idle = 0, Converting = 1, Cancelled = 2 };
// How one item of a run ended.
enum class ItemResult { Converted, Failed, Skipped };

// Converts the items one after another: a short run that opens the disc, the encode pass into
// temp.avi, then the transcode pass into the output file (with whole pictures both passes run
// at once, temp.avi a pipe between them). Everything is driven by the tools' signals and a
// one-second timer, so the window stays live throughout.
class TConversionDriver : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Completed, Cancelled, EncoderMissing };

    TConversionDriver(IToolRunner& runner, IPrompts& prompts, const ProgramValues& values,
                      QObject* parent = nullptr);
    // With another clock for the one-second timer and the stall guard (tests).
    TConversionDriver(IToolRunner& runner, IPrompts& prompts, const ProgramValues& values,
                      IClock& clock, QObject* parent = nullptr);
    ~TConversionDriver() override;

    void run(ConversionJob job);
    // Only while converting: cancels the run, ending the running tools.
    void stop();
    // Ends a run the program is leaving at once, without waiting for the tools to end: the
    // tools, the intermediate files and a half-written output go.
    void abandon();

    // How long the encoder may sit at the end of its span without moving on before it is told
    // to finish: at a DVD title's end it can wait for ever on a position it cannot reach.
    void setEncoderStallLimit(int ms) { m_stallLimitMs = ms; }

    // Each finished output is read back with ffprobe unless this is switched off.
    void setOutputCheck(bool on) { m_checkOutputs = on; }

    ConversionState state() const { return m_state; }
    const ConversionProgress& progress() const { return m_figures.figures(); }
    const QList<ItemFailure>& failures() const { return m_failures; }
    // The output files of items skipped because the user kept an existing file.
    const QStringList& skipped() const { return m_skipped; }
    // This run's intermediate file (temp.avi, or its own name while another run holds that).
    QString intermediatePath() const { return m_files.videoPath(); }
    // Removes this run's intermediate files.
    void removeIntermediate() const { m_files.remove(); }
    // The paths the run wrote, in order (skipped and failed items included where begun).
    const QStringList& outputPaths() const { return m_outputs; }

signals:
    void progressChanged();
    // An item ended: its output path, and for a failure the reason. A canceled item has none.
    void itemEnded(const QString& outputPath, ItemResult result, const QString& reason);
    void finished(TConversionDriver::Outcome outcome);

private:
    // Keeps `own` when given; runs on `clock`, or on `own` when there is none.
    TConversionDriver(IToolRunner& runner, IPrompts& prompts, const ProgramValues& values,
                      std::unique_ptr<IClock> own, IClock* clock, QObject* parent);

    // Stream: the encoder writes into a pipe that the transcoder reads, both running.
    enum class Phase { None, DiscOpen, Probe, SubtitleDump, Encode, Transcode, Stream, Verify };

    void nextItem();
    void startDiscOpen();
    void startProbe();
    void probed(const EncodeRoute& route);
    void startSubtitleDump();
    void startEncode();
    void startTranscode();
    void streamWritten(int exitCode, bool crashed);
    void startVerify();
    void verified(const OutputVerdict& verdict);
    void itemDone();
    void finishRun();
    void cancel();
    void fail(const QString& reason, IToolRunner::Slot slot);
    void onChunk(IToolRunner::Slot slot, const QString& text, int index);
    void onFinished(IToolRunner::Slot slot, int exitCode, bool crashed);
    void tick();
    void checkEncoderStall();
    TRunProgress::Passes passes() const;
    double itemFrameRate() const;
    bool outputUnchanged() const;

    IToolRunner& m_runner;
    IPrompts& m_prompts;
    const ProgramValues& m_values;
    std::unique_ptr<IClock> m_ownClock;
    IClock& m_clock;
    std::unique_ptr<ITimer> m_timer; // timerTime, one second
    TItemProbe m_probe;

    ConversionState m_state = ConversionState::Idle;
    TRunProgress m_figures;
    ConversionJob m_job;
    QList<ItemFailure> m_failures;
    qsizetype m_failuresBeforeItem = 0;
    QStringList m_skipped;
    QStringList m_outputs;
    TIntermediateFiles m_files;
    EncodeRoute m_route;
    Phase m_phase = Phase::None;
    int m_index = -1;
    QString m_outputPath;
    int m_stallLimitMs = 10000;
    bool m_encoderInterrupted = false;
    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
    } m_outputBefore; // the output file as it was before the transcode pass
    bool m_checkOutputs = true;
    QStringList m_transcoderArguments;
    TOutputReadBack m_readBack; // each finished output
};
