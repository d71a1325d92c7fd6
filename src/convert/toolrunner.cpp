#include "convert/toolrunner.h"

#include "platform/childprocess.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr qsizetype TailBytes = 4096;
constexpr int ReadsPerPipe = 65536 / TToolRunner::ChunkSize + 1;
} // namespace

TToolRunner::TToolRunner(QObject* parent) : IToolRunner(parent) {
    for (int s = 0; s < 2; ++s) {
        QTimer& pause = m_readPause[s];
        pause.setSingleShot(true);
        pause.setInterval(ReadPauseMs);
        connect(&pause, &QTimer::timeout, this, [this, s] {
            const Slot slot = Slot(s);
            readAvailable(slot);
            if (m_slots[slot].readable)
                m_slots[slot].readable->setEnabled(true);
        });
    }
}

TToolRunner::~TToolRunner() {
    for (Run& run : m_slots) {
        if (QProcess* p = run.process.get()) {
            p->disconnect(this);
            killGroup(run);
            if (p->state() != QProcess::NotRunning)
                p->waitForFinished(3000);
        }
        closeOutput(run);
    }
}

void TToolRunner::killGroup(Run& run) {
    // The tool leads a process group of its own: a wrapper's children go with it.
    if (run.group > 0)
        ::kill(-run.group, SIGKILL);
    if (run.process && run.process->state() != QProcess::NotRunning)
        run.process->kill();
}

void TToolRunner::closeOutput(Run& run) {
    run.readable.reset();
    if (run.pipe >= 0)
        ::close(run.pipe);
    run.pipe = -1;
}

void TToolRunner::release(Run& run) {
    if (run.process) {
        // The old process may be the one whose signal is being handled right now.
        run.process->disconnect(this);
        run.process.release()->deleteLater();
    }
    closeOutput(run);
}

bool TToolRunner::start(Slot slot, const QString& program, const QStringList& arguments,
                        QString* error, const QString& workingDirectory) {
    terminate(slot);
    Run& run = m_slots[slot];
    release(run);
    m_readPause[slot].stop();
    run = Run{};

    // One pipe for both output streams, owned here rather than by QProcess: QProcess would
    // wake the program for every line a tool prints, which for the encoder is every frame.
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
    const int writeEnd = ends[1];

    run.process = std::make_unique<QProcess>();
    QProcess* p = run.process.get();
    p->setStandardInputFile(QProcess::nullDevice()); // a tool never waits for keyboard input
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    // Output and error both go to the pipe. If the program dies without a chance to end the
    // tool, the tool dies with it; its own children then end at their next write into the pipe
    // nobody reads.
    const pid_t parent = ::getpid();
    p->setChildProcessModifier([writeEnd, parent] {
        BindChildToProgram(parent);
        ::dup2(writeEnd, STDOUT_FILENO);
        ::dup2(writeEnd, STDERR_FILENO);
    });
    connect(p, &QProcess::finished, this, [this, slot, p] {
        if (m_slots[slot].process.get() == p)
            exited(slot);
    });
    if (!workingDirectory.isEmpty())
        p->setWorkingDirectory(workingDirectory);
    p->start(program, arguments, QIODevice::ReadOnly);
    const bool started = p->waitForStarted(10000);
    ::close(writeEnd); // the tool holds the only writing end, so its exit ends the output
    run.pipe = ends[0];
    if (started)
        run.group = pid_t(p->processId());
    if (!started) {
        if (error)
            *error = p->errorString();
        release(run);
        return false;
    }
    // Output is collected for a moment before it is read, as a blocking read would find it.
    run.readable = std::make_unique<QSocketNotifier>(run.pipe, QSocketNotifier::Read);
    connect(run.readable.get(), &QSocketNotifier::activated, this,
            [this, slot] { outputArrived(slot); });
    return true;
}

void TToolRunner::outputArrived(Slot slot) {
    m_slots[slot].readable->setEnabled(false);
    m_readPause[slot].start();
}

void TToolRunner::readAvailable(Slot slot) {
    Run& run = m_slots[slot];
    const QProcess* const p = run.process.get();
    char buffer[ChunkSize + 1];
    // At most a full pipe's worth at a time: a tool that never pauses cannot hold the event
    // loop, and a tool that has exited is read to its end.
    for (int reads = 0; reads < ReadsPerPipe && run.pipe >= 0 && run.process.get() == p; ++reads) {
        const ssize_t n = ::read(run.pipe, buffer, ChunkSize);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0) // every writer has gone
            closeOutput(run);
        if (n <= 0)
            return;
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
    QProcess* const p = run.process.get();
    m_readPause[slot].stop();
    readAvailable(slot); // whatever is left in the pipe comes before the end
    if (run.process.get() != p)
        return;
    // A child the tool left behind may still hold the pipe; it is not wanted once the tool
    // has ended, nor is its output.
    if (run.group > 0)
        ::kill(-run.group, SIGKILL);
    run.group = 0;
    closeOutput(run);
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
    killGroup(run);
}

void TToolRunner::interrupt(Slot slot) {
    const Run& run = m_slots[slot];
    if (run.process && run.process->state() == QProcess::Running && run.group > 0)
        ::kill(-run.group, SIGINT);
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
