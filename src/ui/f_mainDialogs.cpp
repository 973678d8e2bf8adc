#include "ui/f_main.h"

#include "data/o_DatabaseConnection.h"
#include "ipset/o_IPSetManager.h"
#include "ui/frmWizardUnit.h"

#include <memory>

void TFrmMain::AddNewIPConfigurationSet1Click() {}
void TFrmMain::EditSelectedIPSet() {}
void TFrmMain::ShowOptions() {}
void TFrmMain::ShowAboutBox() {}
void TFrmMain::Help() {}

void TFrmMain::RunWizard() {
    TgtIPDBManager& Db = *GetIPDBManager();
    const auto Wizard = std::make_unique<TfrmWizard>(this);
    Wizard->SetIPSetsTable(Db.IPSets());
    Wizard->SetConnectionsTable(Db.ConnectionNames());
    Wizard->dsIPSets()->Insert();
    if (Wizard->ShowModal() == mrOK)
        TablesChanged();
}
