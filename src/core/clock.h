#pragma once

#include <QDateTime>
#include <QtGlobal>

#include <functional>
#include <memory>

// A repeating timer as a window timer behaves: enabling one that already runs keeps its phase.
class ITimer {
public:
    virtual ~ITimer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

// Where timers and the time come from, so tests can drive time by hand.
class IClock {
public:
    virtual ~IClock() = default;
    virtual std::unique_ptr<ITimer> createTimer(int intervalMs,
                                                std::function<void()> onTimeout) = 0;
    // Milliseconds on a clock that only goes forward.
    virtual qint64 nowMs() const = 0;
    // The local date and time, as file names and reports show it.
    virtual QDateTime localTime() const = 0;
};

// Timers of the Qt event loop and the system's monotonic clock.
class QtClock : public IClock {
public:
    std::unique_ptr<ITimer> createTimer(int intervalMs, std::function<void()> onTimeout) override;
    qint64 nowMs() const override;
    QDateTime localTime() const override { return QDateTime::currentDateTime(); }
};
