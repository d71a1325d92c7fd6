#pragma once

#include <functional>
#include <memory>

// A repeating timer as a window timer behaves: enabling one that already runs keeps its phase.
class IPreviewTimer {
public:
    virtual ~IPreviewTimer() = default;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;
};

// Where the preview's timers come from, so tests can drive time by hand.
class IPreviewClock {
public:
    virtual ~IPreviewClock() = default;
    virtual std::unique_ptr<IPreviewTimer> createTimer(int intervalMs,
                                                       std::function<void()> onTimeout) = 0;
};

// Timers of the Qt event loop.
class QtPreviewClock : public IPreviewClock {
public:
    std::unique_ptr<IPreviewTimer> createTimer(int intervalMs,
                                               std::function<void()> onTimeout) override;
};
