#include "toolrunner.h"

#include <QTimer>

#include <csignal>

#include <unistd.h>

namespace {
constexpr qsizetype TailBytes = 4096;
}

TToolRunner::TToolRunner(QObject* parent) : QObject(parent) {}

TToolRunner::~TToolRunner() {
    for (int s = 0; s < 2; ++s) {
        if (QProcess* p = m_slots[s].process.get()) {
            p->disconnect(this);
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(3000);
            }
        }
    }
}

bool TToolRunner::start(Slot slot, const QString& program, const QStringList& arguments,
                        QString* error, const QString& workingDirectory) {
    terminate(slot);
    Run& run = m_slots[slot];
    if (run.process) {
        // The old process may be the one whose signal is being handled right now.
        run.process->disconnect(this);
        run.process.release()->deleteLater();
    }
    run = Run{};
    run.process = std::make_unique<QProcess>();
    QProcess* p = run.process.get();
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setStandardInputFile(QProcess::nullDevice()); // a tool never waits for keyboard input
    // In a group of its own, so Ctrl+C in a terminal reaches only the program, which then
    // stops the tool as Stop does.
    p->setChildProcessModifier([] { ::setpgid(0, 0); });
    // Output is collected for a moment before it is read, as a blocking read would find it:
    // a tool that prints a line per frame then costs a few reads a second, not thousands.
    connect(p, &QProcess::readyReadStandardOutput, this, [this, slot, p] {
        Run& current = m_slots[slot];
        if (current.process.get() != p || current.readScheduled)
            return;
        current.readScheduled = true;
        QTimer::singleShot(ReadPauseMs, this, [this, slot, p] {
            if (m_slots[slot].process.get() != p)
                return;
            m_slots[slot].readScheduled = false;
            readAvailable(slot);
        });
    });
    connect(p, &QProcess::finished, this, [this, slot] { exited(slot); });
    if (!workingDirectory.isEmpty())
        p->setWorkingDirectory(workingDirectory);
    p->start(program, arguments, QIODevice::ReadOnly);
    if (!p->waitForStarted(10000)) {
        if (error)
            *error = p->errorString();
        p->disconnect(this);
        return false;
    }
    return true;
}

void TToolRunner::readAvailable(Slot slot) {
    Run& run = m_slots[slot];
    QProcess* const p = run.process.get();
    char buffer[ChunkSize + 2];
    while (p && run.process.get() == p && p->bytesAvailable() > 0) {
        const qint64 n = p->read(buffer, ChunkSize);
        if (n <= 0)
            break;
        run.tail.append(buffer, n);
        if (run.tail.size() > TailBytes)
            run.tail.remove(0, run.tail.size() - TailBytes);
        // A zero byte in the output ends the chunk's text there.
        const qint64 textLength = qint64(qstrnlen(buffer, size_t(n)));
        run.lastChunk = QString::fromLocal8Bit(buffer, textLength);
        const int index = run.chunkIndex++;
        emit chunk(slot, run.lastChunk, index); // a handler may restart the slot
    }
}

void TToolRunner::exited(Slot slot) {
    Run& run = m_slots[slot];
    QProcess* p = run.process.get();
    if (!p)
        return;
    readAvailable(slot); // whatever is left in the pipe comes before the end
    const bool crashed = run.terminated || p->exitStatus() == QProcess::CrashExit;
    const int code = p->exitCode();
    p->disconnect(this);
    emit finished(slot, code, crashed);
}

void TToolRunner::terminate(Slot slot) {
    Run& run = m_slots[slot];
    if (!run.process || run.process->state() == QProcess::NotRunning)
        return;
    run.terminated = true;
    run.process->kill();
}

void TToolRunner::interrupt(Slot slot) {
    const Run& run = m_slots[slot];
    if (run.process && run.process->state() == QProcess::Running)
        ::kill(pid_t(run.process->processId()), SIGINT);
}

bool TToolRunner::isRunning(Slot slot) const {
    return m_slots[slot].process && m_slots[slot].process->state() != QProcess::NotRunning;
}

QString TToolRunner::outputTail(Slot slot) const {
    QByteArray tail = m_slots[slot].tail;
    tail.replace('\0', ' ');
    tail.replace('\r', '\n');
    QStringList lines;
    for (const QByteArray& line : tail.split('\n'))
        if (!line.trimmed().isEmpty())
            lines << QString::fromLocal8Bit(line.trimmed());
    return lines.mid(qMax<qsizetype>(0, lines.size() - 8)).join(u'\n');
}
