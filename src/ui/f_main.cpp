#include "ui/f_main.h"

#include "adapters/o_AdapterInformation.h"
#include "base/Exception.h"
#include "base/StartTrace.h"
#include "base/TApplication.h"
#include "base/TextUtils.h"
#include "connections/o_SystemConnections.h"
#include "data/o_DatabaseConnection.h"
#include "ipset/o_IPSetManager.h"
#include "shell/GlobalUnit.h"

#include <set>

TFrmMain* FrmMain = nullptr;

const char* const TFrmMain::MainCaption = "Quelvano v1.47 build 351";

namespace {

const char* const FirstMinimizeHint = "Para restaurar la pantalla de la aplicacion haga doble\r"
                                      "click sobre el icono, tambien puede acceder a las\r"
                                      "funciones de la aplicacion haciendo click derecho\r"
                                      "sobre este icono.";

TMenuItem* AddItem(TMenuItem& Parent, const std::string& Caption, const std::string& ShortCut,
                   std::function<void()> Command) {
    TMenuItem* Item = Parent.Add(Caption);
    Item->ShortCut = ShortCut;
    Item->OnClick = [Command = std::move(Command)](TComponent*) { Command(); };
    return Item;
}

} // namespace

TFrmMain::TFrmMain(TComponent* AOwner, TTrayServices TrayServices) : TComponent(AOwner) {
    try {
        Construct(TrayServices);
    } catch (...) {
        // The destructor won't run: let go of the icon and the trees' manager here.
        FreeComponents();
        throw;
    }
}

TFrmMain::~TFrmMain() {
    FreeComponents();
    if (FrmMain == this)
        FrmMain = nullptr;
}

// Freed before the view and the menus they point to.
void TFrmMain::FreeComponents() {
    FWatch.reset();
    delete FIPSetManager;
    FIPSetManager = nullptr;
    delete FTrayIcon;
    FTrayIcon = nullptr;
}

void TFrmMain::Construct(TTrayServices TrayServices) {
    // What the form's description holds: the controls, the menus and the tray icon.
    BuildMenus();
    if (ViewFactory)
        FView = ViewFactory(*this);
    if (FView)
        FView->SetCaption(MainCaption);
    StartTrace("view");
    FTrayIcon = new TTrayIcon(this, TrayServices);
    FTrayIcon->SetBalloonFlags(bfInfo);
    FTrayIcon->SetPopupMenu(&TrayIconMenu);
    FTrayIcon->OnDblClick = [this](TComponent*) { TornibelTrayIconDblClick(); };

    if (nbPaginas != nullptr)
        nbPaginas->SetPageIndex(0);
    AdapterManager()->RefreshAdapters();
    StartTrace("adapters");
    TgtIPDBManager& Db = *GetIPDBManager();
    Db.OpenDatabase();
    StartTrace("database");

    FIPSetManager = new TgtIPSetManager(this);
    FIPSetManager->SetIPSetDataSet(Db.IPSets());
    FIPSetManager->SetConnectionsDataSet(Db.ConnectionNames());
    FIPSetManager->SetDatabase(Db.AdoConnection());
    FIPSetManager->SetIPSetTreeView(tvConfiguracionesIP);
    FIPSetManager->SetAdapterTreeview(tvAdaptadoresRed);
    FIPSetManager->SetTrayIcon(FTrayIcon);
    FIPSetManager->SetDatabase(Db.AdoConnection());
    FIPSetManager->AddListener(&FWaitBoxListener);
    FIPSetManager->OnSetsInForceChanged = [this] { SetsInForceChanged(); };
    FIPSetManager->FillIPSetTree();
    // The adapters were read a moment ago, for this tree and for the discovery.
    FIPSetManager->ShowAdapters();
    BuildApplyMenu();
    UpdateUndo();
    StartTrace("trees");
    FFollower = std::make_unique<TNetworkFollower>(
        TrayServices.App.CreateTimer(),
        [this] { return FIPSetManager->Applying() || Application().ModalLevel() > 0; },
        [this] { Refresh(); });
    if (WatchFactory)
        FWatch = WatchFactory([this] { FFollower->Changed(); });
    if (FView)
        FView->AfterFirstPaint([this] { ShowTrayIcon(); });
    else
        ShowTrayIcon();
}

// The shell's round trip for the icon waits for the window's first paint; the discovery follows
// the icon, so that its balloons have an icon to come from.
void TFrmMain::ShowTrayIcon() {
    FTrayIcon->SetVisible(true);
    TgtIPDBManager& Db = *GetIPDBManager();
    TgtIPSystemConnections& Connections = *GetIPSystemConnections();
    Connections.SetIPSetDataSet(Db.IPSets());
    Connections.SetConnectionsDataSet(Db.ConnectionNames());
    Connections.SetTrayIcon(FTrayIcon);
    const int Known = Db.ConnectionNames()->RecordCount();
    Connections.UpdateConnections();
    // A set may name a connection only now in the table.
    if (Db.ConnectionNames()->RecordCount() != Known)
        FIPSetManager->UpdateIPSetTree();
    StartTrace("tray");
}

void TFrmMain::BuildMenus() {
    TMenuItem& Pop = TreeViewPopUpMenu.Items();
    pmActivarConfigIP = AddItem(Pop, "Activar", "Ctrl+A", [this] { ActivateSelectedIPSet(); });
    Pop.Add("-");
    pmAgregarConfigIP = AddItem(Pop, "Agregar configuracion IP", "Ins",
                                [this] { AddNewIPConfigurationSet1Click(); });
    pmEditarConfigIP =
        AddItem(Pop, "Editar la configuracion IP", "Ctrl+E", [this] { EditSelectedIPSet(); });
    pmEliminarConfigIP =
        AddItem(Pop, "Eliminar la configuracion IP", "Ctrl+D", [this] { DeleteSelectedIPSet(); });
    Pop.Add("-");
    mnuRefrescar = AddItem(Pop, "Refrescar", "", [this] { Refresh(); });

    TMenuItem& Tray = TrayIconMenu.Items();
    AddItem(Tray, "Acerca de...", "", [this] { ShowAboutBox(); })->Default = true;
    Tray.Add("-");
    AddItem(Tray, "Agregar configuracion IP", "", [this] { AddNewIPConfigurationSet1Click(); });
    Tray.Add("-");
    UndoLastChange1 = AddItem(Tray, "Deshacer ultimo cambio", "", [this] { UndoLastChange(); });
    ApplyIPSet1 = Tray.Add("Aplicar configuracion IP");
    Tray.Add("-");
    AddItem(Tray, "Salir", "", [this] { mnuSalirClick(); });
}

void TFrmMain::BuildApplyMenu() {
    ApplyIPSet1->Clear();
    TDataSet& Sets = *GetIPDBManager()->IPSets();
    for (Sets.First(); !Sets.Eof(); Sets.Next()) {
        TMenuItem* Item = ApplyIPSet1->Add(Sets.FieldByName("IPSET_NAME").AsString());
        Item->SetTag(Sets.FieldByName("ID").AsInteger());
        Item->ImageIndex = IPSetPicture;
        Item->Checked = FIPSetManager->SetsInForce().count(static_cast<int>(Item->Tag())) != 0;
        Item->OnClick = [this](TComponent* Sender) { ApplyMenuItemClick(Sender); };
    }
    Sets.First();
}

void TFrmMain::ApplyMenuItemClick(TComponent* Sender) {
    FSelectedIPSetID = static_cast<int>(Sender->Tag());
    FIPSetManager->ApplyIPSet(FSelectedIPSetID);
    UpdateUndo();
}

void TFrmMain::UndoLastChange() {
    FIPSetManager->UndoLastChange(std::string());
    UpdateUndo();
}

void TFrmMain::UpdateUndo() {
    const bool Recorded = FIPSetManager->CanUndo();
    UndoLastChange1->Enabled = Recorded;
    if (mnuDeshacer != nullptr)
        mnuDeshacer->SetEnabled(Recorded);
}

bool TFrmMain::ResolveSelection() {
    const HTreeNode Node = tvConfiguracionesIP != nullptr ? tvConfiguracionesIP->Selected() : 0;
    if (Node == 0)
        return false;
    FSelectedIPSetID = static_cast<int>(tvConfiguracionesIP->Data(Node));
    return FSelectedIPSetID > 0;
}

bool TFrmMain::LocateSelection() {
    if (!ResolveSelection())
        return false;
    // The tree still shows a set that another program has deleted since it was filled.
    if (!GetIPDBManager()->IPSets()->Locate("ID", FSelectedIPSetID))
        throw Exception(RowGoneMessage);
    return true;
}

void TFrmMain::ActivateSelectedIPSet() {
    if (!ResolveSelection())
        return;
    FIPSetManager->ApplyIPSet(FSelectedIPSetID);
    UpdateUndo();
}

void TFrmMain::DeleteSelectedIPSet() {
    if (!LocateSelection())
        return;
    const int Answer = Application().MessageBox(
        "¿Estas seguro que deseas eliminar la Configuracion IP...?", "Quelvano",
        MsgBox::YesNo | MsgBox::IconQuestion | MsgBox::DefButton2);
    if (Answer != MsgBox::IdYes)
        return;
    GetIPDBManager()->IPSets()->Delete();
    TablesChanged();
}

void TFrmMain::TablesChanged() {
    FIPSetManager->RefreshTrees();
    BuildApplyMenu();
}

// The tray's menu marks the sets in force, and its tooltip names them under the title: one line
// per connection.
void TFrmMain::SetsInForceChanged() {
    for (int I = 0; ApplyIPSet1 != nullptr && I < ApplyIPSet1->Count(); ++I)
        ApplyIPSet1->Items(I)->Checked =
            FIPSetManager->SetsInForce().count(static_cast<int>(ApplyIPSet1->Items(I)->Tag())) != 0;
    std::string Hint = Application().Title;
    std::set<std::string> Connections;
    for (const auto& Set : FIPSetManager->SetsInForce()) {
        const std::string Connection = Set.second.substr(0, Set.second.find(": "));
        if (Connections.insert(Connection).second)
            Hint += "\n" + Set.second;
    }
    FTrayIcon->SetHint(Utf8CutAtLineEnd(Hint, TrayTipLength, '\n'));
}

// Also what quelvanoctl has recorded meanwhile.
void TFrmMain::Refresh() {
    FIPSetManager->RefreshTrees();
    UpdateUndo();
}

void TFrmMain::Exit1Click() {
    if (FView)
        FView->Close();
}

void TFrmMain::mnuSalirClick() {
    const int Answer =
        Application().MessageBox("¿Desea salir de la aplicacion...?", "Salir",
                                 MsgBox::YesNo | MsgBox::IconQuestion | MsgBox::DefButton2);
    if (Answer == MsgBox::IdYes)
        Exit1Click();
}

void TFrmMain::tsPaginasChange(int NewTab) {
    if (nbPaginas != nullptr)
        nbPaginas->SetPageIndex(NewTab);
    if (NewTab == FPageIndex)
        return;
    FPageIndex = NewTab;
    nbPaginasPageChanged();
}

void TFrmMain::nbPaginasPageChanged() {
    for (TControl* Button :
         {btnActivarConfIP, btnAgregarConfIP, btnEditarConfIP, btnEliminarConfIP})
        if (Button != nullptr)
            Button->SetEnabled(FPageIndex == 0);
}

void TFrmMain::tvConfiguracionesIPContextPopup(HTreeNode NodeUnderMouse) {
    if (NodeUnderMouse != 0 && tvConfiguracionesIP != nullptr)
        tvConfiguracionesIP->SetSelected(NodeUnderMouse);
}

void TFrmMain::TreeViewPopUpMenuPopup() {
    const HTreeNode Node = tvConfiguracionesIP != nullptr ? tvConfiguracionesIP->Selected() : 0;
    const bool Chosen = Node != 0;
    if (Chosen) {
        TTreeView& Tree = *tvConfiguracionesIP;
        const HTreeNode Top = Tree.Level(Node) == 0 ? Node : Tree.Parent(Node);
        pmActivarConfigIP->Caption = "Activar \"" + Tree.Text(Top) + "\"";
    } else {
        pmActivarConfigIP->Caption = "Activar";
    }
    for (TMenuItem* Item : {pmActivarConfigIP, pmEditarConfigIP, pmEliminarConfigIP})
        Item->Enabled = Chosen;
}

void TFrmMain::TornibelTrayIconDblClick() {
    if (FView)
        FView->Restore();
}

void TFrmMain::ApplicationEvents1Minimize() {
    if (FView)
        FView->HideTaskbarButton();
    if (!FFirstMinimize)
        return;
    FFirstMinimize = false;
    FTrayIcon->SetBalloonTitle("Quelvano v1.47");
    FTrayIcon->SetBalloonHint(FirstMinimizeHint);
    FTrayIcon->ShowBalloonHint();
}

void TFrmMain::ApplicationEvents1Activate() {
    if (!FFirstActivate)
        return;
    FFirstActivate = false;
    if (ReadSetting(StartMinimizedName) == "1" && FView)
        FView->Minimize();
}
