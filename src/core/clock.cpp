#include "core/clock.h"

#include <QTimer>

#include <chrono>

namespace {
class QtTimer : public ITimer {
public:
    QtTimer(int intervalMs, std::function<void()> onTimeout) {
        m_timer.setInterval(intervalMs);
        QObject::connect(&m_timer, &QTimer::timeout, std::move(onTimeout));
    }
    void setEnabled(bool enabled) override {
        // QTimer::start() would restart a running interval.
        if (enabled && !m_timer.isActive())
            m_timer.start();
        else if (!enabled)
            m_timer.stop();
    }
    bool isEnabled() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};
} // namespace

std::unique_ptr<ITimer> QtClock::createTimer(int intervalMs, std::function<void()> onTimeout) {
    return std::make_unique<QtTimer>(intervalMs, std::move(onTimeout));
}

qint64 QtClock::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
