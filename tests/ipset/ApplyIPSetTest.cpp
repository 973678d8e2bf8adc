#include "ipset/o_IPSetManager.h"

#include "base/Exception.h"
#include "base/TApplication.h"
#include "data/DBConnection.h"
#include "data/ExtrasStore.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeLiveAdapters.h"
#include "fakes/FakeTray.h"
#include "fakes/FakeTree.h"
#include "fakes/TempStore.h"
#include "tray/ExtCtrlsX.h"
#include "ui/f_WaitBox.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Records every command line and answers with the next scripted result (0 when none is left); a
// line that ends with 0 changes State as netsh would, unless Inert.
class RecordingRunner : public TCommandRunner {
public:
    struct Script {
        std::vector<std::string> Handed; // by BeginApply
        int Ended = 0;
        std::vector<std::string> Lines;
        std::vector<int> Results;
        std::function<void()> DuringRun;
        bool Throw = false;
        bool Decline = false;
        TNetshState State;
        bool Inert = false;
        TNetshLease Lease;
    };
    explicit RecordingRunner(Script& S) : FScript(S) {}
    void BeginApply(const std::vector<std::string>& Lines) override { FScript.Handed = Lines; }
    void EndApply() override { ++FScript.Ended; }
    int Run(const std::string& CommandLine, int) override {
        if (FScript.Decline)
            throw EElevationDeclined();
        FScript.Lines.push_back(CommandLine);
        if (FScript.DuringRun)
            FScript.DuringRun();
        if (FScript.Throw)
            throw Exception("runner broke");
        const std::size_t I = FScript.Lines.size() - 1;
        const int Result = I < FScript.Results.size() ? FScript.Results[I] : 0;
        if (Result == 0 && !FScript.Inert)
            ApplyNetshLine(FScript.State, CommandLine, FScript.Lease);
        return Result;
    }

private:
    Script& FScript;
};

// Notes every progress position the wait box shows.
class RecordingView : public TWaitBoxView {
public:
    explicit RecordingView(std::vector<int>& Log) : FLog(Log) {}
    void Show() override {}
    void SetProgress(int Position) override { FLog.push_back(Position); }

private:
    std::vector<int>& FLog;
};

// The IP-set table with one column that can't be read, as a damaged or foreign row would give.
class BrokenFieldTable : public TDataSet {
public:
    BrokenFieldTable(TDataSet& Real, std::string Broken)
        : FReal(Real), FBroken(std::move(Broken)) {}
    TDataSetState State() const override { return FReal.State(); }
    void Refresh() override { FReal.Refresh(); }
    int RecordCount() const override { return FReal.RecordCount(); }
    void First() override { FReal.First(); }
    void Next() override { FReal.Next(); }
    bool Eof() const override { return FReal.Eof(); }
    bool Locate(const std::string& F, const std::string& V) override { return FReal.Locate(F, V); }
    bool Locate(const std::string& F, int V) override { return FReal.Locate(F, V); }
    void Insert() override { FReal.Insert(); }
    void Edit() override { FReal.Edit(); }
    void Post() override { FReal.Post(); }
    void Cancel() override { FReal.Cancel(); }
    void Delete() override { FReal.Delete(); }
    TField& FieldByName(const std::string& Name) override {
        if (Name == FBroken)
            throw Exception("field " + Name + " can't be read");
        return FReal.FieldByName(Name);
    }

private:
    TDataSet& FReal;
    std::string FBroken;
};

class ApplyIPSet : public ::testing::Test {
protected:
    void SetUp() override {
        Manager.SetIPSetDataSet(Db.IPSets());
        Manager.SetConnectionsDataSet(Db.ConnectionNames());
        Manager.SetTrayIcon(&Tray);
        Manager.SetCommandRunner(std::make_unique<RecordingRunner>(Run));
        Manager.AddListener(&WaitBox);
        auto Adapters = std::make_unique<FakeLiveAdapters>(Run.State);
        Live = Adapters.get();
        Manager.SetLiveAdapters(std::move(Adapters));
        WaitBoxViewFactory = [this] { return std::make_unique<RecordingView>(Progress); };
        Application().OnShowMessage = [this](const std::string& M) { Messages.push_back(M); };
    }
    void TearDown() override {
        WaitBoxViewFactory = nullptr;
        Application().OnShowMessage = nullptr;
        HideWaitBox();
    }

    int AddConnection(const std::string& Name) { return PostConnection(Db, Name); }

    int AddSet(int Connection, bool Dhcp, const std::vector<std::string>& A) {
        return PostIPSet(Db, "Casa", Connection, Dhcp, A);
    }

    TempStore Store;
    TgtIPDBManager& Db = Store.Db;
    FakeTray Fake;
    TTrayIcon Tray{nullptr, Fake.Services()};
    TgtIPSetManager Manager{nullptr};
    TWaitBoxListener WaitBox;
    RecordingRunner::Script Run;
    FakeLiveAdapters* Live = nullptr;
    std::vector<int> Progress;
    std::vector<std::string> Messages;
};

const std::vector<std::string> Example = {"192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53",
                                          "198.51.100.53"};

TEST_F(ApplyIPSet, StaticSetRunsItsThreeLinesAndReportsSuccess) {
    const int ID = AddSet(AddConnection("LAN 1"), false, Example);
    Manager.ApplyIPSet(ID);
    EXPECT_EQ(Run.Lines, (std::vector<std::string>{
                             "netsh interface ip set address \"LAN 1\"  static 192.0.2.10 "
                             "255.255.255.0 192.0.2.1 1",
                             "netsh interface ip set dns \"LAN 1\"  static 192.0.2.53 primary",
                             "netsh interface ip add dns \"LAN 1\" 198.51.100.53 2"}));
    EXPECT_EQ(Run.Handed, Run.Lines);
    EXPECT_EQ(Run.Ended, 1);
    EXPECT_EQ(Progress, (std::vector<int>{35, 50, 70, 90, 100}));
    EXPECT_EQ(FrmWaitBox, nullptr);
    EXPECT_EQ(Tray.BalloonTitle(), "Cambio de IP satisfactorio!");
    EXPECT_EQ(Tray.BalloonHint(), "IP: 192.0.2.10\rMascara de subred: 255.255.255.0\r"
                                  "Gateway: 192.0.2.1\rDNS preferido: 192.0.2.53\r"
                                  "DNS alternativo: 198.51.100.53\rDHCP: No");
    EXPECT_EQ(Tray.BalloonFlags(), TBalloonFlags::bfInfo);
}

TEST_F(ApplyIPSet, DhcpSetRunsTwoLines) {
    const int ID = AddSet(AddConnection("LAN 1"), true, {"0.0.0.0", "0.0.0.0", "0.0.0.0"});
    Manager.ApplyIPSet(ID);
    EXPECT_EQ(Run.Lines,
              (std::vector<std::string>{"netsh interface ip set address \"LAN 1\"  dhcp ",
                                        "netsh interface ip set dns \"LAN 1\"  dhcp "}));
    EXPECT_EQ(Progress, (std::vector<int>{35, 70, 90, 100}));
    EXPECT_EQ(Tray.BalloonHint(), "DHCP: Si");
}

TEST_F(ApplyIPSet, UnknownIdRunsAndShowsNothing) {
    AddSet(AddConnection("LAN 1"), false, Example);
    Manager.ApplyIPSet(999);
    EXPECT_TRUE(Run.Lines.empty());
    EXPECT_TRUE(Progress.empty());
    EXPECT_TRUE(Tray.BalloonTitle().empty());
}

TEST_F(ApplyIPSet, MissingConnectionOrUnsafeValueRaisesBeforeAnythingRuns) {
    struct Case {
        std::string Name;
        bool Dhcp;
        std::vector<std::string> Addresses;
        bool NoConnection;
    };
    const Case Cases[] = {
        {"LAN 1", false, Example, true},
        {"LAN \"1\" & del", false, Example, false},
        {"LAN\n1", true, {}, false},
        {"LAN 1", false, {"192.0.2.10 & x", "255.255.255.0", "192.0.2.1", "1.1.1.1", ""}, false},
        {"LAN 1", false, {"192.0.2.10", "255.255.255.0", "192.0.2.1\"", "1.1.1.1", ""}, false},
    };
    for (const Case& C : Cases) {
        const int Conn = AddConnection(C.Name);
        const int ID = AddSet(C.NoConnection ? 0 : Conn, C.Dhcp, C.Addresses);
        try {
            Manager.ApplyIPSet(ID);
            ADD_FAILURE() << "no error for " << C.Name;
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(), "Error al aplicar configuracion IP");
        }
        EXPECT_TRUE(Run.Lines.empty()) << C.Name;
        EXPECT_TRUE(Progress.empty()) << C.Name;
    }
}

// Another program may write extras that the editor and the console would refuse.
TEST_F(ApplyIPSet, StoredExtraThatItsCheckRefusesRaisesBeforeAnythingRuns) {
    Manager.SetDatabase(Db.AdoConnection());
    const int ID = AddSet(AddConnection("LAN 1"), true, {});
    TIPSetExtras Extras;
    Extras.IPv6 = TIPv6Mode::Static;
    Extras.IPv6Dns = {"2001:db8::1 & del"};
    SaveIPSetExtras(*Db.AdoConnection(), ID, Extras);
    try {
        Manager.ApplyIPSet(ID);
        ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "Error al aplicar configuracion IP");
    }
    EXPECT_TRUE(Run.Lines.empty());
    EXPECT_TRUE(Progress.empty());
}

// The verdict is what the adapter shows once the lines have run, whatever netsh answered. How
// the lines and the adapter behave: "" as netsh would, "inert" the lines change nothing, "before"
// the set is in force before them, "third" it shows at the third read, "gone" no adapter,
// "no lease" no DHCP server answers.
TEST_F(ApplyIPSet, VerdictIsWhatTheAdapterShowsAfterTheLines) {
    const std::string Asked = "IP: 192.0.2.10\rMascara de subred: 255.255.255.0\r"
                              "Gateway: 192.0.2.1\rDNS preferido: 192.0.2.53\r"
                              "DNS alternativo: 198.51.100.53\rDHCP: No";
    const std::string Ok = "Cambio de IP satisfactorio!",
                      Failed = "Error al aplicar configuracion IP";
    const std::string IP =
        "IP: se esperaba 192.0.2.10/255.255.255.0, el adaptador tiene 10.0.2.15/255.255.255.0";
    const std::string Dns =
        "DNS: se esperaba 192.0.2.53, 198.51.100.53; el adaptador tiene 10.0.2.3";
    const std::string Unchanged =
        IP + "\rGateway: se esperaba 192.0.2.1, el adaptador tiene 10.0.2.2\r" + Dns;
    const std::string TwoFailed =
        "Paso 2 de 3: netsh termino con el codigo 1\rPaso 3 de 3: no se pudo ejecutar netsh\r" +
        Dns;
    const std::string AllFailed = "Paso 1 de 3: netsh termino con el codigo 1\r"
                                  "Paso 2 de 3: netsh termino con el codigo 1\r"
                                  "Paso 3 de 3: netsh termino con el codigo 1\r" +
                                  IP; // cut at a line end to 255 characters
    const std::string Gone = "No se encontro el adaptador de la conexion \"LAN 1\".";
    const std::string NoLease = "DHCP: Si\rSin respuesta del servidor DHCP todavia.";
    const std::string NotDhcp = "DHCP: se esperaba Si, el adaptador tiene No\r"
                                "DNS: se esperaba del servidor DHCP, el adaptador tiene fijos "
                                "10.0.2.3";
    const struct {
        const char* Name;
        bool Dhcp;
        std::vector<int> Results;
        std::string Arrange, Title, Text;
        TBalloonFlags Flags;
        int Reads; // the reads of the adapter after the lines
    } Cases[] = {
        {"in force", false, {}, "", Ok, Asked, bfInfo, 1},
        {"already in force, netsh says 1", false, {1, 1, 1}, "before", Ok, Asked, bfInfo, 1},
        {"shows on the third read", false, {}, "third", Ok, Asked, bfInfo, 3},
        {"exits 0, changes nothing", false, {}, "inert", Failed, Unchanged, bfError, 41},
        {"two steps failed", false, {0, 1, -1}, "", Failed, TwoFailed, bfError, 41},
        {"every step failed", false, {1, 1, 1}, "", Failed, AllFailed, bfError, 41},
        {"adapter gone", false, {}, "gone", Failed, Gone, bfError, 41},
        {"DHCP with its lease", true, {}, "", Ok, "DHCP: Si", bfInfo, 1},
        {"DHCP without a lease: a warning", true, {}, "no lease", Ok, NoLease, bfWarning, 41},
        {"DHCP not enabled at first: no wait", true, {}, "inert", Failed, NotDhcp, bfError, 1},
    };
    const TNetshConnection InForce = {
        false, "192.0.2.10", "255.255.255.0", "192.0.2.1", {"192.0.2.53", "198.51.100.53"}, true};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Run = {};
        Run.Results = C.Results;
        Run.Inert = C.Arrange == "inert" || C.Arrange == "third";
        if (C.Arrange == "before")
            Run.State["LAN 1"] = InForce;
        if (C.Arrange == "no lease")
            Run.Lease = {"", ""};
        Live->Gone.clear();
        if (C.Arrange == "gone")
            Live->Gone.insert("LAN 1");
        Live->BeforeRead = [&] {
            if (C.Arrange == "third" && Live->Reads == 3)
                Run.State["LAN 1"] = InForce;
        };
        Live->Reads = 0;
        Progress.clear();
        Manager.ApplyIPSet(AddSet(AddConnection("LAN 1"), C.Dhcp, Example));
        EXPECT_EQ(Tray.BalloonTitle(), C.Title);
        EXPECT_EQ(Tray.BalloonHint(), C.Text);
        EXPECT_EQ(Tray.BalloonFlags(), C.Flags);
        EXPECT_EQ(Live->Reads, C.Reads);
        EXPECT_EQ(Progress.back(), 100);
        EXPECT_EQ(Progress[Progress.size() - 2], 90); // kept while the adapter is read
    }
}

// Each apply notes what its connection had just before its lines; undo applies that as a set is
// applied, and notes in turn. An adapter that is not there, or refused rights, note nothing.
TEST_F(ApplyIPSet, UndoAppliesWhatTheConnectionHadBeforeTheLastApply) {
    Manager.SetDatabase(Db.AdoConnection());
    EXPECT_FALSE(Manager.UndoLastChange(""));
    Run.State["LAN 1"].Dns = {"10.0.2.3", "10.0.2.4"};
    Run.State["LAN 2"].Dhcp = true;
    Live->Gone = {"LAN 3"};
    const std::string Address = "netsh interface ip set address \"LAN ";
    const std::string Before = Address + "1\"  static 10.0.2.15 255.255.255.0 10.0.2.2 1",
                      Set = Address + "1\"  static 192.0.2.10 255.255.255.0 192.0.2.1 1";
    const struct {
        const char* Apply; // the set's connection, before the undo
        bool Declined;
        const char* Undo;
        std::string FirstLine;
    } Steps[] = {{"LAN 1", false, "", Before},
                 {nullptr, false, "", Set},
                 {"LAN 2", false, "", Address + "2\"  dhcp "},
                 {nullptr, false, "LAN 1", Before},
                 {"LAN 1", true, "", Set},
                 {"LAN 3", false, "", Before}};
    for (const auto& S : Steps) {
        SCOPED_TRACE(S.FirstLine);
        Run.Decline = S.Declined;
        if (S.Apply != nullptr)
            Manager.ApplyIPSet(AddSet(AddConnection(S.Apply), false, Example));
        Run.Decline = false;
        EXPECT_TRUE(Manager.UndoLastChange(S.Undo));
        EXPECT_EQ(Run.Handed.at(0), S.FirstLine);
    }
}

// A runner's error shows its message and counts as a failed step; the console program, which
// listens instead of showing balloons, is told the same without a tray icon.
TEST_F(ApplyIPSet, RunnerErrorShowsTheMessageAndIsToldAsAFailedStep) {
    const int ID = AddSet(AddConnection("LAN 1"), true, {});
    struct Console : TApplyListener {
        std::vector<std::string> Told;
        void ApplyStepDone(int Step, int Count, const TApplyStep&, const TStepOutcome& O) override {
            Told.push_back(std::to_string(Step) + "/" + std::to_string(Count) + " " +
                           StepOutcomeText(O));
        }
        void ApplyReported(const TApplyReport& R) override { Told.push_back(R.Title); }
    } Listener;
    Manager.AddListener(&Listener);
    Run.Throw = true;
    for (TTrayIcon* Icon : {&Tray, static_cast<TTrayIcon*>(nullptr)}) {
        Manager.SetTrayIcon(Icon);
        Listener.Told.clear();
        Messages.clear();
        Manager.ApplyIPSet(ID);
        EXPECT_EQ(Messages, (std::vector<std::string>{"runner broke", "runner broke"}));
        EXPECT_EQ(Listener.Told,
                  (std::vector<std::string>{"1/2 error al ejecutar netsh: runner broke",
                                            "2/2 error al ejecutar netsh: runner broke",
                                            "Error al aplicar configuracion IP"}));
    }
    EXPECT_EQ(Tray.BalloonHint().substr(0, 11), "Paso 1 de 2");
    EXPECT_NE(Tray.BalloonHint().find("\rPaso 2 de 2"), std::string::npos);
}

TEST_F(ApplyIPSet, DeclinedRightsRunNothingSayWhyAndStillRefreshTheTrees) {
    const int ID = AddSet(AddConnection("LAN 1"), false, Example);
    FakeTree Tree;
    Manager.SetIPSetTreeView(&Tree);
    Run.Decline = true;
    Manager.ApplyIPSet(ID);
    EXPECT_TRUE(Run.Lines.empty());
    EXPECT_EQ(Run.Ended, 1);
    EXPECT_EQ(Progress, (std::vector<int>{35, 100}));
    EXPECT_EQ(Tree.Clears, 1);
    EXPECT_TRUE(Messages.empty());
    EXPECT_EQ(Tray.BalloonTitle(), "Error al aplicar configuracion IP");
    EXPECT_EQ(Tray.BalloonHint(),
              "Se necesitan permisos de administrador para cambiar la configuracion IP.");
    EXPECT_EQ(Tray.BalloonFlags(), TBalloonFlags::bfError);
}

TEST_F(ApplyIPSet, RequestDuringARunningApplyIsIgnored) {
    const int ID = AddSet(AddConnection("LAN 1"), true, {});
    Run.DuringRun = [&] { Manager.ApplyIPSet(ID); };
    Manager.ApplyIPSet(ID);
    EXPECT_EQ(Run.Lines.size(), 2u);
    EXPECT_EQ(Progress, (std::vector<int>{35, 70, 90, 100}));
    Run.DuringRun = nullptr;
    Manager.ApplyIPSet(ID); // and the next one after it runs again
    EXPECT_EQ(Run.Lines.size(), 4u);
}

TEST_F(ApplyIPSet, ReferencesAreClearedWhenTheirComponentsGo) {
    auto* Other = new TTrayIcon(nullptr, Fake.Services());
    Manager.SetTrayIcon(Other);
    delete Other;
    EXPECT_EQ(Manager.TrayIcon(), nullptr);
    Manager.SetTrayIcon(&Tray);
    EXPECT_EQ(Manager.TrayIcon(), &Tray);

    // One tree in both places: letting go of it in one must not stop the other hearing of it.
    auto* Shared = new FakeTree;
    Manager.SetIPSetTreeView(Shared);
    Manager.SetAdapterTreeview(Shared);
    Manager.SetAdapterTreeview(nullptr);
    delete Shared;
    EXPECT_EQ(Manager.IPSetTreeView(), nullptr);
}

TEST_F(ApplyIPSet, FieldThatCannotBeReadRaisesBeforeTheWaitBoxOrAnyLine) {
    const int ID = AddSet(AddConnection("LAN 1"), false, Example);
    for (const char* Column : {"CONNECTION", "IPADDRESS", "DNS2"}) {
        SCOPED_TRACE(Column);
        BrokenFieldTable Broken(*Db.IPSets(), Column);
        Manager.SetIPSetDataSet(&Broken);
        EXPECT_THROW(Manager.ApplyIPSet(ID), Exception);
        Manager.SetIPSetDataSet(Db.IPSets());
        EXPECT_TRUE(Run.Lines.empty());
        EXPECT_TRUE(Progress.empty()); // no wait box was made
        EXPECT_TRUE(Tray.BalloonHint().empty());
    }
}

TEST_F(ApplyIPSet, ErrorBetweenStepsStillCleansUpInOrderAndShowsNoBalloon) {
    const int ID = AddSet(AddConnection("LAN 1"), false, Example);
    std::vector<std::string> Order;
    WaitBoxViewFactory = [&] {
        struct View : TWaitBoxView {
            std::vector<std::string>& Log;
            explicit View(std::vector<std::string>& L) : Log(L) {}
            ~View() override { Log.push_back("hide"); }
            void Show() override {}
            void SetProgress(int P) override { Log.push_back(std::to_string(P)); }
        };
        return std::make_unique<View>(Order);
    };
    struct LoggingTree : FakeTree {
        std::vector<std::string>& Log;
        explicit LoggingTree(std::vector<std::string>& L) : Log(L) {}
        void Clear() override {
            Log.push_back("trees");
            FakeTree::Clear();
        }
    } Tree(Order);
    Manager.SetIPSetTreeView(&Tree);
    // The messages handled at 35 raise, as a handler of a pending message could.
    Application().OnProcessMessages = [&] {
        Order.push_back("messages");
        if (Order.size() == 2)
            throw Exception("handler broke");
    };
    EXPECT_THROW(Manager.ApplyIPSet(ID), Exception);
    Application().OnProcessMessages = nullptr;
    EXPECT_EQ(Order,
              (std::vector<std::string>{"35", "messages", "100", "messages", "hide", "trees"}));
    EXPECT_TRUE(Run.Lines.empty());
    EXPECT_EQ(FrmWaitBox, nullptr);
    EXPECT_TRUE(Tray.BalloonHint().empty());
}

TEST(WaitBox, ShowTwiceLeavesOneBoxAndHideIsHarmless) {
    HideWaitBox();
    ShowWaitBox();
    ShowWaitBox();
    EXPECT_NE(FrmWaitBox, nullptr);
    EXPECT_TRUE(FrmWaitBox->Visible());
    int Boxes = 0;
    for (int I = 0; I < Application().ComponentCount(); ++I)
        Boxes += dynamic_cast<TFrmWaitBox*>(Application().Components(I)) != nullptr;
    EXPECT_EQ(Boxes, 1);
    HideWaitBox();
    EXPECT_EQ(FrmWaitBox, nullptr);
    HideWaitBox();
}

} // namespace
