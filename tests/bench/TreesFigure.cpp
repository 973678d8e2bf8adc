// Prints the time of one IP-set tree fill into the fake tree, with 1,000 and 10,000 sets spread
// over 50 connections, as the median of a few runs. The ratio of the two shows whether the fill
// grows linearly.
#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeTree.h"
#include "fakes/TempFolder.h"
#include "ipset/o_IPSetManager.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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
    TDataSet* Names = Db.ConnectionNames();
    for (int I = 0; I < Connections; ++I) {
        Names->Insert();
        Names->FieldByName("CONNECTIONNAME").SetAsString("Conexion " + std::to_string(I + 1));
        Names->Post();
    }
    TDataSet* Table = Db.IPSets();
    for (int I = 0; I < Sets; ++I) {
        const bool Dhcp = I % 4 == 3;
        Table->Insert();
        Table->FieldByName("IPSET_NAME").SetAsString("Oficina " + std::to_string(I));
        Table->FieldByName("IPADDRESS").SetAsString(Dhcp ? "0.0.0.0" : "192.0.2.10");
        Table->FieldByName("SUBNETMASK").SetAsString(Dhcp ? "0.0.0.0" : "255.255.255.0");
        Table->FieldByName("GATEWAY").SetAsString(Dhcp ? "0.0.0.0" : "192.0.2.1");
        Table->FieldByName("DNS").SetAsString(Dhcp ? "0.0.0.0" : "192.0.2.53");
        Table->FieldByName("DNS2").SetAsString(Dhcp ? "0.0.0.0" : "198.51.100.53");
        Table->FieldByName("DHCP").SetAsBoolean(Dhcp);
        Table->FieldByName("CONNECTION").SetAsInteger(I % Connections + 1);
        Table->Post();
    }
    Execute(*Db.AdoConnection(), "COMMIT");
}

double MedianFillMilliseconds(int Sets, int Runs) {
    TempFolder Folder;
    const std::string File = Folder.File("trees-figure.ipdb");
    CreateEmptyDatabase(File);
    TgtIPDBManager Db(nullptr);
    Db.OpenDatabase(File);
    Populate(Db, Sets);

    FakeTree Tree;
    TgtIPSetManager Manager(nullptr);
    Manager.SetIPSetDataSet(Db.IPSets());
    Manager.SetConnectionsDataSet(Db.ConnectionNames());
    Manager.SetIPSetTreeView(&Tree);
    std::vector<double> Times;
    for (int I = 0; I < Runs; ++I) {
        const auto Start = std::chrono::steady_clock::now();
        Manager.FillIPSetTree();
        const auto End = std::chrono::steady_clock::now();
        Times.push_back(std::chrono::duration<double, std::milli>(End - Start).count());
    }
    std::sort(Times.begin(), Times.end());
    return Times[Times.size() / 2];
}

} // namespace

int main() {
    std::printf("ipset_tree_1000_ms: %.1f ms\n", MedianFillMilliseconds(1000, 5));
    std::printf("ipset_tree_10000_ms: %.1f ms\n", MedianFillMilliseconds(10000, 3));
    return 0;
}
