#include "data/Schema.h"

#include "data/ExtrasStore.h"
#include "data/Migration.h"
#include "data/UndoStore.h"

namespace {

char AsciiUpper(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

TColumnDef Key() {
    return {"ID", TColumnType::ctAutoNumber, 0, false, 0};
}

TColumnDef Text(const std::string& Name, int Size, bool AllowZeroLength) {
    return {Name, TColumnType::ctText, Size, AllowZeroLength, 0};
}

// Every rule is a CHECK as well, so a file changed by other tools cannot hold what the program
// would refuse.
std::string ColumnSql(const TColumnDef& C) {
    const std::string& N = C.Name;
    switch (C.Type) {
    case TColumnType::ctAutoNumber:
        return N + " INTEGER PRIMARY KEY AUTOINCREMENT";
    case TColumnType::ctInteger:
        return N + " INTEGER DEFAULT " + std::to_string(C.DefaultValue) + " CHECK (typeof(" + N +
               ") IN ('integer', 'null'))";
    case TColumnType::ctBoolean:
        return N + " INTEGER NOT NULL DEFAULT " + std::to_string(C.DefaultValue) + " CHECK (" + N +
               " IN (0, 1))";
    case TColumnType::ctText: {
        std::string Sql = N + " TEXT CHECK (typeof(" + N + ") IN ('text', 'null')) CHECK (length(" +
                          N + ") <= " + std::to_string(C.Size) + ")";
        if (!C.AllowZeroLength)
            Sql += " CHECK (length(" + N + ") > 0)";
        return Sql;
    }
    }
    return N;
}

std::string TableSql(const TTableDef& T) {
    std::string Sql = "CREATE TABLE " + T.Name + " (";
    for (std::size_t I = 0; I < T.Columns.size(); ++I) {
        if (I > 0)
            Sql += ", ";
        Sql += ColumnSql(T.Columns[I]);
    }
    return Sql + ");\n";
}

// Every field read looks its column up by name, so the comparison copies nothing.
bool SameTextAscii(const std::string& A, const std::string& B) {
    if (A.size() != B.size())
        return false;
    for (std::size_t I = 0; I < A.size(); ++I)
        if (AsciiUpper(A[I]) != AsciiUpper(B[I]))
            return false;
    return true;
}

} // namespace

const TTableDef& IPSetsTable() {
    static const TTableDef Def{"IPSets",
                               {Key(),
                                Text("IPSet_Name", 50, false),
                                Text("IPAddress", 20, false),
                                Text("SubNetMask", 20, false),
                                Text("Gateway", 20, false),
                                Text("Dns", 20, false),
                                {"DHCP", TColumnType::ctBoolean, 0, false, 0},
                                {"Connection", TColumnType::ctInteger, 0, false, 0},
                                Text("Dns2", 20, true)}};
    return Def;
}

const TTableDef& ConnectionsTable() {
    static const TTableDef Def{
        "Connections", {Key(), Text("ConnectionName", 100, false), Text("Description", 50, true)}};
    return Def;
}

std::string CreateSchemaSql() {
    return TableSql(IPSetsTable()) + TableSql(ConnectionsTable()) + UndoTableSql() + ";" +
           ExtrasTableSql() + ";" + "PRAGMA user_version = " + std::to_string(SchemaVersion) + ";";
}

int FindColumn(const TTableDef& Table, const std::string& Name) {
    for (std::size_t I = 0; I < Table.Columns.size(); ++I)
        if (SameTextAscii(Table.Columns[I].Name, Name))
            return static_cast<int>(I);
    return -1;
}
