#pragma once

#include <optional>
#include <string>

class TDBConnection;

// The statement that creates the table of undo records.
const char* UndoTableSql();

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
