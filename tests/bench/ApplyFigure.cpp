// Prints apply_static_overhead_ms: the time of a static apply whose commands return at once and
// whose adapter shows at its first read-back what they asked for, so the figure is the program's
// own work without the pauses.
#include "base/FilePath.h"
#include "base/TApplication.h"
#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeLiveAdapters.h"
#include "fakes/FakeTray.h"
#include "fakes/NetshState.h"
#include "ipset/o_IPSetManager.h"
#include "tray/ExtCtrlsX.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace {

class InstantRunner : public TCommandRunner {
public:
    explicit InstantRunner(TNetshState& State) : FState(State) {}
    int Run(const std::string& CommandLine, int) override {
        ApplyNetshLine(FState, CommandLine, TNetshLease());
        return 0;
    }

private:
    TNetshState& FState;
};

} // namespace

int main() {
    TApplication App; // the apply shows its wait box there
    const std::filesystem::path Path = std::filesystem::temp_directory_path() / "apply-figure.ipdb";
    const std::string File = PathText(Path);
    std::filesystem::remove(Path);
    CreateEmptyDatabase(File);
    TgtIPDBManager Db(nullptr);
    Db.OpenDatabase(File);
    TDataSet* Conn = Db.ConnectionNames();
    Conn->Insert();
    Conn->FieldByName("CONNECTIONNAME").SetAsString("LAN 1");
    Conn->Post();
    TDataSet* Sets = Db.IPSets();
    Sets->Insert();
    Sets->FieldByName("IPSET_NAME").SetAsString("Oficina");
    Sets->FieldByName("IPADDRESS").SetAsString("192.0.2.10");
    Sets->FieldByName("SUBNETMASK").SetAsString("255.255.255.0");
    Sets->FieldByName("GATEWAY").SetAsString("192.0.2.1");
    Sets->FieldByName("DNS").SetAsString("192.0.2.53");
    Sets->FieldByName("DHCP").SetAsBoolean(false);
    Sets->FieldByName("CONNECTION").SetAsInteger(Conn->FieldByName("ID").AsInteger());
    Sets->Post();
    const int ID = Sets->FieldByName("ID").AsInteger();

    FakeTray Fake;
    TTrayIcon Tray(nullptr, Fake.Services());
    TgtIPSetManager Manager(nullptr);
    Manager.SetIPSetDataSet(Sets);
    Manager.SetConnectionsDataSet(Conn);
    Manager.SetTrayIcon(&Tray);
    TNetshState State;
    Manager.SetCommandRunner(std::make_unique<InstantRunner>(State));
    Manager.SetLiveAdapters(std::make_unique<FakeLiveAdapters>(State));

    const int Rounds = 200;
    const auto Start = std::chrono::steady_clock::now();
    for (int I = 0; I < Rounds; ++I)
        Manager.ApplyIPSet(ID);
    const std::chrono::duration<double, std::milli> Spent =
        std::chrono::steady_clock::now() - Start;
    std::printf("apply_static_overhead_ms: %.3f ms\n", Spent.count() / Rounds);
    std::filesystem::remove(Path);
    return 0;
}
