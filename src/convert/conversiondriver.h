#pragma once

#include "convert/commandlines.h"
#include "convert/conversionjob.h"
#include "convert/intermediatefiles.h"
#include "convert/outputreadback.h"
#include "convert/progressparse.h"
#include "convert/toolrunning.h"
#include "core/clock.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class IPrompts;
struct ProgramValues;

enum class ConversionState { Idle = 0, Converting = 1, Cancelled = 2 };
// The figures the window shows during a run.
struct ConversionProgress {
    int current = 0; // per cent, 0 to 100
    int total = 0;
    QString framesText; // "a / b"
    QString elapsedText;
    QString remainingText;
    QString hintText;
    // The same figures as numbers.
    long long frames = 0;
    long long framesTotal = 0;
    long long elapsedSeconds = 0;
    long long remainingSeconds = -1; // -1 until it can be told
};

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
    const ConversionProgress& progress() const { return m_progress; }
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
    enum class Phase {
        None,
        DiscOpen,
        SeekProbe,
        FieldCheck,
        FilmProbe,
        SubtitleDump,
        Encode,
        Transcode,
        Stream,
        Verify
    };

    void nextItem();
    void startDiscOpen();
    void startSeekProbe();
    void seekProbed();
    void fieldsChecked();
    void startFilmProbe();
    void filmProbed();
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
    void showPasses(double duration);
    void show(const ProgressFigures& figures);
    void setFrames(long long shown);
    double itemFrameRate() const;
    bool outputUnchanged() const;

    IToolRunner& m_runner;
    IPrompts& m_prompts;
    const ProgramValues& m_values;
    std::unique_ptr<IClock> m_ownClock;
    IClock& m_clock;
    std::unique_ptr<ITimer> m_timer; // timerTime, one second

    ConversionState m_state = ConversionState::Idle;
    ConversionProgress m_progress;
    ConversionJob m_job;
    QList<ItemFailure> m_failures;
    qsizetype m_failuresBeforeItem = 0;
    QStringList m_skipped;
    QStringList m_outputs;
    TIntermediateFiles m_files;
    EncodeRoute m_route;
    QList<double> m_filmProbePoints; // where the item is still to be probed for film
    int m_filmProbesShowingFilm = 0;
    QString m_probeOutput;
    Phase m_phase = Phase::None;
    int m_index = -1;
    double m_totalWork = 0;
    double m_accumulated = 0;
    double m_encoderPosition = 0; // carried from item to item until a new one is read
    QString m_positionText;
    double m_transcoderTime = 0;
    QString m_timeText;
    long long m_totalFrames = 0;
    long long m_elapsed = 0;
    long long m_remaining = 0;
    QString m_outputPath;
    qint64 m_positionMovedAt = 0; // when the encoder's position last moved
    int m_stallLimitMs = 10000;
    bool m_encoderInterrupted = false;
    bool m_positionThisPass = false; // the stall guard judges only the running pass
    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
    } m_outputBefore; // the output file as it was before the transcode pass
    bool m_checkOutputs = true;
    QStringList m_transcoderArguments;
    TOutputReadBack m_readBack; // each finished output
};
