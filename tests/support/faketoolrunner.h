#pragma once

#include "convert/toolrunning.h"

#include <QFile>
#include <QList>
#include <QMap>
#include <QMetaObject>
#include <QTest>

#include <array>
#include <functional>

// The runs a conversion makes of its two tools, told apart by their arguments.
enum class ToolRole { Open, Probe, SubtitleDump, Encode, Transcode };

inline ToolRole RoleOf(const QStringList& arguments, IToolRunner::Slot slot) {
    if (slot == IToolRunner::Transcoder)
        return ToolRole::Transcode;
    if (arguments.contains("-msglevel"))
        return ToolRole::Probe;
    if (arguments.contains("-vobsubout"))
        return ToolRole::SubtitleDump;
    // The disc-open run names no codec: it only opens the title.
    return arguments.contains("-ovc") ? ToolRole::Encode : ToolRole::Open;
}

// What one run of a tool does: it leaves its output file, says its chunks, then ends, unless it
// hangs until stopped.
struct ToolPlay {
    QStringList say{};
    qint64 writes = -1; // bytes left in the output file (the run's last argument); -1: none
    QString copies{};   // a file left as the output instead
    int exitCode = 0;
    bool crash = false;
    bool hang = false;
};

inline ToolPlay writes(qint64 bytes) {
    ToolPlay p;
    p.writes = bytes;
    return p;
}

inline ToolPlay hangs(QStringList say = {}, qint64 bytes = -1) {
    ToolPlay p;
    p.say = std::move(say);
    p.writes = bytes;
    p.hang = true;
    return p;
}

// Tools that run only as far as a test says: a start is written down, and output and ends come
// when the test calls say() and end(), or when its onStart plays the run. terminate() ends a
// running tool a moment later, as the real runner's killed process does.
class FakeToolRunner : public IToolRunner {
public:
    struct Start {
        Slot slot;
        QString program;
        QStringList arguments;
    };
    QList<Start> starts;
    int terminated = 0;
    int interrupted = 0;
    std::array<bool, 2> missing{}; // the slot's tool cannot start, as a missing one
    // How a tool ends when interrupted: with this exit status, or killed when negative.
    int interruptExitCode = -1;
    // Called a moment after each start, outside the starter's call, to play the run.
    std::function<void(const Start&)> onStart;
    // Without onStart, each start plays its role's next play; the last stands for later runs.
    QMap<ToolRole, QList<ToolPlay>> plays;

    void play(ToolRole role, ToolPlay p) { plays[role] = {std::move(p)}; }

    bool start(Slot slot, const QString& program, const QStringList& arguments, QString* error,
               const QString&) override {
        if (missing[slot]) {
            if (error)
                *error = QStringLiteral("No such file or directory");
            return false;
        }
        starts << Start{slot, program, arguments};
        m_running[slot] = true;
        m_chunks[slot] = 0;
        m_said[slot].clear();
        const int run = ++m_runs[slot];
        if (onStart || !plays.isEmpty())
            QMetaObject::invokeMethod(
                this,
                [this, slot, run, started = starts.last()] {
                    if (m_running[slot] && m_runs[slot] == run)
                        onStart ? onStart(started) : perform(started);
                },
                Qt::QueuedConnection);
        return true;
    }
    void terminate(Slot slot) override {
        if (!m_running[slot])
            return;
        ++terminated;
        endSoon(slot, 9, true);
    }
    void interrupt(Slot slot) override {
        if (!m_running[slot])
            return;
        ++interrupted;
        if (interruptExitCode < 0)
            endSoon(slot, 9, true);
        else
            endSoon(slot, interruptExitCode, false);
    }
    bool isRunning(Slot slot) const override { return m_running[slot]; }
    QString outputTail(Slot slot) const override { return m_said[slot].trimmed(); }

    void say(Slot slot, const QString& text) {
        m_said[slot] += text;
        emit chunk(slot, text, m_chunks[slot]++);
    }
    void end(Slot slot, int code = 0, bool crashed = false) {
        m_running[slot] = false;
        ++m_runs[slot];
        emit finished(slot, code, crashed);
    }
    QList<QStringList> runsOf(Slot slot) const {
        QList<QStringList> runs;
        for (const Start& s : starts)
            if (s.slot == slot)
                runs << s.arguments;
        return runs;
    }
    QList<QStringList> runsAs(ToolRole role) const {
        QList<QStringList> runs;
        for (const Start& s : starts)
            if (RoleOf(s.arguments, s.slot) == role)
                runs << s.arguments;
        return runs;
    }
    // Ends each run as it starts, for a test that plays by hand, until one in this role starts.
    bool endRunsUntil(ToolRole role) {
        for (;;) {
            if (starts.isEmpty() && !QTest::qWaitFor([this] { return !starts.isEmpty(); }))
                return false;
            const Start last = starts.last();
            if (RoleOf(last.arguments, last.slot) == role)
                return true;
            const qsizetype before = starts.size();
            end(last.slot);
            if (!QTest::qWaitFor([this, before] { return starts.size() > before; }))
                return false;
        }
    }

private:
    void perform(const Start& start) {
        QList<ToolPlay>& queue = plays[RoleOf(start.arguments, start.slot)];
        const ToolPlay p = queue.isEmpty()    ? ToolPlay()
                           : queue.size() > 1 ? queue.takeFirst()
                                              : queue[0];
        const QString output = start.arguments.value(start.arguments.size() - 1);
        if (p.writes >= 0 || !p.copies.isEmpty())
            QFile::remove(output);
        if (p.writes >= 0) {
            QFile file(output);
            if (file.open(QIODevice::WriteOnly))
                file.write(QByteArray(p.writes, 'x'));
        }
        if (!p.copies.isEmpty())
            QFile::copy(p.copies, output);
        for (const QString& text : p.say)
            say(start.slot, text);
        if (!p.hang)
            end(start.slot, p.exitCode, p.crash);
    }
    void endSoon(Slot slot, int code, bool crashed) {
        const int run = ++m_runs[slot];
        QMetaObject::invokeMethod(
            this,
            [this, slot, run, code, crashed] {
                if (m_running[slot] && m_runs[slot] == run)
                    end(slot, code, crashed);
            },
            Qt::QueuedConnection);
    }

    std::array<bool, 2> m_running{};
    std::array<int, 2> m_chunks{};
    std::array<int, 2> m_runs{};
    std::array<QString, 2> m_said;
};
