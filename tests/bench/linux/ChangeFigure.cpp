// change_to_refresh_ms, run inside the NetworkManager sandbox (tests/ipset/linux/nm-apply.sh):
// from the kernel's change of q0's address, made by NetworkManager, to the program's marks
// refreshed through the network watch and the follower. The change's moment is the first
// routing message that a socket of the figure's own receives.
#include "adapters/linux/NetlinkWatch.h"
#include "base/TApplication.h"
#include "base/linux/Process.h"
#include "fakes/FakeTray.h"
#include "fakes/FakeTree.h"
#include "fakes/TempStore.h"
#include "ipset/o_IPSetManager.h"
#include "tray/ExtCtrlsX.h"
#include "tray/qt/QtTray.h"
#include "ui/NetworkFollower.h"
#include "ui/qt/QtNetworkWatch.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

using TClock = std::chrono::steady_clock;

int main(int Argc, char** Argv) {
    if (const char* Reason = std::getenv("QUELVANO_NM_SKIP")) {
        std::printf("change_to_refresh_ms: not measured (%s)\n", Reason);
        return 0;
    }
    TApplication App;
    QCoreApplication Qt(Argc, Argv);
    TempStore Store;
    FakeTray Fake;
    TTrayIcon Tray{nullptr, Fake.Services()};
    FakeTree SetTree;
    TgtIPSetManager Manager{nullptr};
    Manager.SetIPSetDataSet(Store.Db.IPSets());
    Manager.SetConnectionsDataSet(Store.Db.ConnectionNames());
    Manager.SetTrayIcon(&Tray);
    Manager.SetIPSetTreeView(&SetTree);
    const int Lan = PostConnection(Store.Db, "LAN 1");
    const int First = PostIPSet(Store.Db, "Uno", Lan, false,
                                {"192.0.2.81", "255.255.255.0", "192.0.2.1", "", ""});
    const int Second = PostIPSet(Store.Db, "Dos", Lan, false,
                                 {"192.0.2.82", "255.255.255.0", "192.0.2.1", "", ""});
    Manager.ApplyIPSet(First);

    std::optional<TClock::time_point> Changed, Refreshed;
    TNetworkFollower Follower(
        QtTrayServices().App.CreateTimer(), [&] { return Manager.Applying(); },
        [&] {
            Manager.RefreshTrees();
            if (Manager.SetsInForce().count(Second) != 0)
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
    const auto Deadline = TClock::now() + std::chrono::seconds(20);
    while (!Refreshed && TClock::now() < Deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    Up.join();
    if (!Watch || !Changed || !Refreshed) {
        std::printf("change_to_refresh_ms: not measured (no refresh came)\n");
        return 1;
    }
    std::printf(
        "change_to_refresh_ms: %lld ms\n",
        static_cast<long long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(*Refreshed - *Changed).count()));
    return 0;
}
