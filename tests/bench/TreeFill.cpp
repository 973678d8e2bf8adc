#include "TreeFill.h"

#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/TempStore.h"
#include "ipset/o_IPSetManager.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

const int Connections = 50;

void Execute(const TDBConnection& Connection, const std::string& Sql) {
    TStatement Statement(Connection, Sql);
    Statement.Step();
}

void Populate(TgtIPDBManager& Db, int Sets) {
    // One transaction, or every post would wait for the disk.
    Execute(*Db.AdoConnection(), "BEGIN");
    for (int I = 0; I < Connections; ++I)
        PostConnection(Db, "Conexion " + std::to_string(I + 1));
    const std::vector<std::string> Static = {"192.0.2.10", "255.255.255.0", "192.0.2.1",
                                             "192.0.2.53", "198.51.100.53"};
    const std::vector<std::string> Automatic(5, "0.0.0.0");
    for (int I = 0; I < Sets; ++I) {
        const bool Dhcp = I % 4 == 3;
        PostIPSet(Db, "Oficina " + std::to_string(I), I % Connections + 1, Dhcp,
                  Dhcp ? Automatic : Static);
    }
    Execute(*Db.AdoConnection(), "COMMIT");
}

} // namespace

double MedianTreeFillMilliseconds(TTreeView& Tree, int Sets, int Runs, void (*Settle)(TTreeView&)) {
    TempStore Store;
    Populate(Store.Db, Sets);
    TgtIPSetManager Manager(nullptr);
    Manager.SetIPSetDataSet(Store.Db.IPSets());
    Manager.SetConnectionsDataSet(Store.Db.ConnectionNames());
    Manager.SetIPSetTreeView(&Tree);
    std::vector<double> Times;
    for (int I = 0; I < Runs; ++I) {
        const auto Start = std::chrono::steady_clock::now();
        Manager.FillIPSetTree();
        if (Settle)
            Settle(Tree);
        const auto End = std::chrono::steady_clock::now();
        Times.push_back(std::chrono::duration<double, std::milli>(End - Start).count());
    }
    std::sort(Times.begin(), Times.end());
    return Times[Times.size() / 2];
}
