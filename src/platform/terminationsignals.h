#pragma once

#include <QList>
#include <QObject>

#include <memory>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP, delivered through the event loop: a closed terminal, a kill or
// the session ending should end the program as closing its window does (tools ended, the
// intermediate file removed), not leave a tool running alone. The command line also watches
// SIGPIPE: whoever read its output has gone. One watcher at a time, in either mode.
class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    static QList<int> Termination(); // SIGINT, SIGTERM, SIGHUP

    explicit TTerminationSignals(QList<int> watched = Termination(), QObject* parent = nullptr);
    ~TTerminationSignals() override; // the signals' default actions again

signals:
    void received(int signal);

private:
    QList<int> m_watched;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
