#include "support/testclock.h"

class TestTimer : public ITimer {
public:
    TestTimer(TestClock& clock, int interval, std::function<void()> onTimeout)
        : clock(clock), interval(interval), onTimeout(std::move(onTimeout)) {
        clock.m_timers << this;
    }
    ~TestTimer() override { clock.m_timers.removeOne(this); }
    void setEnabled(bool on) override {
        if (on && !enabled)
            due = clock.m_now + interval;
        enabled = on;
    }
    bool isEnabled() const override { return enabled; }

    TestClock& clock;
    int interval;
    std::function<void()> onTimeout;
    bool enabled = false;
    qint64 due = 0;
};

TestClock::~TestClock() = default;

std::unique_ptr<ITimer> TestClock::createTimer(int intervalMs, std::function<void()> onTimeout) {
    return std::make_unique<TestTimer>(*this, intervalMs, std::move(onTimeout));
}

void TestClock::advance(int ms) {
    const qint64 target = m_now + ms;
    for (;;) {
        TestTimer* next = nullptr;
        for (TestTimer* t : std::as_const(m_timers)) {
            if (t->enabled && t->due <= target && (!next || t->due < next->due))
                next = t;
        }
        if (!next)
            break;
        m_now = next->due;
        next->due += next->interval;
        next->onTimeout();
    }
    m_now = target;
}
