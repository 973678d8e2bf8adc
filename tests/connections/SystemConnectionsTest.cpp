#include "adapters/o_AdapterInformation.h"
#include "base/Exception.h"
#include "base/TApplication.h"
#include "connections/o_SystemConnections.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeTray.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Names = std::vector<std::string>;

TOSVersionInfo Version(unsigned Platform, unsigned Major, unsigned Minor, bool Available = true) {
    TOSVersionInfo Info;
    Info.Available = Available;
    Info.PlatformId = Platform;
    Info.Major = Major;
    Info.Minor = Minor;
    return Info;
}

const TOSVersionInfo XP = Version(2, 5, 1);    // code 7
const TOSVersionInfo Vista = Version(2, 6, 0); // code 8
const TOSVersionInfo Seven = Version(2, 6, 1); // code 9
const TOSVersionInfo Ten = Version(2, 10, 0);  // code 10

const std::string Root = "\\SYSTEM\\CurrentControlSet\\Control\\Network\\";

// Keeps every balloon it is asked to show, with the texts the icon held at that moment.
class RecordingTrayIcon : public TTrayIcon {
public:
    struct Balloon {
        std::string Hint;
        std::string Title;
        TBalloonFlags Flags;
    };
    using TTrayIcon::TTrayIcon;
    bool ShowBalloonHint() override {
        Balloons.push_back({BalloonHint(), BalloonTitle(), BalloonFlags()});
        return TTrayIcon::ShowBalloonHint();
    }
    std::vector<Balloon> Balloons;
};

class Discovery : public ::testing::Test {
protected:
    void SetUp() override {
        CreateEmptyDatabase(FileName);
        Db.OpenDatabase(FileName);
        Start();
    }

    void OpenEmptyDatabase(const TempFolder& Where) {
        CreateEmptyDatabase(Where.File("quelvano.ipdb"));
        Db.OpenDatabase(Where.File("quelvano.ipdb"));
    }

    // A fresh component, as a start of the program makes it.
    void Start(const TOSVersionInfo& Info = Seven) {
        Component = std::make_unique<TgtIPSystemConnections>(nullptr);
        Component->SetRegistryReaderFactory(Registry.Factory());
        Component->SetVersionInfo(Info);
        Component->SetConnectionsDataSet(Db.ConnectionNames());
        Component->SetIPSetDataSet(Db.IPSets());
        Component->SetTrayIcon(&Icon);
    }

    void Adapters(const Names& AdapterNames) {
        IpHelper.Adapters.clear();
        std::uint32_t Index = 1;
        for (const std::string& Name : AdapterNames)
            IpHelper.Adapters.push_back(FakeIpHelper::Adapter(Name, Index++, {}));
        AdapterManager()->RefreshAdapters();
    }

    Names Stored() {
        Names Result;
        TDataSet& Table = *Db.ConnectionNames();
        for (Table.First(); !Table.Eof(); Table.Next())
            Result.push_back(Table.FieldByName("CONNECTIONNAME").AsString());
        return Result;
    }

    Names BalloonHints() const {
        Names Result;
        for (const auto& B : Icon.Balloons)
            Result.push_back(B.Hint);
        return Result;
    }

    static std::string Announced(const std::string& Name) {
        return "Nueva conexion de red encontrada.\r" + Name;
    }

    TempFolder Folder;
    std::string FileName = Folder.File("quelvano.ipdb");
    TgtIPDBManager Db{nullptr};
    FakeIpHelper IpHelper;
    FakeRegistry Registry;
    FakeTray Tray;
    RecordingTrayIcon Icon{nullptr, Tray.Services()};
    std::unique_ptr<TgtIPSystemConnections> Component;
};

// Two classes and three adapters laid out so that the class-by-class walk and the
// adapter-by-adapter walk meet the connections in different orders.
TEST_F(Discovery, FirstStart_AddsEveryConnectionInDiscoveryOrderWithOneBalloonEach) {
    const struct {
        const char* What;
        TOSVersionInfo Info;
        Names Want;
    } Cases[] = {
        {"5.1", XP, {"Red B", "Red C", "Red A"}},
        {"6.0", Vista, {"Red A", "Red B", "Red C"}},
        {"6.1", Seven, {"Red A", "Red B", "Red C"}},
        {"10.0", Ten, {"Red A", "Red B", "Red C"}},
    };
    Registry.AddConnection("{CLASS-1}", "{B}", "Red B");
    Registry.AddConnection("{CLASS-1}", "{C}", "Red C");
    Registry.AddConnection("{CLASS-2}", "{A}", "Red A");
    Adapters({"{A}", "{B}", "{C}", "{NOT-IN-REGISTRY}"});
    for (const auto& C : Cases) {
        TempFolder Fresh;
        OpenEmptyDatabase(Fresh);
        Icon.Balloons.clear();
        Icon.SetBalloonTitle("Titulo");
        Start(C.Info);

        Component->UpdateConnections();

        EXPECT_EQ(Stored(), C.Want) << C.What;
        Names Hints;
        for (const std::string& Name : C.Want)
            Hints.push_back(Announced(Name));
        EXPECT_EQ(BalloonHints(), Hints) << C.What;
        for (const auto& B : Icon.Balloons) {
            EXPECT_EQ(B.Flags, bfInfo) << C.What;
            EXPECT_EQ(B.Title, "Titulo") << C.What;
        }
        EXPECT_FALSE(Registry.KeyOpen) << C.What;
    }
}

TEST_F(Discovery, SecondStart_AddsNothingAndKeepsVanishedConnections) {
    Db.ConnectionNames()->Insert();
    Db.ConnectionNames()->FieldByName("CONNECTIONNAME").SetAsString("Antigua");
    Db.ConnectionNames()->Post();
    Registry.AddConnection("{CLASS}", "{A}", "Red A");
    Adapters({"{A}"});
    Component->UpdateConnections();
    ASSERT_EQ(Stored(), (Names{"Antigua", "Red A"}));

    Db.OpenDatabase(FileName);
    Icon.Balloons.clear();
    Start();
    Component->UpdateConnections();
    EXPECT_EQ(Stored(), (Names{"Antigua", "Red A"}));
    EXPECT_TRUE(Icon.Balloons.empty());
}

TEST_F(Discovery, EmptyOrMissingName_AddsNothing) {
    Registry.AddConnection("{CLASS}", "{EMPTY}", "");
    Registry.AddConnection("{CLASS}", "{MISSING}", nullptr);
    Registry.AddKey(Root + "{CLASS}\\{NO-CONNECTION-KEY}");
    Registry.AddConnection("{CLASS}", "{A}", "Red A");
    for (const TOSVersionInfo& Info : {XP, Seven}) {
        Adapters({"{EMPTY}", "{MISSING}", "{NO-CONNECTION-KEY}", "{A}"});
        Start(Info);
        Component->UpdateConnections();
        EXPECT_EQ(Stored(), (Names{"Red A"}));
        EXPECT_EQ(BalloonHints(), (Names{Announced("Red A")}));
    }
}

TEST_F(Discovery, SystemsWithoutAWalk_AddNothing) {
    const TOSVersionInfo Cases[] = {
        Version(2, 6, 1, false), Version(1, 4, 0), Version(1, 4, 10), Version(1, 4, 90),
        Version(2, 4, 0),        Version(2, 5, 0), Version(2, 5, 2),  Version(3, 10, 0),
    };
    Registry.AddConnection("{CLASS}", "{A}", "Red A");
    Adapters({"{A}"});
    for (const TOSVersionInfo& Info : Cases) {
        Start(Info);
        ASSERT_LE(Component->GetOSVersionCode(), 6);
        Component->UpdateConnections();
        EXPECT_EQ(Stored(), Names{}) << Info.PlatformId << " " << Info.Major << "." << Info.Minor;
    }
    EXPECT_TRUE(Icon.Balloons.empty());
}

// The adapter's name and the registry's key differ in letter case: both walks find the key, the
// class-by-class walk opens it by the adapter's spelling, the other by the registry's.
TEST_F(Discovery, Walks_MatchSubkeysWithoutRegardToCase) {
    const struct {
        const char* What;
        TOSVersionInfo Info;
        std::string Opened;
    } Cases[] = {
        {"5.1", XP, Root + "{Class}\\{ABCD-EF}\\Connection"},
        {"6.1", Seven, Root + "{Class}\\{abcd-Ef}\\Connection"},
    };
    Registry.AddConnection("{Class}", "{abcd-Ef}", "Red");
    Adapters({"{ABCD-EF}"});
    for (const auto& C : Cases) {
        Registry.Opened.clear();
        Start(C.Info);
        Component->UpdateConnections();
        ASSERT_FALSE(Registry.Opened.empty()) << C.What;
        EXPECT_EQ(Registry.Opened.back(), C.Opened) << C.What;
    }
    EXPECT_EQ(Stored(), (Names{"Red"}));
}

// One adapter under several classes: the adapter-by-adapter walk stops at the first class that
// opens and has it; the class-by-class walk takes it from every class that opens.
TEST_F(Discovery, Walks_OverSeveralClassesHoldingOneAdapter) {
    const struct {
        const char* What;
        TOSVersionInfo Info;
        Names Want;
    } Cases[] = {
        {"5.1", XP, {"Primera", "Segunda"}},
        {"6.1", Seven, {"Primera"}},
    };
    Registry.AddConnection("{CLASS-0}", "{A}", "Cerrada");
    Registry.AddConnection("{CLASS-1}", "{OTHER}", "Otra");
    Registry.AddConnection("{CLASS-2}", "{A}", "Primera");
    Registry.AddConnection("{CLASS-3}", "{A}", "Segunda");
    Registry.Refused.insert(Root + "{CLASS-0}");
    Adapters({"{A}"});
    for (const auto& C : Cases) {
        TempFolder Fresh;
        OpenEmptyDatabase(Fresh);
        Start(C.Info);
        Component->UpdateConnections();
        EXPECT_EQ(Stored(), C.Want) << C.What;
    }
}

TEST_F(Discovery, NoTrayIcon_AddsSilently) {
    Registry.AddConnection("{CLASS}", "{A}", "Red A");
    Adapters({"{A}"});
    Component->SetTrayIcon(nullptr);
    const std::size_t CallsBefore = Tray.Calls.size();
    Component->UpdateConnections();
    EXPECT_EQ(Stored(), (Names{"Red A"}));
    EXPECT_TRUE(Icon.Balloons.empty());
    EXPECT_EQ(Tray.Calls.size(), CallsBefore);
}

TEST_F(Discovery, NameTooLong_RaisesCancelsTheInsertAndKeepsEarlierNames) {
    std::string Hundred;
    for (int I = 0; I < 100; ++I)
        Hundred += "\xc3\xb1"; // 100 characters, 200 bytes
    const std::string TooLong = Hundred + "x";
    Registry.AddConnection("{CLASS}", "{A}", "Red A");
    Registry.AddConnection("{CLASS}", "{B}", Hundred.c_str());
    Registry.AddConnection("{CLASS}", "{C}", TooLong.c_str());
    Registry.AddConnection("{CLASS}", "{D}", "Red D");
    Adapters({"{A}", "{B}", "{C}", "{D}"});
    EXPECT_THROW(Component->UpdateConnections(), Exception);
    EXPECT_EQ(Db.ConnectionNames()->State(), TDataSetState::dsBrowse);
    EXPECT_FALSE(Registry.KeyOpen);
    EXPECT_EQ(BalloonHints(), (Names{Announced("Red A"), Announced(Hundred)}));

    Db.OpenDatabase(FileName);
    EXPECT_EQ(Stored(), (Names{"Red A", Hundred}));
}

TEST_F(Discovery, NoConnectionsTable_Raises) {
    Component->SetConnectionsDataSet(nullptr);
    EXPECT_THROW(Component->UpdateConnections(), Exception);
}

// What each reference holds after a sequence of setter calls and the freeing of the data sets
// it touched; a reference left pointing to a freed data set is a crash waiting to happen.
TEST(TgtIPSystemConnections_References, ClearWhenTheirComponentIsFreed) {
    struct Tables {
        std::unique_ptr<TgtIPDBManager> A = std::make_unique<TgtIPDBManager>(nullptr);
        std::unique_ptr<TgtIPDBManager> B = std::make_unique<TgtIPDBManager>(nullptr);
    };
    const struct {
        const char* What;
        std::function<void(TgtIPSystemConnections&, Tables&)> Steps;
        bool ConnectionsOnB; // otherwise cleared
        bool IPSetsOnB;
    } Cases[] = {
        {"set again to the value held, then freed",
         [](TgtIPSystemConnections& C, Tables& T) {
             C.SetConnectionsDataSet(T.A->ConnectionNames());
             C.SetConnectionsDataSet(T.A->ConnectionNames());
             C.SetIPSetDataSet(T.A->IPSets());
             C.SetIPSetDataSet(T.A->IPSets());
             T.A.reset();
         },
         false, false},
        {"replaced, then the old one freed",
         [](TgtIPSystemConnections& C, Tables& T) {
             C.SetConnectionsDataSet(T.A->ConnectionNames());
             C.SetConnectionsDataSet(T.B->ConnectionNames());
             C.SetIPSetDataSet(T.A->IPSets());
             C.SetIPSetDataSet(T.B->IPSets());
             T.A.reset();
         },
         true, true},
        {"one table in both, one replaced, then the table freed",
         [](TgtIPSystemConnections& C, Tables& T) {
             C.SetConnectionsDataSet(T.A->ConnectionNames());
             C.SetIPSetDataSet(T.A->ConnectionNames());
             C.SetIPSetDataSet(T.B->IPSets());
             C.SetConnectionsDataSet(T.B->ConnectionNames());
             C.SetIPSetDataSet(T.A->ConnectionNames());
             C.SetConnectionsDataSet(T.A->ConnectionNames());
             C.SetIPSetDataSet(T.B->IPSets());
             T.A.reset();
         },
         false, true},
    };
    for (const auto& C : Cases) {
        Tables T;
        TDataSet* const BConnections = T.B->ConnectionNames();
        TDataSet* const BIPSets = T.B->IPSets();
        TgtIPSystemConnections Component(nullptr);
        C.Steps(Component, T);
        EXPECT_EQ(Component.ConnectionsDataSet(), C.ConnectionsOnB ? BConnections : nullptr)
            << C.What;
        EXPECT_EQ(Component.IPSetDataSet(), C.IPSetsOnB ? BIPSets : nullptr) << C.What;
        T.B.reset();
        EXPECT_EQ(Component.ConnectionsDataSet(), nullptr) << C.What;
        EXPECT_EQ(Component.IPSetDataSet(), nullptr) << C.What;
    }
}

TEST(TgtIPSystemConnections_References, TrayIconClearsWhenFreed) {
    FakeTray Tray;
    auto Icon = std::make_unique<TTrayIcon>(nullptr, Tray.Services());
    TgtIPSystemConnections Component(nullptr);
    Component.SetTrayIcon(Icon.get());
    Icon.reset();
    EXPECT_EQ(Component.TrayIcon(), nullptr);
    Component.NotifyNewConnection("Red");
}

TEST(GetIPSystemConnections, OneEmptyInstanceOwnedByTheApplication) {
    TgtIPSystemConnections* First = GetIPSystemConnections();
    EXPECT_EQ(GetIPSystemConnections(), First);
    EXPECT_EQ(First->Owner(), &Application());
    EXPECT_TRUE(First->ConnectionNames().empty());
}

} // namespace
