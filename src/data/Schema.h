#pragma once

#include <string>
#include <vector>

enum class TColumnType { ctAutoNumber, ctInteger, ctText, ctBoolean };

// One column as the store keeps it. The same description builds the file's tables and checks every
// value written through a table object, so the two can never disagree.
struct TColumnDef {
    std::string Name;
    TColumnType Type;
    int Size;             // characters, for text columns
    bool AllowZeroLength; // text columns only
    int DefaultValue;     // integer and boolean columns; a new row starts with it
};

struct TTableDef {
    std::string Name;
    std::vector<TColumnDef> Columns;
};

const TTableDef& IPSetsTable();
const TTableDef& ConnectionsTable();

// The statements that create both tables and the undo records of the current schema version in an
// empty file.
std::string CreateSchemaSql();

// Index of the column named Name, ignoring letter case, or -1.
int FindColumn(const TTableDef& Table, const std::string& Name);
