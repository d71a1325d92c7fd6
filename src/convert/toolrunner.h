#pragma once

#include "convert/toolrunning.h"

#include <QProcess>
#include <QSocketNotifier>
#include <QStringList>
#include <QTimer>

#include <sys/types.h>

#include <array>
#include <memory>

// Runs the two conversion tools as child processes, one slot each, with standard output and
// error joined into one pipe. Output is read from the event loop, a moment after it arrives: the
// window never waits on a tool, and a tool that prints a line per frame costs a few reads a
// second, not a wake-up per line. Each read yields at most 4095 bytes, cut at a zero byte, and
// only the latest chunk is kept, so memory stays flat however long a tool talks.
class TToolRunner : public IToolRunner {
    Q_OBJECT
public:
    static constexpr qint64 ChunkSize = 4095;
    static constexpr int ReadPauseMs = 40;

    explicit TToolRunner(QObject* parent = nullptr);
    ~TToolRunner() override; // a slot's child never outlives the program

    bool start(Slot slot, const QString& program, const QStringList& arguments,
               QString* error = nullptr, const QString& workingDirectory = {}) override;
    // Ends the slot's child and every process of its group at once; nothing happens when it
    // never ran or has ended.
    void terminate(Slot slot) override;
    void interrupt(Slot slot) override;
    bool isRunning(Slot slot) const override;
    QString outputTail(Slot slot) const override;

    const QString& lastOutput(Slot slot) const { return m_slots[slot].lastChunk; }

private:
    struct Run {
        std::unique_ptr<QProcess> process;
        int pipe = -1; // our end of the tool's output pipe, non-blocking
        std::unique_ptr<QSocketNotifier> readable;
        QString lastChunk;
        QByteArray tail; // the last few kilobytes, for failure reports
        int chunkIndex = 0;
        bool terminated = false;
        pid_t group = 0; // the tool's process group while it may have members
    };

    void outputArrived(Slot slot);
    void readAvailable(Slot slot);
    void exited(Slot slot);
    void release(Run& run);
    static void killGroup(Run& run);
    static void closeOutput(Run& run);

    std::array<Run, 2> m_slots;
    std::array<QTimer, 2> m_readPause;
};
