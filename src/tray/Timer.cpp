#include "tray/Timer.h"

#include <utility>

TTimer::TTimer(std::unique_ptr<TTimerDevice> Device) : FDevice(std::move(Device)) {}

TTimer::~TTimer() {
    if (FEnabled)
        FDevice->Stop();
}

void TTimer::SetEnabled(bool Value) {
    if (Value == FEnabled)
        return;
    FEnabled = Value;
    Update();
}

void TTimer::SetInterval(unsigned Value) {
    if (Value == FInterval)
        return;
    FInterval = Value;
    if (FEnabled)
        Update();
}

void TTimer::Update() {
    // A zero interval stops the timer, as it would otherwise tick without pause.
    if (FEnabled && FInterval != 0)
        FDevice->Start(FInterval, [this] {
            if (OnTimer)
                OnTimer();
        });
    else
        FDevice->Stop();
}
