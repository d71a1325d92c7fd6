#pragma once

#include "convert/commandlines.h"
#include "convert/conversionjob.h"
#include "convert/intermediatefiles.h"
#include "convert/itemprobe.h"
#include "convert/outputreadback.h"
#include "convert/runprogress.h"
#include "convert/toolrunning.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

class IPrompts;
struct ProgramValues;

// "Error. Please re-install Kelvo Ripvale", when a tool cannot be started.
QString ReinstallMessage();

// The rate an item's frames are counted at: the film's once the route says film, else its
// title's own, else the disc's.
double ItemFrameRate(const ConversionJob& job, int index, const EncodeRoute& route);

// One item of a run, from the disc-open run to the read-back of its output: the probe, the
// subtitle dump, the encode pass into the intermediate file, the transcode pass into the output
// (with whole pictures both passes at once, the intermediate a pipe between them), each step
// started when the last has ended. The run's driver starts it and hears how it ended.
class TItemConversion : public QObject {
    Q_OBJECT
public:
    // What every item of a run shares.
    struct Run {
        IToolRunner& runner;
        IPrompts& prompts;
        const ProgramValues& values;
        TIntermediateFiles& files;
        TRunProgress& figures;
    };

    explicit TItemConversion(Run run, QObject* parent = nullptr);

    // Converts item `index` of `job` into `outputPath`.
    void start(const ConversionJob& job, int index, const QString& outputPath);
    // The running step ends with its tools (the driver ends those): `ended` follows, cancelled.
    void stop();
    // While the transcoder writes the output.
    bool writing() const { return m_phase == Phase::Transcode || m_phase == Phase::Stream; }
    // What a pass left under the output's name goes, unless it is the file as it was.
    void removeHalfWritten() const;

    // Tells an encoder that has sat at its span's end for `limitMs` to finish.
    void checkEncoderStall(int limitMs);
    void setOutputCheck(bool on) { m_checkOutputs = on; }

signals:
    void progressChanged();
    // The item ended: converted, or failed with `failure`; `cancelled` when Stop came first.
    void ended(const std::optional<ItemFailure>& failure, bool cancelled);
    // The encoder cannot be started: the run cannot go on.
    void encoderMissing();

private:
    // Stream: the encoder writes into a pipe that the transcoder reads, both running.
    enum class Phase { None, DiscOpen, Probe, SubtitleDump, Encode, Transcode, Stream, Verify };

    void startDiscOpen();
    void startProbe();
    void probed(const EncodeRoute& route);
    void startSubtitleDump();
    void startEncode();
    void startTranscode();
    void streamWritten(int exitCode, bool crashed);
    void startVerify();
    void verified(const OutputVerdict& verdict);
    void finish();
    void fail(const QString& reason, IToolRunner::Slot slot);
    void fail(const QString& reason);
    void onChunk(IToolRunner::Slot slot, const QString& text, int index);
    void onFinished(IToolRunner::Slot slot, int exitCode, bool crashed);
    TRunProgress::Passes passes() const;
    double frameRate() const { return ItemFrameRate(*m_job, m_index, m_route); }
    const ConversionItem& item() const { return m_job->items[m_index]; }
    bool outputUnchanged() const;
    // The item's chapter marks into the work folder for the transcoder, where the output holds
    // them and the profile leaves them on; `marks` then names them. False when they cannot be
    // written.
    bool writeChapterMarks(const ToolCommand& options, const TranscodeCut& cut,
                           TranscodeMarks& marks, QString* error);

    Run m_run;
    TItemProbe m_probe;
    TOutputReadBack m_readBack; // the finished output
    const ConversionJob* m_job = nullptr;
    int m_index = -1;
    QString m_outputPath;
    Phase m_phase = Phase::None;
    bool m_stopped = false;
    EncodeRoute m_route;
    std::optional<ItemFailure> m_failure;
    bool m_encoderInterrupted = false;
    struct FileStamp {
        bool exists = false;
        qint64 size = 0;
        QDateTime modified;
    } m_outputBefore; // the output file as it was before the transcode pass
    bool m_checkOutputs = true;
    QStringList m_transcoderArguments;
    int m_markCount = -1; // the chapter marks the output is to hold; -1: none asked for
};
