#pragma once

#include <functional>
#include <memory>

// The platform's periodic timer; ticks arrive through the application's message loop.
class TTimerDevice {
public:
    virtual ~TTimerDevice() = default;
    // (Re)starts ticking every IntervalMs milliseconds, calling Tick each time.
    virtual void Start(unsigned IntervalMs, std::function<void()> Tick) = 0;
    virtual void Stop() = 0;
};

class TTimer {
public:
    explicit TTimer(std::unique_ptr<TTimerDevice> Device);
    ~TTimer();

    TTimer(const TTimer&) = delete;
    TTimer& operator=(const TTimer&) = delete;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    unsigned Interval() const { return FInterval; }
    void SetInterval(unsigned Value);

    std::function<void()> OnTimer;

private:
    void Update();

    std::unique_ptr<TTimerDevice> FDevice;
    bool FEnabled = false;
    unsigned FInterval = 1000;
};
