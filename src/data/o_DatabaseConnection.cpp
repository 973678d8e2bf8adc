#include "data/o_DatabaseConnection.h"

#include "base/TApplication.h"
#include "data/Migration.h"
#include "data/Schema.h"
#include "shell/GlobalUnit.h"

TgtIPDBManager::TgtIPDBManager(TComponent* AOwner)
    : TComponent(AOwner), FConnection(new TDBConnection(this)),
      FIPSets(new TSqlTable(this, IPSetsTable())),
      FConnectionNames(new TSqlTable(this, ConnectionsTable())) {
    FIPSets->SetConnection(FConnection);
    FConnectionNames->SetConnection(FConnection);
}

TgtIPDBManager::~TgtIPDBManager() {
    FIPSets->Close();
    FConnectionNames->Close();
    FConnection->Close();
}

void TgtIPDBManager::OpenDatabase() {
    OpenDatabase(DatabaseFileName());
}

void TgtIPDBManager::OpenDatabase(const std::string& FileName) {
    FIPSets->Close();
    FConnectionNames->Close();
    FConnection->Open(FileName);
    try {
        FIPSets->Open();
        FConnectionNames->Open();
        // Only a file with both tables is ours to bring up to date.
        MigrateSchema(*FConnection);
    } catch (...) {
        FIPSets->Close();
        FConnectionNames->Close();
        FConnection->Close();
        throw;
    }
}

TgtIPDBManager* GetIPDBManager() {
    return Application().SingleInstance<TgtIPDBManager>();
}
