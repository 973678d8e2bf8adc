#pragma once

#include "data/DBConnection.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/TempFolder.h"

#include <string>
#include <vector>

// A fresh, empty database of ours in a temporary folder, opened with both tables.
struct TempStore {
    TempStore() {
        CreateEmptyDatabase(FileName);
        Db.OpenDatabase(FileName);
    }

    TempFolder Folder;
    std::string FileName = Folder.File("quelvano.ipdb");
    TgtIPDBManager Db{nullptr};
};

// The values of one column, row by row in the table's order.
inline std::vector<std::string> ColumnValues(TDataSet& Table, const std::string& Column) {
    std::vector<std::string> Values;
    for (Table.First(); !Table.Eof(); Table.Next())
        Values.push_back(Table.FieldByName(Column).AsString());
    return Values;
}

// Posts a connection and returns its ID.
inline int PostConnection(TgtIPDBManager& Db, const std::string& Name) {
    TDataSet& T = *Db.ConnectionNames();
    T.Insert();
    T.FieldByName("CONNECTIONNAME").SetAsString(Name);
    T.Post();
    return T.FieldByName("ID").AsInteger();
}

// Posts an IP set and returns its ID. Addresses go to IPADDRESS, SUBNETMASK, GATEWAY, DNS and
// DNS2 in that order; an empty text leaves its column unset.
inline int PostIPSet(TgtIPDBManager& Db, const std::string& Name, int Connection, bool Dhcp,
                     const std::vector<std::string>& Addresses) {
    static const char* const Columns[] = {"IPADDRESS", "SUBNETMASK", "GATEWAY", "DNS", "DNS2"};
    TDataSet& T = *Db.IPSets();
    T.Insert();
    T.FieldByName("IPSET_NAME").SetAsString(Name);
    for (std::size_t I = 0; I < Addresses.size() && I < 5; ++I)
        if (!Addresses[I].empty())
            T.FieldByName(Columns[I]).SetAsString(Addresses[I]);
    T.FieldByName("DHCP").SetAsBoolean(Dhcp);
    T.FieldByName("CONNECTION").SetAsInteger(Connection);
    T.Post();
    return T.FieldByName("ID").AsInteger();
}
