#pragma once

// A change of the sandbox's "LAN 1" made behind the program's back and followed as the window
// follows it: the Qt network watch and the follower over the IP-set manager's trees.
#include "adapters/linux/NetlinkWatch.h"
#include "base/linux/Process.h"
#include "fakes/TempStore.h"
#include "ipset/o_IPSetManager.h"
#include "tray/qt/QtTray.h"
#include "ui/NetworkFollower.h"
#include "ui/qt/QtNetworkWatch.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <chrono>
#include <optional>
#include <thread>

// Stores two sets of "LAN 1" and applies the first; then NetworkManager takes the second one's
// address (nmcli, on a thread of its own) while the event loop runs. The time from the kernel's
// first routing message (seen on a socket of its own) to the refresh that shows the second set in
// force; none when that did not come within 5 s or the first set stayed marked.
inline std::optional<std::chrono::milliseconds> FollowChangeBehindTheBack(TgtIPSetManager& Manager,
                                                                          TgtIPDBManager& Db) {
    using TClock = std::chrono::steady_clock;
    int Argc = 1;
    char Name[] = "quelvano";
    char* Argv[] = {Name, nullptr};
    QCoreApplication Qt(Argc, Argv);
    const int Lan = PostConnection(Db, "LAN 1");
    const int First =
        PostIPSet(Db, "Uno", Lan, false, {"192.0.2.81", "255.255.255.0", "192.0.2.1"});
    const int Second =
        PostIPSet(Db, "Dos", Lan, false, {"192.0.2.82", "255.255.255.0", "192.0.2.1"});
    Manager.ApplyIPSet(First);
    std::optional<TClock::time_point> Changed, Refreshed;
    TNetworkFollower Follower(
        QtTrayServices().App.CreateTimer(), [&] { return Manager.Applying(); },
        [&] {
            Manager.RefreshTrees();
            if (Manager.SetsInForce().count(Second) != 0 && Manager.SetsInForce().count(First) == 0)
                Refreshed = TClock::now();
        });
    const auto Watch = StartQtNetworkWatch([&] { Follower.Changed(); });
    TNetlinkWatch Observer;
    QSocketNotifier Seen(Observer.Fd(), QSocketNotifier::Read);
    QObject::connect(&Seen, &QSocketNotifier::activated, [&] {
        if (Observer.Drain() && !Changed)
            Changed = TClock::now();
    });
    RunProcess({"nmcli", "connection", "modify", "id", "LAN 1", "ipv4.addresses", "192.0.2.82/24"});
    std::thread Up([] { RunProcess({"nmcli", "connection", "up", "id", "LAN 1"}); });
    const auto Deadline = TClock::now() + std::chrono::seconds(5);
    while (!Refreshed && TClock::now() < Deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    Up.join();
    if (!Watch || !Changed || !Refreshed)
        return std::nullopt;
    return std::chrono::duration_cast<std::chrono::milliseconds>(*Refreshed - *Changed);
}
