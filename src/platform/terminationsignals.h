#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

// SIGINT, SIGTERM and SIGHUP, delivered through the event loop: a closed terminal, a kill or
// the session ending should end the program as closing its window does (tools ended, the
// intermediate file removed), not leave a tool running alone. One watcher at a time.
class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TTerminationSignals(QObject* parent = nullptr);
    ~TTerminationSignals() override; // the signals' default actions again

signals:
    void received(int signal);

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};
