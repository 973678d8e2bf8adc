#include "ui/NetworkFollower.h"

#include <utility>

TNetworkFollower::TNetworkFollower(std::unique_ptr<TTimerDevice> Device, std::function<bool()> Busy,
                                   std::function<void()> Refresh)
    : FTimer(std::move(Device)), FBusy(std::move(Busy)), FRefresh(std::move(Refresh)) {
    FTimer.SetInterval(Pause);
    FTimer.OnTimer = [this] { Tick(); };
}

// A notification while the timer runs is covered by the refresh the timer will make.
void TNetworkFollower::Changed() {
    FTimer.SetEnabled(true);
}

// While busy the timer goes on ticking, so the refresh comes within a pause of the end.
void TNetworkFollower::Tick() {
    if (FBusy())
        return;
    FTimer.SetEnabled(false);
    FRefresh();
}
