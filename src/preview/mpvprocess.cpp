#include "preview/mpvprocess.h"

#include "platform/childprocess.h"

#include <QElapsedTimer>
#include <QJsonDocument>

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr int ChildSocketFd = 3; // the player's end of the socket pair, as fd://3
constexpr int QuitGraceMs = 1000;
} // namespace

TMpvProcess::TMpvProcess(QObject* parent) : QObject(parent) {}

TMpvProcess::~TMpvProcess() {
    stopChild();
}

bool TMpvProcess::start(const QString& program, const QStringList& options) {
    stopChild();
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return false;
    const int childEnd = ends[1];

    m_process = std::make_unique<QProcess>();
    QProcess* p = m_process.get();
    // The player never reads the terminal, and what libdvdread prints is of no use to the user.
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    const pid_t parent = ::getpid();
    p->setChildProcessModifier([childEnd, parent] {
        BindChildToProgram(parent);
        ::dup2(childEnd, ChildSocketFd); // dup2 clears close-on-exec on the copy
    });
    connect(p, &QProcess::finished, this, [this, p] {
        if (m_process.get() == p && !m_ended) {
            m_ended = true;
            emit ended();
        }
    });
    QStringList arguments = options;
    arguments << QStringLiteral("--input-ipc-client=fd://%1").arg(ChildSocketFd);
    p->start(program, arguments, QIODevice::ReadOnly);
    const bool started = p->waitForStarted(5000);
    ::close(childEnd);
    if (!started) {
        ::close(ends[0]);
        m_process.reset();
        return false;
    }
    m_socket = std::make_unique<QLocalSocket>();
    m_socket->setSocketDescriptor(ends[0]);
    connect(m_socket.get(), &QLocalSocket::readyRead, this, &TMpvProcess::readMessages);
    connect(m_socket.get(), &QLocalSocket::disconnected, this, [this] {
        if (!m_ended) {
            m_ended = true;
            emit ended();
        }
    });
    m_partial.clear();
    m_ended = false;
    return true;
}

bool TMpvProcess::isRunning() const {
    return !m_ended;
}

void TMpvProcess::send(const QJsonObject& message) {
    if (m_ended || !m_socket)
        return;
    m_socket->write(QJsonDocument(message).toJson(QJsonDocument::Compact) + '\n');
    m_socket->flush();
}

QJsonObject TMpvProcess::request(QJsonObject message, int timeoutMs) {
    const qint64 id = m_nextRequest++;
    message.insert(QStringLiteral("request_id"), id);
    QJsonObject reply;
    const auto connection =
        connect(this, &TMpvProcess::received, this, [&reply, id](const QJsonObject& m) {
            if (m.value(QStringLiteral("request_id")).toInteger() == id)
                reply = m;
        });
    send(message);
    QElapsedTimer clock;
    clock.start();
    while (reply.isEmpty() && !m_ended && m_socket && clock.elapsed() < timeoutMs) {
        if (m_socket->waitForReadyRead(int(timeoutMs - clock.elapsed())))
            readMessages();
    }
    disconnect(connection);
    return reply;
}

void TMpvProcess::readMessages() {
    QLocalSocket* const socket = m_socket.get();
    if (!socket)
        return;
    m_partial += socket->readAll();
    qsizetype start = 0;
    for (qsizetype end; (end = m_partial.indexOf('\n', start)) >= 0; start = end + 1) {
        const QJsonObject message =
            QJsonDocument::fromJson(m_partial.mid(start, end - start)).object();
        if (!message.isEmpty())
            emit received(message);
        if (m_socket.get() != socket)
            return; // a receiver stopped or replaced the player
    }
    m_partial.remove(0, start);
}

void TMpvProcess::stopChild() {
    m_ended = true;
    if (m_socket) {
        m_socket->disconnect(this);
        if (m_process && m_process->state() != QProcess::NotRunning) {
            m_socket->write("{\"command\":[\"quit\"]}\n");
            m_socket->flush();
        }
    }
    if (m_process) {
        m_process->disconnect(this);
        if (m_process->state() != QProcess::NotRunning &&
            !m_process->waitForFinished(QuitGraceMs)) {
            ::kill(pid_t(m_process->processId()), SIGKILL);
            m_process->waitForFinished(QuitGraceMs);
        }
    }
    // The socket may be the one whose message is being handled right now.
    if (m_socket)
        m_socket.release()->deleteLater();
    m_process.reset();
    m_partial.clear();
}
