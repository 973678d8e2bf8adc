// The commands on the IP sets themselves: list, show, add, edit and delete.
#include "cli/CtlCommands.h"

#include "base/TextUtils.h"
#include "data/DBConnection.h"
#include "data/ExtrasStore.h"
#include "data/o_DatabaseConnection.h"
#include "ipset/ExtraCaptions.h"

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <vector>

namespace {

struct TAddressOption {
    const char* Option;
    std::string TIPSetEntry::*Text;
    TIPSetBox Box;
};

const TAddressOption AddressOptions[] = {
    {"ip", &TIPSetEntry::IPAddress, TIPSetBox::IPAddress},
    {"mask", &TIPSetEntry::SubnetMask, TIPSetBox::SubnetMask},
    {"gateway", &TIPSetEntry::Gateway, TIPSetBox::Gateway},
    {"dns1", &TIPSetEntry::Dns, TIPSetBox::Dns},
    {"dns2", &TIPSetEntry::Dns2, TIPSetBox::Dns2},
};

std::string OptionOf(TIPSetBox Box) {
    if (Box == TIPSetBox::Name)
        return "--name";
    if (Box == TIPSetBox::Connection)
        return "--connection";
    for (const TAddressOption& A : AddressOptions)
        if (A.Box == Box)
            return std::string("--") + A.Option;
    return std::string();
}

bool IsDigits(const std::string& Text) {
    return !Text.empty() && Text.size() <= 10 &&
           Text.find_first_not_of("0123456789") == std::string::npos;
}

std::string Padded(const std::string& Text, std::size_t Width) {
    return Text + std::string(Width - Utf8Length(Text), ' ');
}

std::string Summary(const TIPSetEntry& E) {
    return E.Dhcp ? "DHCP" : E.IPAddress + "/" + E.SubnetMask;
}

// The entry as the options change it: the name as the editor's box holds it (letters a to z in
// upper case), the addresses as given.
void ApplyOptions(const TCtlArgs& Args, TIPSetEntry& E) {
    if (const std::string* Name = Args.Value("name"))
        E.Name = UpperCaseAscii(*Name);
    if (const std::string* Connection = Args.Value("connection"))
        E.Connection = *Connection;
    if (Args.Has("dhcp") && Args.Has("no-dhcp"))
        throw ECtlUsage("Indique --dhcp o --no-dhcp, no ambas.");
    if (Args.Has("dhcp") || Args.Has("no-dhcp"))
        E.Dhcp = Args.Has("dhcp");
    for (const TAddressOption& A : AddressOptions) {
        const std::string* Value = Args.Value(A.Option);
        if (Value != nullptr && E.Dhcp)
            throw ECtlUsage("Una configuracion DHCP no lleva direcciones (--" +
                            std::string(A.Option) + ").");
        if (Value != nullptr)
            E.*A.Text = *Value;
    }
}

// The editor's checks, then the connection: its ID, or ECtlUsage naming the option to correct.
int CheckedConnection(TgtIPDBManager& Db, const TIPSetEntry& E) {
    const TIPSetCheck Check = CheckCtlEntry(E);
    if (Check.Box != TIPSetBox::None)
        throw ECtlUsage(Check.Message + " (" + OptionOf(Check.Box) + ")");
    return FindConnection(*Db.ConnectionNames(), E.Connection);
}

// Writes the pending row; a value the store refuses is an input error and leaves nothing.
void PostRow(TDataSet& IPSets, int Connection, const TIPSetEntry& E) {
    try {
        IPSets.FieldByName("CONNECTION").SetAsInteger(Connection);
        PostIPSetEntry(IPSets, E);
    } catch (const ECtlUsage&) {
        throw;
    } catch (const Exception& Error) {
        IPSets.Cancel();
        throw ECtlUsage(Error.Message());
    }
}

TIPSetExtras CurrentExtras(TgtIPDBManager& Db) {
    return LoadIPSetExtras(*Db.AdoConnection(), Db.IPSets()->FieldByName("ID").AsInteger());
}

// Writes the row, and the set's extras with it as one change when they are not Stored already.
void PostSet(TgtIPDBManager& Db, int Connection, const TIPSetEntry& E, const TIPSetExtras& Extras,
             const TIPSetExtras* Stored) {
    TDataSet& Sets = *Db.IPSets();
    const bool SameExtras = Stored != nullptr && *Stored == Extras;
    std::optional<TTransaction> Change;
    if (!SameExtras)
        Change.emplace(*Db.AdoConnection());
    if (Stored == nullptr)
        Sets.Insert();
    else
        Sets.Edit();
    PostRow(Sets, Connection, E);
    if (SameExtras)
        return;
    SaveIPSetExtras(*Db.AdoConnection(), Sets.FieldByName("ID").AsInteger(), Extras);
    Change->Commit();
}

TIPSetEntry CurrentEntry(TgtIPDBManager& Db) {
    TIPSetEntry E = ReadIPSetEntry(*Db.IPSets());
    E.Connection =
        ConnectionName(*Db.ConnectionNames(), Db.IPSets()->FieldByName("CONNECTION").AsInteger());
    return E;
}

} // namespace

TIPSetCheck CheckCtlEntry(const TIPSetEntry& Entry) {
    const TIPSetCheck Check = CheckIPSetEntry(Entry);
    if (Check.Box != TIPSetBox::None)
        return Check;
    for (const unsigned char Ch : Entry.Name)
        if (Ch < 32 || Ch == 127)
            return {TIPSetBox::Name, "El nombre no puede contener caracteres de control."};
    return Check;
}

void PrintColumns(std::ostream& Out, const std::vector<std::vector<std::string>>& Rows) {
    std::vector<std::size_t> Widths;
    for (const auto& Row : Rows)
        for (std::size_t I = 0; I < Row.size(); ++I) {
            Widths.resize(std::max(Widths.size(), Row.size()));
            Widths[I] = std::max(Widths[I], Utf8Length(Row[I]));
        }
    for (const auto& Row : Rows) {
        std::string Line;
        for (std::size_t I = 0; I < Row.size(); ++I)
            Line += I + 1 < Row.size() ? Padded(Row[I], Widths[I] + 2) : Row[I];
        Out << Line << "\n";
    }
}

int FindIPSet(TDataSet& IPSets, const std::string& Key) {
    const std::string Wanted = UpperCaseAscii(Key);
    const long long KeyID = IsDigits(Key) ? std::stoll(Key) : 0;
    std::vector<int> Found;
    for (IPSets.First(); !IPSets.Eof(); IPSets.Next()) {
        const int ID = IPSets.FieldByName("ID").AsInteger();
        if (ID == KeyID || UpperCaseAscii(IPSets.FieldByName("IPSET_NAME").AsString()) == Wanted)
            Found.push_back(ID);
    }
    if (Found.empty())
        throw ECtlUsage("No hay ninguna configuracion IP \"" + Key + "\".");
    if (Found.size() > 1) {
        std::string IDs;
        for (const int ID : Found)
            IDs += (IDs.empty() ? "" : ", ") + std::to_string(ID);
        throw ECtlUsage("\"" + Key + "\" nombra varias configuraciones IP (ID " + IDs +
                        "); indique el ID.");
    }
    return Found[0];
}

void LocateIPSet(TDataSet& IPSets, int ID) {
    if (!IPSets.Locate("ID", ID))
        throw ECtlUsage(RowGoneMessage);
}

int FindConnection(TDataSet& Connections, const std::string& Name) {
    if (Connections.Locate("CONNECTIONNAME", Name))
        return Connections.FieldByName("ID").AsInteger();
    std::vector<int> Found;
    for (Connections.First(); !Connections.Eof(); Connections.Next())
        if (UpperCaseAscii(Connections.FieldByName("CONNECTIONNAME").AsString()) ==
            UpperCaseAscii(Name))
            Found.push_back(Connections.FieldByName("ID").AsInteger());
    if (Found.size() == 1)
        return Found[0];
    throw ECtlUsage(Found.empty() ? "No hay ninguna conexion \"" + Name +
                                        "\"; \"quelvanoctl connections\" las muestra."
                                  : "\"" + Name +
                                        "\" nombra varias conexiones; escribala como la muestra "
                                        "\"quelvanoctl connections\".");
}

std::string ConnectionName(TDataSet& Connections, int ID) {
    return Connections.Locate("ID", ID) ? Connections.FieldByName("CONNECTIONNAME").AsString()
                                        : std::string();
}

std::unique_ptr<TLiveAdapters> ReadLiveAdapters(const TCtlEnvironment& Env) {
    std::unique_ptr<TLiveAdapters> Live =
        Env.MakeLiveAdapters ? Env.MakeLiveAdapters() : CreateLiveAdapters();
    Live->Refresh();
    return Live;
}

bool IsInForce(TLiveAdapters& Live, const TIPSetEntry& E, const TIPSetExtras& Extras) {
    return IsInForce(Live, TIPSetValues{E.Connection, E.Dhcp, E.IPAddress, E.SubnetMask, E.Gateway,
                                        E.Dns, E.Dns2, Extras});
}

TIPSetExtras ExtrasOf(const std::map<std::int64_t, TIPSetExtras>& All, int ID) {
    const auto It = All.find(ID);
    return It == All.end() ? TIPSetExtras() : It->second;
}

TJson IPSetObject(TgtIPDBManager& Db, const TIPSetExtras& Extras, TLiveAdapters* Live) {
    TDataSet& Sets = *Db.IPSets();
    const TIPSetEntry E = CurrentEntry(Db);
    TJson Set = TJson::Object();
    if (Live != nullptr)
        Set.Set("id", Sets.FieldByName("ID").AsInteger());
    Set.Set("name", E.Name);
    Set.Set("connection", E.Connection.empty() ? TJson() : TJson(E.Connection));
    Set.Set("dhcp", E.Dhcp);
    Set.Set("ipAddress", E.IPAddress);
    Set.Set("subnetMask", E.SubnetMask);
    Set.Set("gateway", E.Gateway);
    Set.Set("dns1", E.Dns);
    Set.Set("dns2", E.Dns2);
    AddExtrasMembers(Set, Extras);
    if (Live != nullptr)
        Set.Set("active", IsInForce(*Live, E, Extras));
    return Set;
}

int CtlList(TCtlSession& S) {
    TDataSet& Sets = *S.Db.IPSets();
    if (S.Args.Has("json")) {
        S.Env.Out << ExportDocument(S.Db, ReadLiveAdapters(S.Env).get()).Write() << "\n";
        return ceOK;
    }
    const std::unique_ptr<TLiveAdapters> Live = ReadLiveAdapters(S.Env);
    const auto Extras = LoadAllIPSetExtras(*S.Db.AdoConnection());
    std::vector<std::vector<std::string>> Rows = {{"ID", "Nombre", "Conexion", "Configuracion"}};
    std::vector<int> IDs;
    for (Sets.First(); !Sets.Eof(); Sets.Next())
        IDs.push_back(Sets.FieldByName("ID").AsInteger());
    for (const int ID : IDs) {
        LocateIPSet(Sets, ID);
        const TIPSetEntry E = CurrentEntry(S.Db);
        // The set in force on its connection is marked.
        Rows.push_back({std::to_string(ID), E.Name, E.Connection.empty() ? "-" : E.Connection,
                        Summary(E) + (IsInForce(*Live, E, ExtrasOf(Extras, ID)) ? " *" : "")});
    }
    PrintColumns(S.Env.Out, Rows);
    return ceOK;
}

int CtlShow(TCtlSession& S) {
    TDataSet& Sets = *S.Db.IPSets();
    const int ID = FindIPSet(Sets, S.Args.Operands[0]);
    LocateIPSet(Sets, ID);
    if (S.Args.Has("json")) {
        S.Env.Out << IPSetObject(S.Db, CurrentExtras(S.Db), ReadLiveAdapters(S.Env).get()).Write()
                  << "\n";
        return ceOK;
    }
    const TIPSetEntry E = CurrentEntry(S.Db);
    S.Env.Out << "ID: " << ID << "\n"
              << "Nombre: " << E.Name << "\n"
              << "Conexion: " << (E.Connection.empty() ? "-" : E.Connection) << "\n"
              << "DHCP: " << (E.Dhcp ? "Si" : "No") << "\n"
              << "IP: " << E.IPAddress << "\n"
              << "Mascara de subred: " << E.SubnetMask << "\n"
              << "Gateway: " << E.Gateway << "\n"
              << "DNS preferido: " << E.Dns << "\n"
              << "DNS alternativo: " << E.Dns2 << "\n";
    for (const auto& [Caption, Value] : ExtraCaptions(CurrentExtras(S.Db), E.Dhcp))
        S.Env.Out << Caption << ": " << Value << "\n";
    return ceOK;
}

int CtlAdd(TCtlSession& S) {
    TIPSetEntry E;
    ApplyOptions(S.Args, E);
    TIPSetExtras Extras;
    ApplyExtraOptions(S.Args, E.Dhcp, Extras);
    const int Connection = CheckedConnection(S.Db, E);
    TDataSet& Sets = *S.Db.IPSets();
    PostSet(S.Db, Connection, E, Extras, nullptr);
    S.Env.Out << "Configuracion IP agregada con el ID " << Sets.FieldByName("ID").AsInteger()
              << ".\n";
    return ceOK;
}

int CtlEdit(TCtlSession& S) {
    TDataSet& Sets = *S.Db.IPSets();
    const int ID = FindIPSet(Sets, S.Args.Operands[0]);
    if (S.Args.Values.empty() && S.Args.Flags.empty() && S.Args.Lists.empty())
        throw ECtlUsage("Indique al menos un valor que cambiar.");
    LocateIPSet(Sets, ID);
    TIPSetEntry E = CurrentEntry(S.Db);
    const TIPSetExtras Stored = CurrentExtras(S.Db);
    TIPSetExtras Extras = Stored;
    ApplyOptions(S.Args, E);
    ApplyExtraOptions(S.Args, E.Dhcp, Extras);
    const int Connection = CheckedConnection(S.Db, E);
    PostSet(S.Db, Connection, E, Extras, &Stored);
    S.Env.Out << "Configuracion IP " << ID << " modificada.\n";
    return ceOK;
}

int CtlDelete(TCtlSession& S) {
    TDataSet& Sets = *S.Db.IPSets();
    const int ID = FindIPSet(Sets, S.Args.Operands[0]);
    LocateIPSet(Sets, ID);
    Sets.Delete();
    S.Env.Out << "Configuracion IP " << ID << " borrada.\n";
    return ceOK;
}
