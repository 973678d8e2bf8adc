#pragma once

#include "tray/Timer.h"

#include <functional>
#include <memory>

// The platform's notifications of adapters and addresses that appear, go or change, handed to
// the user-interface thread; they stop when this is destroyed.
class TNetworkWatch {
public:
    virtual ~TNetworkWatch() = default;
};

// Starts a watch that calls Changed for every notification; null where the system gives none.
using TNetworkWatchFactory =
    std::function<std::unique_ptr<TNetworkWatch>(std::function<void()> Changed)>;

// Turns the notifications into refreshes: one at most every Pause milliseconds however many
// arrive, and none while Busy says that an apply, a dialog or a message box is under way (what
// they show must not change under them); the refresh then follows once they are over.
class TNetworkFollower {
public:
    static constexpr unsigned Pause = 250;

    TNetworkFollower(std::unique_ptr<TTimerDevice> Device, std::function<bool()> Busy,
                     std::function<void()> Refresh);

    void Changed();

private:
    void Tick();

    TTimer FTimer;
    std::function<bool()> FBusy;
    std::function<void()> FRefresh;
};
