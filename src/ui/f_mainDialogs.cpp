// The main window's commands that open a dialog.
#include "ui/f_main.h"

#include "base/TApplication.h"
#include "data/o_DatabaseConnection.h"
#include "ipset/o_IPSetManager.h"
#include "ui/HelpPage.h"
#include "ui/f_IPSet.h"
#include "ui/frmAcercaDeUnit.h"
#include "ui/frmOpcionesUnit.h"
#include "ui/frmWizardUnit.h"

#include <memory>

namespace {

// An editor over the shared tables, owned by the window while it lives.
std::unique_ptr<TFrmIPSet> MakeEditor(TFrmMain* Owner) {
    TgtIPDBManager& Db = *GetIPDBManager();
    auto Editor = std::make_unique<TFrmIPSet>(Owner);
    Editor->SetIPSetsTable(Db.IPSets());
    Editor->SetConnectionsTable(Db.ConnectionNames());
    Editor->SetDatabase(Db.AdoConnection());
    return Editor;
}

} // namespace

// The tray menu is the one way in while a dialog holds the window: a second dialog, an apply over
// the row being edited, or leaving the program under the dialog would all go wrong.
int TFrmMain::ShowDialog(TForm& Dialog) {
    const TApplication::TModalScope Modal(Application());
    SetTrayMenuEnabled(false);
    try {
        const int Result = Dialog.ShowModal();
        SetTrayMenuEnabled(true);
        return Result;
    } catch (...) {
        SetTrayMenuEnabled(true);
        throw;
    }
}

void TFrmMain::SetTrayMenuEnabled(bool Value) {
    TMenuItem& Items = TrayIconMenu.Items();
    for (int I = 0; I < Items.Count(); ++I)
        Items.Items(I)->Enabled = Value;
    if (Value)
        UpdateUndo();
}

void TFrmMain::AddNewIPConfigurationSet1Click() {
    const auto Editor = MakeEditor(this);
    Editor->PrepareNew();
    Editor->SetCaption("Agregar nueva IP");
    if (ShowDialog(*Editor) == mrOK)
        TablesChanged();
}

void TFrmMain::EditSelectedIPSet() {
    if (!LocateSelection())
        return;
    const auto Editor = MakeEditor(this);
    Editor->LoadForEdit();
    Editor->SetCaption("Editar la Configuracion IP");
    // The new name shows in the tray submenu too, not only in the tree.
    if (ShowDialog(*Editor) == mrOK)
        TablesChanged();
}

void TFrmMain::RunWizard() {
    TgtIPDBManager& Db = *GetIPDBManager();
    const auto Wizard = std::make_unique<TfrmWizard>(this);
    Wizard->SetIPSetsTable(Db.IPSets());
    Wizard->SetConnectionsTable(Db.ConnectionNames());
    Wizard->dsIPSets()->Insert();
    if (ShowDialog(*Wizard) == mrOK)
        TablesChanged();
}

// Nothing is refreshed afterwards: the options touch no table.
void TFrmMain::ShowOptions() {
    TfrmOpciones Options(this);
    ShowDialog(Options);
}

void TFrmMain::ShowAboutBox() {
    TfrmAcercaDe About(this);
    ShowDialog(About);
}

// Our HTML page rather than an old-style help file, which current systems cannot open.
void TFrmMain::Help() {
    OpenHelpPage();
}
