#pragma once

#include "convert/conversionjob.h"
#include "convert/intermediatefiles.h"
#include "convert/itemconversion.h"
#include "convert/runprogress.h"
#include "core/clock.h"

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
    void setOutputCheck(bool on) { m_item.setOutputCheck(on); }

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

    void nextItem();
    void itemDone(const std::optional<ItemFailure>& failure, bool cancelled);
    void finishRun();
    void cancel();
    void tick();

    IToolRunner& m_runner;
    IPrompts& m_prompts;
    const ProgramValues& m_values;
    std::unique_ptr<IClock> m_ownClock;
    IClock& m_clock;
    std::unique_ptr<ITimer> m_timer; // timerTime, one second

    ConversionState m_state = ConversionState::Idle;
    ConversionJob m_job;
    QList<ItemFailure> m_failures;
    QStringList m_skipped;
    QStringList m_outputs;
    TIntermediateFiles m_files;
    TRunProgress m_figures;
    TItemConversion m_item; // uses the files and figures above
    int m_index = -1;
    QString m_outputPath;
    int m_stallLimitMs = 10000;
};
