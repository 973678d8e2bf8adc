#include "adapters/o_AdapterInformation.h"
#include "base/TApplication.h"
#include "connections/o_SystemConnections.h"
#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/FakeTray.h"
#include "fakes/TempFolder.h"
#include "tray/ExtCtrlsX.h"
#include "ui/f_WaitBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// Runs OnFree when its owner frees it, to see what still stands at that moment.
class Witness : public TComponent {
public:
    Witness(TComponent* AOwner, std::function<void()> AOnFree)
        : TComponent(AOwner), FOnFree(std::move(AOnFree)) {}
    ~Witness() override { FOnFree(); }

private:
    std::function<void()> FOnFree;
};

// Natively this runs under ASan and LSan: a read of anything freed too early, or anything left
// behind, fails it.
TEST(TApplication_Lifetime, FreesEverySingleInstanceLastMadeFirstWhileStillWhole) {
    FakeTray Tray; // the tray services outlive every icon
    FakeIpHelper IpHelper;
    IpHelper.Adapters = {FakeIpHelper::Adapter("eth0", 7, {{"192.0.2.10", "255.255.255.0"}})};
    TempFolder Folder;
    const std::string File = Folder.File("quelvano.ipdb");
    CreateEmptyDatabase(File);
    TApplication& Program = Application();
    std::vector<std::string> Seen;
    auto Standing = [&] {
        return Application().Title + (FrmWaitBox != nullptr ? " box" : "") +
               (Tray.WindowAlive ? " icon" : "");
    };
    {
        TApplication App;
        App.Title = "Quelvano v1.47, ending";
        ASSERT_EQ(&Application(), &App);
        new Witness(&App, [&] { Seen.push_back("first: " + Standing()); });
        TgtIPDBManager* Db = GetIPDBManager();
        Db->OpenDatabase(File);
        AdapterManager()->RefreshAdapters();
        auto* Icon = new TTrayIcon(&App, Tray.Services());
        Icon->SetVisible(true);
        TgtIPSystemConnections* Connections = GetIPSystemConnections();
        Connections->SetConnectionsDataSet(Db->ConnectionNames());
        Connections->SetIPSetDataSet(Db->IPSets());
        Connections->SetTrayIcon(Icon);
        Connections->NotifyNewConnection("LAN 1");
        ShowWaitBox();
        new Witness(&App, [&] { Seen.push_back("last: " + Standing()); });
        for (TComponent* Single : std::vector<TComponent*>{Db, AdapterManager(), Connections})
            EXPECT_EQ(Single->Owner(), &App);
    }
    EXPECT_EQ(Seen, (std::vector<std::string>{"last: Quelvano v1.47, ending box icon",
                                              "first: Quelvano v1.47, ending"}));
    EXPECT_EQ(&Application(), &Program);
    EXPECT_EQ(Tray.Log.back(), "delete");
    // Windows refuses to remove a file that is still open.
    EXPECT_TRUE(std::filesystem::remove(File));
}

TEST(TApplication_Lifetime, SingleInstanceFreedEarlyIsMadeAnew) {
    TApplication App;
    delete AdapterManager();
    EXPECT_EQ(AdapterManager()->Owner(), &App);
    EXPECT_EQ(App.ComponentCount(), 1);
}

} // namespace
