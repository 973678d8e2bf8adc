// change_to_refresh_ms, run inside the NetworkManager sandbox (tests/ipset/linux/nm-apply.sh):
// from the kernel's change of q0's address, made by NetworkManager, to the program's marks
// refreshed through the network watch and the follower.
#include "base/TApplication.h"
#include "fakes/FakeTray.h"
#include "fakes/FakeTree.h"
#include "fakes/TempStore.h"
#include "ipset/linux/ChangeBehindTheBack.h"
#include "tray/ExtCtrlsX.h"

#include <cstdio>
#include <cstdlib>

int main() {
    if (const char* Reason = std::getenv("QUELVANO_NM_SKIP")) {
        std::printf("change_to_refresh_ms: not measured (%s)\n", Reason);
        return 0;
    }
    TApplication App;
    TempStore Store;
    FakeTray Fake;
    TTrayIcon Tray{nullptr, Fake.Services()};
    FakeTree SetTree;
    TgtIPSetManager Manager{nullptr};
    Manager.SetIPSetDataSet(Store.Db.IPSets());
    Manager.SetConnectionsDataSet(Store.Db.ConnectionNames());
    Manager.SetTrayIcon(&Tray);
    Manager.SetIPSetTreeView(&SetTree);
    const auto Took = FollowChangeBehindTheBack(Manager, Store.Db);
    if (!Took) {
        std::printf("change_to_refresh_ms: not measured (no refresh came)\n");
        return 1;
    }
    std::printf("change_to_refresh_ms: %lld ms\n", static_cast<long long>(Took->count()));
    return 0;
}
