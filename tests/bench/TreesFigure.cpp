// Prints the time of one IP-set tree fill into the fake tree, with 1,000 and 10,000 sets spread
// over 50 connections, as the median of a few runs. The ratio of the two shows whether the fill
// grows linearly.
#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeTree.h"
#include "fakes/TempStore.h"
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
