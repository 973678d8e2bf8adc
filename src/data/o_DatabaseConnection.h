#pragma once

#include "base/TComponent.h"
#include "data/DBConnection.h"
#include "data/SqlTable.h"

#include <string>

// The shared database component: the connection to the IP-set file and the two table objects.
class TgtIPDBManager : public TComponent {
public:
    explicit TgtIPDBManager(TComponent* AOwner);
    ~TgtIPDBManager() override;

    TDBConnection* AdoConnection() const { return FConnection; }
    TDataSet* IPSets() const { return FIPSets; }
    TDataSet* ConnectionNames() const { return FConnectionNames; }

    // Opens the program's database file (DatabaseFileName in GlobalUnit) and both tables.
    void OpenDatabase();
    // The same on a file of the caller's choosing.
    void OpenDatabase(const std::string& FileName);

private:
    TDBConnection* FConnection;
    TSqlTable* FIPSets;
    TSqlTable* FConnectionNames;
};

// The one shared manager, created on first use and owned by the application object.
TgtIPDBManager* GetIPDBManager();
