#include "ui/NetworkFollower.h"

#include "fakes/FakeTray.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Events: n a notification, t the timer's tick, b busy begins, f busy ends.
TEST(NetworkFollower, RefreshesOncePerPauseAndNotWhileBusy) {
    const struct {
        const char* Events;
        int Refreshes;
        bool Waiting;
    } Cases[] = {
        {"n", 0, true},    {"nnnt", 1, false},  {"ntnt", 2, false},
        {"nbtt", 0, true}, {"nbtft", 1, false}, {"nbntnft", 1, false},
    };
    for (const auto& C : Cases) {
        FakeTray Tray;
        bool Busy = false;
        int Refreshes = 0;
        TNetworkFollower Follower(
            Tray.CreateTimer(), [&] { return Busy; }, [&] { ++Refreshes; });
        for (const char* E = C.Events; *E != '\0'; ++E) {
            if (*E == 'n')
                Follower.Changed();
            else if (*E == 't')
                Tray.FireTimer();
            else
                Busy = *E == 'b';
        }
        EXPECT_EQ(Refreshes, C.Refreshes) << C.Events;
        EXPECT_EQ(Tray.TimerRunning(), C.Waiting) << C.Events;
        EXPECT_EQ(Tray.Log.front(), "timer on 250") << C.Events;
    }
}

} // namespace
