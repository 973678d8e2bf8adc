#include "data/ExtrasStore.h"

#include "data/DBConnection.h"

#include <sqlite3.h>

namespace {

// One row per value: KIND names the list, POSITION the order within it; MASK is an extra
// address's mask and NUMBER a gateway's metric, an IPv6 prefix length or the IPv6 mode.
const char* const CreateExtras =
    "CREATE TABLE IPSetExtras (IPSETID INTEGER NOT NULL, KIND TEXT NOT NULL, "
    "POSITION INTEGER NOT NULL, VALUE TEXT NOT NULL, MASK TEXT NOT NULL DEFAULT '', "
    "NUMBER INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (IPSETID, KIND, POSITION));"
    "CREATE TRIGGER IPSetExtrasOfDeletedSet AFTER DELETE ON IPSets BEGIN "
    "DELETE FROM IPSetExtras WHERE IPSETID = OLD.ID; END";

// Rolls the rows back to before the save when it fails part-way, inside a caller's transaction
// or on its own.
class TSavepoint {
public:
    explicit TSavepoint(TDBConnection& Connection) : FConnection(Connection) {
        TStatement(FConnection, "SAVEPOINT IPSetExtras").Step();
    }
    ~TSavepoint() {
        if (FOpen && FConnection.Connected())
            sqlite3_exec(FConnection.Handle(), "ROLLBACK TO IPSetExtras; RELEASE IPSetExtras",
                         nullptr, nullptr, nullptr);
    }
    TSavepoint(const TSavepoint&) = delete;
    TSavepoint& operator=(const TSavepoint&) = delete;
    void Release() {
        TStatement(FConnection, "RELEASE IPSetExtras").Step();
        FOpen = false;
    }

private:
    TDBConnection& FConnection;
    bool FOpen = true;
};

class TRowWriter {
public:
    TRowWriter(TDBConnection& Connection, std::int64_t SetID)
        : FInsert(Connection, "INSERT INTO IPSetExtras VALUES (?, ?, ?, ?, ?, ?)"), FSetID(SetID) {}

    void Add(const char* Kind, int Position, const std::string& Value, const std::string& Mask = {},
             int Number = 0) {
        FInsert.Reset();
        FInsert.BindInteger(1, FSetID);
        FInsert.BindText(2, Kind);
        FInsert.BindInteger(3, Position);
        FInsert.BindText(4, Value);
        FInsert.BindText(5, Mask);
        FInsert.BindInteger(6, Number);
        FInsert.Step();
    }

private:
    TStatement FInsert;
    std::int64_t FSetID;
};

void AddRow(TIPSetExtras& E, const std::string& Kind, const std::string& Value,
            const std::string& Mask, int Number) {
    if (Kind == "ip4")
        E.Addresses.push_back({Value, Mask});
    else if (Kind == "gw4")
        E.Gateways.push_back({Value, Number});
    else if (Kind == "dns4")
        E.Dns.push_back(Value);
    else if (Kind == "ip6mode")
        E.IPv6 = Number == 1   ? TIPv6Mode::Automatic
                 : Number == 2 ? TIPv6Mode::Static
                               : TIPv6Mode::Keep;
    else if (Kind == "ip6")
        E.IPv6Addresses.push_back({Value, Number});
    else if (Kind == "gw6")
        E.IPv6Gateway = Value;
    else if (Kind == "dns6")
        E.IPv6Dns.push_back(Value);
}

} // namespace

const char* ExtrasTableSql() {
    return CreateExtras;
}

TIPSetExtras LoadIPSetExtras(TDBConnection& Connection, std::int64_t SetID) {
    TStatement Rows(Connection, "SELECT KIND, VALUE, MASK, NUMBER FROM IPSetExtras "
                                "WHERE IPSETID = ? ORDER BY KIND, POSITION");
    Rows.BindInteger(1, SetID);
    TIPSetExtras E;
    while (Rows.Step())
        AddRow(E, Rows.ColumnText(0), Rows.ColumnText(1), Rows.ColumnText(2),
               static_cast<int>(Rows.ColumnInteger(3)));
    return E;
}

std::map<std::int64_t, TIPSetExtras> LoadAllIPSetExtras(TDBConnection& Connection) {
    TStatement Rows(Connection, "SELECT IPSETID, KIND, VALUE, MASK, NUMBER FROM IPSetExtras "
                                "ORDER BY IPSETID, KIND, POSITION");
    std::map<std::int64_t, TIPSetExtras> Extras;
    while (Rows.Step())
        AddRow(Extras[Rows.ColumnInteger(0)], Rows.ColumnText(1), Rows.ColumnText(2),
               Rows.ColumnText(3), static_cast<int>(Rows.ColumnInteger(4)));
    return Extras;
}

void SaveIPSetExtras(TDBConnection& Connection, std::int64_t SetID, const TIPSetExtras& E) {
    TSavepoint Change(Connection);
    TStatement Clear(Connection, "DELETE FROM IPSetExtras WHERE IPSETID = ?");
    Clear.BindInteger(1, SetID);
    Clear.Step();
    TRowWriter Rows(Connection, SetID);
    int I = 0;
    for (const TExtraAddress& A : E.Addresses)
        Rows.Add("ip4", I++, A.Address, A.Mask);
    I = 0;
    for (const TExtraGateway& G : E.Gateways)
        Rows.Add("gw4", I++, G.Gateway, {}, G.Metric);
    I = 0;
    for (const std::string& D : E.Dns)
        Rows.Add("dns4", I++, D);
    if (E.IPv6 != TIPv6Mode::Keep)
        Rows.Add("ip6mode", 0, {}, {}, E.IPv6 == TIPv6Mode::Automatic ? 1 : 2);
    I = 0;
    for (const TIPv6Address& A : E.IPv6Addresses)
        Rows.Add("ip6", I++, A.Address, {}, A.PrefixLength);
    if (!E.IPv6Gateway.empty())
        Rows.Add("gw6", 0, E.IPv6Gateway);
    I = 0;
    for (const std::string& D : E.IPv6Dns)
        Rows.Add("dns6", I++, D);
    Change.Release();
    Connection.NewReadEpoch();
}
