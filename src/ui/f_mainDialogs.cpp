// The main window's commands that open a dialog.
#include "ui/f_main.h"

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
    return Editor;
}

} // namespace

void TFrmMain::AddNewIPConfigurationSet1Click() {
    const auto Editor = MakeEditor(this);
    Editor->PrepareNew();
    Editor->SetCaption("Agregar nueva IP");
    if (Editor->ShowModal() == mrOK)
        TablesChanged();
}

void TFrmMain::EditSelectedIPSet() {
    if (!LocateSelection())
        return;
    const auto Editor = MakeEditor(this);
    Editor->LoadForEdit();
    Editor->SetCaption("Editar la Configuracion IP");
    // The new name shows in the tray submenu too, not only in the tree.
    if (Editor->ShowModal() == mrOK)
        TablesChanged();
}

void TFrmMain::RunWizard() {
    TgtIPDBManager& Db = *GetIPDBManager();
    const auto Wizard = std::make_unique<TfrmWizard>(this);
    Wizard->SetIPSetsTable(Db.IPSets());
    Wizard->SetConnectionsTable(Db.ConnectionNames());
    Wizard->dsIPSets()->Insert();
    if (Wizard->ShowModal() == mrOK)
        TablesChanged();
}

// Nothing is refreshed afterwards: the options touch no table.
void TFrmMain::ShowOptions() {
    TfrmOpciones(this).ShowModal();
}

void TFrmMain::ShowAboutBox() {
    TfrmAcercaDe(this).ShowModal();
}

// Our HTML page rather than an old-style help file, which current systems cannot open.
void TFrmMain::Help() {
    OpenHelpPage();
}
