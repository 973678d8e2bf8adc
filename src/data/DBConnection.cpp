#include "data/DBConnection.h"

#include "base/DurableFile.h"
#include "base/Exception.h"
#include "data/Schema.h"

#include <sqlite3.h>

#include <cstring>

namespace {

// The window program and the console program share the file: a write that finds the other one
// writing waits this long before it gives up.
const int BusyTimeoutMs = 5000;

std::string Quoted(const std::string& FileName) {
    return "\"" + FileName + "\"";
}

} // namespace

TDBConnection::~TDBConnection() {
    Close();
}

// Looks at the header before the engine does: the engine would report every foreign file as the
// same puzzling "not a database".
void TDBConnection::CheckFileFormat(const std::string& FileName) const {
    const std::optional<std::string> Header = ReadFileBytes(FileName, 100);
    if (!Header)
        throw Exception("No se puede abrir el archivo de base de datos " + Quoted(FileName) +
                        ": el archivo no existe o no se puede leer.");
    const std::size_t Got = Header->size();
    if (Got == 0)
        throw Exception("El archivo de base de datos " + Quoted(FileName) + " esta vacio.");
    if (Got >= 19 && std::memcmp(Header->data() + 4, "Standard Jet DB", 15) == 0)
        throw Exception("El archivo de base de datos " + Quoted(FileName) +
                        " tiene el formato Jet de versiones anteriores, que esta version no "
                        "puede abrir.");
    if (Got < 100 || std::memcmp(Header->data(), "SQLite format 3", 16) != 0)
        throw Exception("El archivo " + Quoted(FileName) + " no es una base de datos de Quelvano.");
}

void TDBConnection::CheckIntegrity() {
    TStatement Check(*this, "PRAGMA quick_check");
    if (!Check.Step() || Check.ColumnText(0) != "ok")
        throw Exception("El archivo de base de datos " + Quoted(FFileName) + " esta danado.");
}

void TDBConnection::Open(const std::string& FileName) {
    Close();
    NewReadEpoch();
    CheckFileFormat(FileName);
    sqlite3* Db = nullptr;
    const int Rc = sqlite3_open_v2(FileName.c_str(), &Db, SQLITE_OPEN_READWRITE, nullptr);
    if (Rc != SQLITE_OK) {
        const std::string Reason = Db ? sqlite3_errmsg(Db) : sqlite3_errstr(Rc);
        sqlite3_close(Db);
        throw Exception("No se puede abrir el archivo de base de datos " + Quoted(FileName) + ": " +
                        Reason + ".");
    }
    FDb = Db;
    FFileName = FileName;
    sqlite3_extended_result_codes(FDb, 1);
    sqlite3_busy_timeout(FDb, BusyTimeoutMs);
    try {
        CheckIntegrity();
    } catch (const std::exception&) {
        // A truncated or scrambled file may also fail while it is being checked.
        Close();
        throw Exception("El archivo de base de datos " + Quoted(FileName) + " esta danado.");
    }
}

void TDBConnection::Close() {
    NewReadEpoch();
    if (FDb)
        sqlite3_close_v2(FDb);
    FDb = nullptr;
}

std::int64_t TDBConnection::LastInsertId() const {
    return FDb ? sqlite3_last_insert_rowid(FDb) : 0;
}

std::int64_t TDBConnection::Changes() const {
    return sqlite3_changes(FDb);
}

void TDBConnection::RaiseLastError(const std::string& Context) const {
    throw Exception(Context + (FDb ? sqlite3_errmsg(FDb) : "la base de datos no esta abierta") +
                    ".");
}

TTransaction::TTransaction(TDBConnection& Connection) : FConnection(Connection) {
    TStatement(FConnection, "BEGIN IMMEDIATE").Step();
    FOpen = true;
}

TTransaction::~TTransaction() {
    if (FOpen && FConnection.Connected())
        sqlite3_exec(FConnection.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void TTransaction::Commit() {
    TStatement(FConnection, "COMMIT").Step();
    FOpen = false;
}

void CreateEmptyDatabase(const std::string& FileName) {
    if (ReadFileBytes(FileName, 0))
        throw Exception("El archivo " + Quoted(FileName) + " ya existe.");
    sqlite3* Db = nullptr;
    int Rc =
        sqlite3_open_v2(FileName.c_str(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (Rc == SQLITE_OK) {
        const std::string Sql = "PRAGMA page_size = 4096;\n" + CreateSchemaSql();
        Rc = sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr);
    }
    const std::string Reason = Db ? sqlite3_errmsg(Db) : sqlite3_errstr(Rc);
    sqlite3_close(Db);
    if (Rc != SQLITE_OK)
        throw Exception("No se puede crear el archivo " + Quoted(FileName) + ": " + Reason + ".");
}

TStatement::TStatement(const TDBConnection& Connection, const std::string& Sql)
    : FConnection(Connection), FDb(Connection.Handle()) {
    if (!Connection.Connected())
        throw Exception("La base de datos no esta abierta.");
    if (sqlite3_prepare_v2(Connection.Handle(), Sql.c_str(), -1, &FStmt, nullptr) != SQLITE_OK)
        Connection.RaiseLastError("Error en la base de datos " + Quoted(Connection.FileName()) +
                                  ": ");
}

TStatement::~TStatement() {
    sqlite3_finalize(FStmt);
}

void TStatement::BindNull(int Index) {
    sqlite3_bind_null(FStmt, Index);
}

void TStatement::BindInteger(int Index, std::int64_t Value) {
    sqlite3_bind_int64(FStmt, Index, Value);
}

void TStatement::BindText(int Index, const std::string& Value) {
    sqlite3_bind_text(FStmt, Index, Value.data(), static_cast<int>(Value.size()), SQLITE_TRANSIENT);
}

bool TStatement::Step() {
    const int Rc = sqlite3_step(FStmt);
    if (Rc == SQLITE_ROW)
        return true;
    if (Rc == SQLITE_DONE)
        return false;
    FConnection.RaiseLastError("Error en la base de datos " + Quoted(FConnection.FileName()) +
                               ": ");
}

void TStatement::Reset() {
    sqlite3_reset(FStmt); // its result repeats the failure that the last step has raised
}

// The handle cannot be reused by a new connection while this statement lives: closing a
// connection that still has statements leaves it in being until the last one is finalized.
bool TStatement::Stale() const {
    return FConnection.Handle() != FDb;
}

bool TStatement::ColumnIsNull(int Index) const {
    return sqlite3_column_type(FStmt, Index) == SQLITE_NULL;
}

std::int64_t TStatement::ColumnInteger(int Index) const {
    return sqlite3_column_int64(FStmt, Index);
}

std::string TStatement::ColumnText(int Index) const {
    const auto* Text = sqlite3_column_text(FStmt, Index);
    const int Size = sqlite3_column_bytes(FStmt, Index);
    return Text ? std::string(reinterpret_cast<const char*>(Text), static_cast<std::size_t>(Size))
                : std::string();
}
