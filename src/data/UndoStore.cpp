#include "data/UndoStore.h"

#include "base/Exception.h"
#include "data/DBConnection.h"

namespace {

const char* const CreateUndoTable =
    "CREATE TABLE UndoRecords (CONNECTIONNAME TEXT PRIMARY KEY NOT NULL, "
    "DHCP INTEGER NOT NULL, IPADDRESS TEXT, SUBNETMASK TEXT, GATEWAY TEXT, DNS TEXT, DNS2 TEXT, "
    "APPLIED INTEGER NOT NULL)";

} // namespace

const char* UndoTableSql() {
    return CreateUndoTable;
}

void SaveUndoRecord(TDBConnection& Connection, const TUndoRecord& R) {
    TTransaction Change(Connection);
    TStatement Save(Connection, "INSERT OR REPLACE INTO UndoRecords VALUES (?, ?, ?, ?, ?, ?, ?, "
                                "(SELECT IFNULL(MAX(APPLIED), 0) + 1 FROM UndoRecords))");
    Save.BindText(1, R.Connection);
    Save.BindInteger(2, R.Dhcp ? 1 : 0);
    int Index = 3;
    for (const std::string* Text : {&R.IPAddress, &R.SubnetMask, &R.Gateway, &R.Dns, &R.Dns2})
        Save.BindText(Index++, *Text);
    Save.Step();
    Change.Commit();
    Connection.NewReadEpoch();
}

std::optional<TUndoRecord> FindUndoRecord(TDBConnection& Connection, const std::string& Name) {
    TStatement Find(Connection, "SELECT * FROM UndoRecords WHERE ? = '' OR CONNECTIONNAME = ? "
                                "ORDER BY APPLIED DESC LIMIT 1");
    Find.BindText(1, Name);
    Find.BindText(2, Name);
    if (!Find.Step())
        return std::nullopt;
    TUndoRecord R;
    R.Connection = Find.ColumnText(0);
    R.Dhcp = Find.ColumnInteger(1) != 0;
    R.IPAddress = Find.ColumnText(2);
    R.SubnetMask = Find.ColumnText(3);
    R.Gateway = Find.ColumnText(4);
    R.Dns = Find.ColumnText(5);
    R.Dns2 = Find.ColumnText(6);
    return R;
}
