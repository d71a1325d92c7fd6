#include "preview/previewclock.h"

#include <QTimer>

namespace {
class QtPreviewTimer : public IPreviewTimer {
public:
    QtPreviewTimer(int intervalMs, std::function<void()> onTimeout) {
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

std::unique_ptr<IPreviewTimer> QtPreviewClock::createTimer(int intervalMs,
                                                           std::function<void()> onTimeout) {
    return std::make_unique<QtPreviewTimer>(intervalMs, std::move(onTimeout));
}
