#pragma once

#include <QJsonObject>
#include <QLocalSocket>
#include <QObject>
#include <QProcess>
#include <QStringList>

#include <memory>

// The mpv player as a child process, driven over its JSON interface on a socket pair. Whatever
// happens to the player — no usable output, a broken disc, a crash — happens in the child; the
// program only sees the socket close. Messages are written as they are sent, and what mpv says
// comes back through `received` on the event loop; only `request` waits, for tests.
class TMpvProcess : public QObject {
    Q_OBJECT
public:
    explicit TMpvProcess(QObject* parent = nullptr);
    // Asks mpv to quit, and ends it if it has not within a moment.
    ~TMpvProcess() override;

    // Starts `program` with `options` (each "--name=value"); false when it cannot run.
    bool start(const QString& program, const QStringList& options);
    bool isRunning() const;
    // Sends one command: {"command": [...] or {...}, "request_id": N, "async": true}.
    void send(const QJsonObject& message);
    // Sends and waits up to `timeoutMs` for the reply with the same request id; other messages
    // meanwhile are delivered as usual. An empty object when none came.
    QJsonObject request(QJsonObject message, int timeoutMs = 2000);

signals:
    // An event or a command's reply, one JSON object per line of mpv's.
    void received(const QJsonObject& message);
    // The player has gone: it exited, crashed or closed its end of the socket.
    void ended();

private:
    void readMessages();
    void stopChild();

    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<QLocalSocket> m_socket;
    QByteArray m_partial;             // a line not yet complete
    qint64 m_nextRequest = 1LL << 40; // above the backend's own request numbers
    bool m_ended = true;
};
