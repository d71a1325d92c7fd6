#pragma once

#include "convert/conversionjob.h"

#include <QString>

class IClock;

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

// A run's figures, from what the tools say: each item is two passes of its length, the encoder's
// and the transcoder's, and the bars, frame counter and times follow them. It also keeps when
// the encoder last moved, for the stall guard.
class TRunProgress {
public:
    // Which passes run: one, then the other, or both at once with a pipe between them.
    enum class Passes { Encode, Transcode, Both };

    explicit TRunProgress(const IClock& clock) : m_clock(clock) {}

    const ConversionProgress& figures() const { return m_progress; }

    void startRun(const QList<ConversionItem>& items);
    // An item of `totalFrames` begins; counted anew when its rate proves to be another.
    void startItem(long long totalFrames);
    void recount(long long totalFrames);
    // A skipped item counts as done, so the total bar stays in proportion.
    void skipItem(double seconds);
    void setHint(const QString& text) { m_progress.hintText = text; }
    // An encoder run begins: no position is read yet, and the stall guard's clock restarts.
    void startEncoderRun();
    // The encoder's chunk past its header, and the transcoder's; the figures follow `passes`.
    void encoderSaid(const QString& text, Passes passes, double duration, double frameRate);
    void transcoderSaid(const QString& text, Passes passes, double duration, double frameRate);
    // A chunk of a run that reads without converting: only that it moves counts.
    void readerSaid(const QString& text);
    void transcodeBegins();
    void itemDone();
    void tick(); // one second more
    void finish();

    double encoderPosition() const { return m_encoderPosition; }
    // How long the encoder has sat on one position this run; nothing before it told one.
    std::optional<qint64> encoderStillMs() const;

private:
    void showPasses(Passes passes, double duration, double frameRate);
    void setFrames(long long shown);

    const IClock& m_clock;
    ConversionProgress m_progress;
    double m_totalWork = 0;
    double m_accumulated = 0;
    double m_encoderPosition = 0; // carried from item to item until a new one is read
    QString m_positionText;
    double m_transcoderTime = 0;
    QString m_timeText;
    long long m_totalFrames = 0;
    long long m_elapsed = 0;
    long long m_remaining = 0;
    qint64 m_positionMovedAt = 0;   // when the encoder's position last moved
    bool m_positionThisRun = false; // the stall guard judges only the running pass
};
