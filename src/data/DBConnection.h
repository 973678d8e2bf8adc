#pragma once

#include "base/TComponent.h"

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// The connection to one database file. Opening refuses, with a message that names the file and
// the cause, anything that is not one of our databases, and leaves such a file untouched.
class TDBConnection : public TComponent {
public:
    using TComponent::TComponent;
    ~TDBConnection() override;

    void Open(const std::string& FileName);
    void Close();
    bool Connected() const { return FDb != nullptr; }
    const std::string& FileName() const { return FFileName; }
    sqlite3* Handle() const { return FDb; }
    std::int64_t LastInsertId() const;
    // The rows that the last insert, update or delete through the connection changed.
    std::int64_t Changes() const;

    // Advances whenever the file may hold other than what the table objects last read from it:
    // when the connection opens or closes, on every write through a table object and whenever
    // one re-reads its rows.
    std::uint64_t ReadEpoch() const { return FReadEpoch; }
    void NewReadEpoch() { ++FReadEpoch; }

    // Raises an Exception with the store's message of the last failure, after Context.
    [[noreturn]] void RaiseLastError(const std::string& Context) const;

private:
    void CheckFileFormat(const std::string& FileName) const;
    void CheckIntegrity();

    sqlite3* FDb = nullptr;
    std::string FFileName;
    std::uint64_t FReadEpoch = 0;
};

// Everything written through the connection while it lives is one change, kept by Commit and
// undone when it is left without one. It starts by taking the write lock, waiting for it as every
// write does, so it never fails half-way because another program writes.
class TTransaction {
public:
    explicit TTransaction(TDBConnection& Connection);
    ~TTransaction();
    TTransaction(const TTransaction&) = delete;
    TTransaction& operator=(const TTransaction&) = delete;

    void Commit();

private:
    TDBConnection& FConnection;
    bool FOpen = false;
};

// Creates a new file holding both tables, empty; raises when the file exists or can't be written.
void CreateEmptyDatabase(const std::string& FileName);

// One prepared statement, finalized when it goes out of scope. A statement kept for reuse is reset
// between uses: one left part-way through its rows keeps a read open, and with it the file's
// shared lock that every other writer waits for.
class TStatement {
public:
    TStatement(const TDBConnection& Connection, const std::string& Sql);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    void BindNull(int Index);
    void BindInteger(int Index, std::int64_t Value);
    void BindText(int Index, const std::string& Value);

    bool Step();  // true while a row is available; raises on failure
    void Reset(); // back to before the first step, the bound values kept
    // True once the connection has been closed or opened again since the statement was prepared.
    bool Stale() const;

    bool ColumnIsNull(int Index) const;
    std::int64_t ColumnInteger(int Index) const;
    std::string ColumnText(int Index) const;

private:
    const TDBConnection& FConnection;
    sqlite3* FDb;
    sqlite3_stmt* FStmt = nullptr;
};
