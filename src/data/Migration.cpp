#include "data/Migration.h"

#include "base/Exception.h"
#include "data/DBConnection.h"
#include "data/ExtrasStore.h"
#include "data/UndoStore.h"

#include <sqlite3.h>

namespace {

int UserVersion(const TDBConnection& Connection) {
    TStatement Version(Connection, "PRAGMA user_version");
    return Version.Step() ? static_cast<int>(Version.ColumnInteger(0)) : 0;
}

void Execute(TDBConnection& Connection, const std::string& Sql) {
    if (sqlite3_exec(Connection.Handle(), Sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Connection.RaiseLastError("No se pudo actualizar el archivo de base de datos \"" +
                                  Connection.FileName() + "\".");
}

} // namespace

void MigrateSchema(TDBConnection& Connection) {
    const int Version = UserVersion(Connection);
    if (Version > SchemaVersion)
        throw Exception("El archivo de base de datos \"" + Connection.FileName() +
                        "\" es de una version posterior de Quelvano (esquema " +
                        std::to_string(Version) + ") y esta version no puede abrirlo.");
    if (Version == SchemaVersion)
        return;
    TTransaction Change(Connection);
    if (Version < 1)
        Execute(Connection, UndoTableSql());
    if (Version < 2)
        Execute(Connection, ExtrasTableSql());
    Execute(Connection, "PRAGMA user_version = " + std::to_string(SchemaVersion));
    Change.Commit();
}
