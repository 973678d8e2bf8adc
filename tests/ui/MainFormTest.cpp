#include "ui/f_main.h"

#include "adapters/o_AdapterInformation.h"
#include "base/Exception.h"
#include "connections/o_SystemConnections.h"
#include "data/DBConnection.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/FakeLiveAdapters.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeTray.h"
#include "fakes/FakeTree.h"
#include "fakes/TempStore.h"
#include "ipset/o_IPSetManager.h"
#include "shell/GlobalUnit.h"
#include "shell/SettingsStore.h"
#include "ui/f_IPSet.h"
#include "ui/frmWizardUnit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// The window: the controls it binds and what the controller asked of it.
class FakeMainView : public TMainFormView {
public:
    explicit FakeMainView(TFrmMain& AForm) : Form(AForm) {
        Form.tvConfiguracionesIP = &IPSets;
        Form.tvAdaptadoresRed = &Adapters;
        Form.nbPaginas = &Pages;
        Form.btnActivarConfIP = &Activar;
        Form.btnAgregarConfIP = &Agregar;
        Form.btnEditarConfIP = &Editar;
        Form.btnEliminarConfIP = &Eliminar;
    }
    void SetCaption(const std::string& V) override { Caption = V; }
    void Close() override { Log.push_back("close"); }
    // As the front end does: every minimize reaches the form's handler.
    void Minimize() override {
        Log.push_back("minimize");
        Form.ApplicationEvents1Minimize();
    }
    void HideTaskbarButton() override { Log.push_back("hide"); }
    void Restore() override { Log.push_back("restore"); }

    std::vector<bool> ButtonsEnabled() const {
        return {Activar.Enabled(), Agregar.Enabled(), Editar.Enabled(), Eliminar.Enabled()};
    }

    TFrmMain& Form;
    std::string Caption;
    Strings Log;
    FakeTree IPSets;
    FakeTree Adapters;
    FakeNotebook Pages;
    FakeControlOf<TControl> Activar{"btnActivarConfIP"}, Agregar{"btnAgregarConfIP"},
        Editar{"btnEditarConfIP"}, Eliminar{"btnEliminarConfIP"};
};

// Records every netsh line of an apply, carries it out on State and answers success.
class RecordingRunner : public TCommandRunner {
public:
    RecordingRunner(Strings& ALines, TNetshState& AState) : Lines(ALines), State(AState) {}
    int Run(const std::string& CommandLine, int) override {
        Lines.push_back(CommandLine);
        ApplyNetshLine(State, CommandLine);
        return 0;
    }
    Strings& Lines;
    TNetshState& State;
};

// One start of the program against a fresh database with two stored sets, one machine adapter
// whose connection is new, and fakes for the tray and the window.
class MainForm : public ::testing::Test {
protected:
    void SetUp() override {
        DataPath = Folder.Path().string() + "/";
        CreateEmptyDatabase(DatabaseFileName());
        GetIPDBManager()->OpenDatabase();
        Lan = PostConnection(*GetIPDBManager(), "Conexion de area local");
        Casa = PostIPSet(*GetIPDBManager(), "Casa", Lan, false, Example);
        Oficina = PostIPSet(*GetIPDBManager(), "oficina \"2\"", Lan, true, {});
        IpHelper.Adapters.push_back(FakeIpHelper::Adapter("{A1}", 7, {{"192.0.2.9", "255.0.0.0"}}));
        Registry.AddConnection("{4D36E972}", "{A1}", "Wi-Fi");
        GetIPSystemConnections()->SetRegistryReaderFactory(Registry.Factory());
        TOSVersionInfo Seven;
        Seven.Available = true;
        Seven.PlatformId = 2;
        Seven.Major = 6;
        Seven.Minor = 1;
        GetIPSystemConnections()->SetVersionInfo(Seven);
        TFrmMain::ViewFactory = [this](TFrmMain& F) {
            auto V = std::make_unique<FakeMainView>(F);
            View = V.get();
            return V;
        };
    }
    void TearDown() override {
        Form.reset();
        TFrmMain::ViewFactory = nullptr;
        TFrmMain::WatchFactory = nullptr;
    }

    void Start() {
        Form = std::make_unique<TFrmMain>(nullptr, Tray.Services());
        Form->IPSetManager()->SetCommandRunner(std::make_unique<RecordingRunner>(Netsh, Live));
        Form->IPSetManager()->SetLiveAdapters(std::make_unique<FakeLiveAdapters>(Live));
    }

    // The tray submenu as caption=tag lines.
    Strings ApplyMenu() const {
        Strings Items;
        for (int I = 0; I < Form->ApplyIPSet1->Count(); ++I) {
            const TMenuItem& Item = *Form->ApplyIPSet1->Items(I);
            Items.push_back(Item.Caption + "=" + std::to_string(Item.Tag()));
        }
        return Items;
    }

    void Select(const std::string& Text) { View->IPSets.SetSelected(View->IPSets.Find(Text)); }

    // The connection of each apply as its first netsh line names it, one entry per apply.
    Strings Applied() const {
        Strings Sets;
        for (const std::string& Line : Netsh)
            if (Line.find("set address") != std::string::npos)
                Sets.push_back(Line.find("dhcp") != std::string::npos ? "dhcp" : "static");
        return Sets;
    }

    const Strings Example = {"192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53", ""};
    TempFolder Folder;
    FakeIpHelper IpHelper;
    FakeRegistry Registry;
    FakeTray Tray;
    TNetshState Live;
    FakeMessages Messages;
    Strings Netsh;
    FakeMainView* View = nullptr;
    std::unique_ptr<TFrmMain> Form;
    int Lan = 0, Casa = 0, Oficina = 0;
};

TEST_F(MainForm, Construction_WiresEverythingAndFillsTreesAndTraySubmenu) {
    Start();
    EXPECT_EQ(View->Caption, "Quelvano v1.47 build 351");
    EXPECT_EQ(View->Pages.PageIndex, 0);
    // The icon is shown first, so the discovery that follows can announce the new connection.
    const auto Add = std::find_if(Tray.Calls.begin(), Tray.Calls.end(),
                                  [](const FakeTray::Call& C) { return C.Message == nimAdd; });
    const auto Balloon =
        std::find_if(Tray.Calls.begin(), Tray.Calls.end(),
                     [](const FakeTray::Call& C) { return C.Data.Flags & nifInfo; });
    EXPECT_LT(Add, Balloon);
    EXPECT_NE(Balloon, Tray.Calls.end());
    EXPECT_EQ(Form->TornibelTrayIcon()->BalloonFlags(), bfInfo);
    EXPECT_EQ(Form->TornibelTrayIcon()->BalloonHint(), "Nueva conexion de red encontrada.\rWi-Fi");
    EXPECT_EQ(ColumnValues(*GetIPDBManager()->ConnectionNames(), "CONNECTIONNAME"),
              (Strings{"Conexion de area local", "Wi-Fi"}));
    EXPECT_EQ(View->IPSets.Roots().size(), 2u);
    EXPECT_EQ(View->IPSets.At(View->IPSets.Roots()[1]).Text, "OFICINA \"2\"");
    EXPECT_EQ(View->Adapters.Roots().size(), 1u);
    // Captions as stored, not as the tree shows them; IDs in the tags; the IP-set picture.
    EXPECT_EQ(ApplyMenu(), (Strings{"Casa=" + std::to_string(Casa),
                                    "oficina \"2\"=" + std::to_string(Oficina)}));
    EXPECT_EQ(Form->ApplyIPSet1->Items(0)->ImageIndex, IPSetPicture);
    const TMenuItem& Tray0 = *Form->TrayIconMenu.Items().Items(0);
    EXPECT_EQ(Tray0.Caption, "Acerca de...");
    EXPECT_TRUE(Tray0.Default);
    EXPECT_EQ(Form->TornibelTrayIcon()->PopupMenu(), &Form->TrayIconMenu);
}

TEST_F(MainForm, Construction_FailingStoreRaisesAndTakesTheIconAway) {
    Start();
    Form.reset();
    WriteWholeFile(DatabaseFileName(), "not a database");
    Tray.Calls.clear();
    EXPECT_THROW(Start(), std::exception);
    ASSERT_FALSE(Tray.Calls.empty());
    EXPECT_EQ(Tray.Calls.back().Message, nimDelete);
    EXPECT_FALSE(Tray.WindowAlive);
}

TEST_F(MainForm, Activate_ResolvesTheSelectionThroughEveryEntry) {
    Start();
    const struct {
        const char* Name;
        int Page;
        const char* Selected; // nullptr: nothing selected
        std::function<void(TFrmMain&)> Entry;
        Strings Applied;
    } Cases[] = {
        {"menu, top node", 0, "CASA", [](TFrmMain& F) { F.ActivateSelectedIPSet(); }, {"static"}},
        {"pop-up, detail line",
         0,
         "DHCP : Si",
         [](TFrmMain& F) { F.pmActivarConfigIP->Click(); },
         {"dhcp"}},
        {"adapter page, shortcut",
         1,
         "DHCP : Si",
         [](TFrmMain& F) { F.ActivateSelectedIPSet(); },
         {"dhcp"}},
        {"no selection", 0, nullptr, [](TFrmMain& F) { F.ActivateSelectedIPSet(); }, {}},
        {"tray submenu, no selection needed",
         1,
         nullptr,
         [](TFrmMain& F) { F.ApplyIPSet1->Items(0)->Click(); },
         {"static"}},
    };
    EXPECT_FALSE(Form->UndoLastChange1->Enabled); // nothing is recorded to undo yet
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Form->tsPaginasChange(C.Page);
        View->IPSets.SetSelected(0);
        if (C.Selected != nullptr)
            Select(C.Selected);
        Netsh.clear();
        C.Entry(*Form);
        EXPECT_EQ(Applied(), C.Applied);
    }
    EXPECT_EQ(Form->SelectedIPSetID(), Casa);
    EXPECT_TRUE(Form->UndoLastChange1->Enabled);
}

TEST_F(MainForm, Delete_AsksWithNoAsDefaultAndOnYesRebuildsTreeAndSubmenu) {
    Start();
    Select("Mascara de Red : 255.255.255.0");
    Messages.Answers = {MsgBox::IdNo};
    Form->DeleteSelectedIPSet();
    ASSERT_EQ(Messages.Boxes.size(), 1u);
    EXPECT_EQ(Messages.Boxes[0].Text, "¿Estas seguro que deseas eliminar la Configuracion IP...?");
    EXPECT_EQ(Messages.Boxes[0].Caption, "Quelvano");
    EXPECT_EQ(Messages.Boxes[0].Flags, 0x124u);
    EXPECT_EQ(GetIPDBManager()->IPSets()->RecordCount(), 2);
    EXPECT_EQ(ApplyMenu().size(), 2u);

    Messages.Answers = {MsgBox::IdYes};
    Form->pmEliminarConfigIP->Click();
    EXPECT_EQ(GetIPDBManager()->IPSets()->RecordCount(), 1);
    EXPECT_EQ(View->IPSets.Outline().front(), "*OFICINA \"2\"");
    EXPECT_EQ(ApplyMenu(), (Strings{"oficina \"2\"=" + std::to_string(Oficina)}));

    // Nothing selected (the tree was rebuilt): nothing asked.
    Form->DeleteSelectedIPSet();
    EXPECT_EQ(Messages.Boxes.size(), 2u);
}

TEST_F(MainForm, EditOrDeleteOfASetAnotherProgramDeleted_RaisesAndAsksNothing) {
    Start();
    Select("Mascara de Red : 255.255.255.0");
    TgtIPDBManager Other(nullptr);
    Other.OpenDatabase(DatabaseFileName());
    ASSERT_TRUE(Other.IPSets()->Locate("ID", Casa));
    Other.IPSets()->Delete();
    EXPECT_THROW(Form->EditSelectedIPSet(), Exception);
    EXPECT_THROW(Form->DeleteSelectedIPSet(), Exception);
    EXPECT_TRUE(Messages.Boxes.empty());
}

// Controls in memory for the dialogs the main window opens; they only need to exist here.
struct DialogControls {
    FakeNotebook Notebook;
    FakeButton Button{"button"};
    FakeCombo Combo{"combo"};
    FakeCheck Check{"check"};
    FakeEdit Edit{"edit"};

    void Bind(TfrmWizard& W) {
        W.nbWizard = &Notebook;
        W.btnAtras = W.btnSiguiente = &Button;
        W.edtConnection = &Combo;
        W.rbNoDhcp = W.rbSiDhcp = &Check;
        for (TEdit** E : {&W.txtDireccionIP, &W.txtMascaraRed, &W.txtGateway, &W.edtDNS1,
                          &W.edtDNS2, &W.txtDescripcion, &W.txtResumen})
            *E = &Edit;
    }
    void Bind(TFrmIPSet& E) {
        for (TEdit** Box : {&E.edtIPSetName, &E.edtIPAddress, &E.edtSubnetMask, &E.edtDefGateway,
                            &E.edtDNS1, &E.edtDNS2})
            *Box = &Edit;
        E.edtConnection = &Combo;
        E.DHCPCheck = &Check;
    }
};

// Installs a view for dialogs of class F in which the user does what Script says.
template <class F> void UserOf(std::function<void(F&)> Script) {
    static DialogControls Controls;
    F::ViewFactory = [Script](F& Form) {
        Controls.Bind(Form);
        auto View = std::make_unique<FakeFormView>();
        View->User = [&Form, Script] { Script(Form); };
        return View;
    };
}

// What a dialog that saved leaves behind: its row posted, the result OK.
template <class F> void Saves(F& Form, TDataSet& Sets, const std::string& Name) {
    Sets.FieldByName("IPSET_NAME").SetAsString(Name);
    Sets.Post();
    Form.SetModalResult(mrOK);
}

TEST_F(MainForm, Submenu_RebuiltAfterEveryCommandThatChangedTheTableAndOnlyThen) {
    Start();
    TDataSet& Sets = *GetIPDBManager()->IPSets();
    const std::string CasaItem = "Casa=" + std::to_string(Casa);
    const std::string HogarItem = "Hogar=" + std::to_string(Casa);
    const std::string OficinaItem = "oficina \"2\"=" + std::to_string(Oficina);
    const struct {
        const char* Name;
        std::function<void(TFrmMain&)> Run;
        int Roots; // in the IP-set tree afterwards
        Strings Menu;
    } Cases[] = {
        {"add cancelled",
         [&](TFrmMain& F) {
             UserOf<TFrmIPSet>([&](TFrmIPSet& E) {
                 EXPECT_EQ(E.Caption(), "Agregar nueva IP");
                 for (int I = 0; I < F.TrayIconMenu.Items().Count(); ++I)
                     EXPECT_FALSE(F.TrayIconMenu.Items().Items(I)->Enabled) << I;
                 Sets.Cancel();
                 E.SetModalResult(mrCancel);
             });
             F.AddNewIPConfigurationSet1Click();
         },
         2,
         {CasaItem, OficinaItem}},
        {"edit ended with OK renames the item",
         [&](TFrmMain& F) {
             UserOf<TFrmIPSet>([&](TFrmIPSet& E) {
                 EXPECT_EQ(E.Caption(), "Editar la Configuracion IP");
                 Saves(E, Sets, "Hogar");
             });
             View->IPSets.SetSelected(View->IPSets.Find("IP : 192.0.2.10"));
             F.pmEditarConfigIP->Click();
         },
         2,
         {HogarItem, OficinaItem}},
        {"add ended with OK, from the tray",
         [&](TFrmMain& F) {
             UserOf<TFrmIPSet>([&](TFrmIPSet& E) { Saves(E, Sets, "Nuevo"); });
             F.TrayIconMenu.Items().Items(2)->Click();
         },
         3,
         {HogarItem, OficinaItem, "Nuevo=" + std::to_string(Oficina + 1)}},
        {"refresh after a change made elsewhere",
         [&](TFrmMain& F) {
             Sets.Locate("ID", Oficina + 1);
             Sets.Delete();
             F.mnuRefrescar->Click();
         },
         2,
         {HogarItem, OficinaItem, "Nuevo=" + std::to_string(Oficina + 1)}},
        {"wizard ended with OK",
         [&](TFrmMain& F) {
             UserOf<TfrmWizard>([&](TfrmWizard& W) { Saves(W, *W.dsIPSets(), "Movil"); });
             F.RunWizard();
         },
         3,
         {HogarItem, OficinaItem, "Movil=" + std::to_string(Oficina + 2)}},
        {"wizard cancelled",
         [&](TFrmMain& F) {
             UserOf<TfrmWizard>([&](TfrmWizard& W) {
                 W.dsIPSets()->Cancel();
                 W.SetModalResult(mrCancel);
             });
             F.RunWizard();
         },
         3,
         {HogarItem, OficinaItem, "Movil=" + std::to_string(Oficina + 2)}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        C.Run(*Form);
        EXPECT_EQ(View->IPSets.Roots().size(), std::size_t(C.Roots));
        EXPECT_EQ(ApplyMenu(), C.Menu);
        EXPECT_EQ(Sets.State(), TDataSetState::dsBrowse);
        EXPECT_TRUE(Form->TrayIconMenu.Items().Items(7)->Enabled);
        EXPECT_FALSE(Form->UndoLastChange1->Enabled); // not given back with the others
    }
    TfrmWizard::ViewFactory = nullptr;
    TFrmIPSet::ViewFactory = nullptr;
}

TEST_F(MainForm, PopUp_CaptionAndStatesFollowTheSelection) {
    Start();
    const struct {
        const char* Name;
        const char* Before;     // selected before the right click; nullptr for none
        const char* UnderMouse; // node right-clicked; nullptr for empty space
        std::string Caption;
        bool Enabled;
    } Cases[] = {
        {"empty space, nothing chosen", nullptr, nullptr, "Activar", false},
        {"empty space keeps the selection", "CASA", nullptr, "Activar \"CASA\"", true},
        {"detail line names its set", "CASA", "DHCP : Si", "Activar \"OFICINA \"2\"\"", true},
        {"top node", nullptr, "CASA", "Activar \"CASA\"", true},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        View->IPSets.SetSelected(C.Before ? View->IPSets.Find(C.Before) : 0);
        Form->tvConfiguracionesIPContextPopup(C.UnderMouse ? View->IPSets.Find(C.UnderMouse) : 0);
        Form->TreeViewPopUpMenuPopup();
        EXPECT_EQ(Form->pmActivarConfigIP->Caption, C.Caption);
        for (const TMenuItem* Item :
             {Form->pmActivarConfigIP, Form->pmEditarConfigIP, Form->pmEliminarConfigIP})
            EXPECT_EQ(Item->Enabled, C.Enabled) << Item->Caption;
        EXPECT_TRUE(Form->pmAgregarConfigIP->Enabled);
        EXPECT_TRUE(Form->mnuRefrescar->Enabled);
    }
}

TEST_F(MainForm, Pages_OnlyTheFourToolbarButtonsFollowThePage) {
    Start();
    const Strings Before = View->IPSets.Outline();
    const struct {
        int Tab;
        bool Enabled;
    } Steps[] = {{1, false}, {1, false}, {0, true}, {1, false}};
    for (const auto& S : Steps) {
        Form->tsPaginasChange(S.Tab);
        EXPECT_EQ(View->Pages.PageIndex, S.Tab);
        EXPECT_EQ(View->ButtonsEnabled(), std::vector<bool>(4, S.Enabled));
    }
    EXPECT_EQ(View->IPSets.Outline(), Before);
    EXPECT_EQ(View->Adapters.Roots().size(), 1u);
}

TEST_F(MainForm, Minimize_HidesEveryTimeAndShowsTheBalloonOnceWithTheCurrentFlags) {
    Start();
    Form->TornibelTrayIcon()->SetBalloonFlags(bfError); // as a failed apply leaves it
    Form->ApplicationEvents1Minimize();
    const TNotifyIconData& Shown = Tray.Last().Data;
    EXPECT_EQ(Shown.InfoTitle, "Quelvano v1.47");
    EXPECT_EQ(Shown.Info, "Para restaurar la pantalla de la aplicacion haga doble\rclick sobre el "
                          "icono, tambien puede acceder a las\rfunciones de la aplicacion haciendo "
                          "click derecho\rsobre este icono.");
    EXPECT_EQ(Shown.InfoFlags, unsigned(bfError));
    EXPECT_NE(Shown.Flags & nifInfo, 0u);

    const std::size_t Calls = Tray.Calls.size();
    Form->ApplicationEvents1Minimize();
    EXPECT_EQ(Tray.Calls.size(), Calls);
    Tray.Notify(TrayMessages::LButtonDblClk);
    EXPECT_EQ(View->Log, (Strings{"hide", "hide", "restore"}));
}

TEST_F(MainForm, StartMinimized_OnlyForExactlyOneAndOnlyAtTheFirstActivation) {
#ifndef _WIN32
    setenv("XDG_CONFIG_HOME", Folder.Path().c_str(), 1);
#endif
    const struct {
        const char* Value; // nullptr: no value
        Strings Log;
    } Cases[] = {
        {"1", {"minimize", "hide"}}, {"0", {}}, {"", {}}, {" 1", {}}, {"si", {}}, {nullptr, {}}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Value ? C.Value : "(none)");
        if (C.Value)
            WriteSetting(StartMinimizedName, C.Value);
        else
            OpenUserSettingsKey(ProgramKeyPath, true)->DeleteValue(StartMinimizedName);
        Start();
        Form->ApplicationEvents1Activate();
        WriteSetting(StartMinimizedName, "1");
        Form->ApplicationEvents1Activate();
        EXPECT_EQ(View->Log, C.Log);
        EXPECT_EQ(Form->TornibelTrayIcon()->BalloonTitle(), C.Log.empty() ? "" : "Quelvano v1.47");
        Form.reset();
    }
    // The test prefix is shared with the program's own tests.
    OpenUserSettingsKey(ProgramKeyPath, true)->DeleteValue(StartMinimizedName);
}

TEST_F(MainForm, Exit_MenuClosesAtOnceTrayAsksFirst) {
    Start();
    Messages.Answers = {MsgBox::IdNo, MsgBox::IdYes};
    Form->mnuSalirClick();
    EXPECT_TRUE(View->Log.empty());
    Form->TrayIconMenu.Items().Items(7)->Click();
    EXPECT_EQ(View->Log, (Strings{"close"}));
    ASSERT_EQ(Messages.Boxes.size(), 2u);
    EXPECT_EQ(Messages.Boxes[0].Text, "¿Desea salir de la aplicacion...?");
    EXPECT_EQ(Messages.Boxes[0].Caption, "Salir");
    EXPECT_EQ(Messages.Boxes[0].Flags, 0x124u);
    Form->Exit1Click();
    EXPECT_EQ(View->Log, (Strings{"close", "close"}));
    EXPECT_EQ(Messages.Boxes.size(), 2u);
}

// The sets in force on their adapters are marked in the tray's submenu, named in its tooltip and
// drawn with their own picture; applying one moves the marks, and so does a change of the adapter
// that the system tells of, the chosen set staying chosen.
TEST_F(MainForm, SetsInForceAreMarkedInTheMenuTheTooltipAndTheTree) {
    const TNetshConnection InForce = {false,       "192.0.2.10",   "255.255.255.0",
                                      "192.0.2.1", {"192.0.2.53"}, true};
    Live["Conexion de area local"] = InForce;
    Application().Title = "Quelvano v1.47";
    std::function<void()> Changed;
    TFrmMain::WatchFactory = [&](std::function<void()> Tell) {
        Changed = std::move(Tell);
        return std::make_unique<TNetworkWatch>();
    };
    Start();
    Form->mnuRefrescar->Click(); // with the fake adapters in place
    const auto Marks = [&] {
        Strings Checked;
        for (int I = 0; I < Form->ApplyIPSet1->Count(); ++I)
            Checked.push_back(Form->ApplyIPSet1->Items(I)->Checked ? "x" : "-");
        Checked.push_back(std::to_string(View->IPSets.At(View->IPSets.Find("CASA")).ImageIndex));
        Checked.push_back(Form->TornibelTrayIcon()->Hint());
        return Checked;
    };
    EXPECT_EQ(Marks(), (Strings{"x", "-", "29",
                                "Quelvano v1.47\nConexion de area local: Casa "
                                "(192.0.2.10)"}));
    Select("OFICINA \"2\"");
    Form->ActivateSelectedIPSet();
    EXPECT_EQ(Marks(), (Strings{"-", "x", "24",
                                "Quelvano v1.47\nConexion de area local: oficina "
                                "\"2\" (10.0.2.15)"}));
    // Changed behind the program's back: the system's watch tells, the follower's pause ends;
    // not under a message box, whose question may be about the row the tree has chosen.
    Live["Conexion de area local"] = InForce;
    Changed();
    std::string UnderTheBox;
    Application().OnMessageBox = [&](const std::string&, const std::string&, unsigned) {
        Tray.FireTimer();
        UnderTheBox = Marks()[0];
        return MsgBox::IdNo;
    };
    Form->mnuSalirClick();
    EXPECT_EQ(UnderTheBox, "-");
    Tray.FireTimer();
    EXPECT_EQ(Marks()[0], "x");
    EXPECT_EQ(View->IPSets.Text(View->IPSets.Selected()), "OFICINA \"2\"");
    Application().Title.clear();
}

} // namespace
