#pragma once

#include "core/clock.h"

#include <QList>

// Time that moves only when a test says so; the timers fire in the order they fall due.
class TestClock : public IClock {
public:
    ~TestClock() override;
    std::unique_ptr<ITimer> createTimer(int intervalMs, std::function<void()> onTimeout) override;
    void advance(int ms);
    qint64 nowMs() const override { return m_now; }
    // From the start of 2026, as far on as the clock has moved.
    QDateTime localTime() const override {
        return QDateTime(QDate(2026, 1, 1), QTime(0, 0)).addMSecs(m_now);
    }

private:
    friend class TestTimer;
    QList<class TestTimer*> m_timers;
    qint64 m_now = 0;
};
