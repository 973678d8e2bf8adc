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
