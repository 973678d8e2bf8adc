#pragma once

#include <optional>
#include <string>

class TDBConnection;

// The version of the schema this program writes. Version 1 adds the table UndoRecords; the two
// tables of the IP sets never change.
constexpr int SchemaVersion = 1;

// The statement that creates the table of undo records.
const char* UndoTableSql();

// Brings an older file to SchemaVersion in one transaction, adding only what it lacks; a file of
// a later version is refused and left as it is.
void MigrateSchema(TDBConnection& Connection);

// A connection's IPv4 configuration as it was before an apply changed it.
struct TUndoRecord {
    std::string Connection;
    bool Dhcp = false;
    std::string IPAddress, SubnetMask, Gateway, Dns, Dns2;
};

// Keeps the record, the only one of its connection, as the one applied last.
void SaveUndoRecord(TDBConnection& Connection, const TUndoRecord& Record);

// The record of the connection (of the connection applied last when Name is empty); none when
// nothing is recorded for it.
std::optional<TUndoRecord> FindUndoRecord(TDBConnection& Connection, const std::string& Name);
