// Export and import of every IP set with its connection's name, as a versioned JSON document
// (docs/quelvano-export.schema.json).
#include "cli/CtlCommands.h"

#include "base/DurableFile.h"
#include "base/SysError.h"
#include "base/TextUtils.h"
#include "data/ExtrasStore.h"
#include "data/o_DatabaseConnection.h"
#include "ipset/IPSetCommands.h"

#include <algorithm>
#include <ostream>
#include <unordered_map>

namespace {

const char* const FormatName = "quelvano-ipsets";
// Version 2 adds the sets' extras; a file of version 1 reads as sets without them.
const int FormatVersion = 2;
// Far more than any store's sets take in the format; what is larger is not one of our files.
const std::size_t MaxFileSize = 4 << 20;

struct TSetMember {
    const char* Name;
    std::string TIPSetEntry::*Text;
};

const TSetMember AddressMembers[] = {
    {"ipAddress", &TIPSetEntry::IPAddress}, {"subnetMask", &TIPSetEntry::SubnetMask},
    {"gateway", &TIPSetEntry::Gateway},     {"dns1", &TIPSetEntry::Dns},
    {"dns2", &TIPSetEntry::Dns2},
};

const char* MemberOf(TIPSetBox Box) {
    switch (Box) {
    case TIPSetBox::Name:
        return "name";
    case TIPSetBox::IPAddress:
        return "ipAddress";
    case TIPSetBox::SubnetMask:
        return "subnetMask";
    case TIPSetBox::Gateway:
        return "gateway";
    case TIPSetBox::Dns:
        return "dns1";
    case TIPSetBox::Dns2:
        return "dns2";
    default:
        return "connection";
    }
}

struct TImportedSet {
    TIPSetEntry Entry;
    TIPSetExtras Extras;
};

// The name as the IP-set tree shows it, which is what tells two sets apart for a person.
std::string ShownName(const std::string& Name) {
    return UpperCaseAscii(Trim(Name));
}

class TImportFile {
public:
    explicit TImportFile(const std::string& FileName) : FFileName(FileName) {}

    std::vector<TImportedSet> Read() const {
        const TJson Document = Parse();
        if (Document.Kind() != TJson::TKind::Object)
            Refuse("no es un documento de configuraciones IP de Quelvano");
        CheckMembers(Document, {"format", "version", "ipSets"}, "el documento");
        const TJson* Format = Document.Find("format");
        if (Format == nullptr || Format->Kind() != TJson::TKind::String ||
            Format->AsString() != FormatName)
            Refuse("no es un documento de configuraciones IP de Quelvano (\"format\")");
        const TJson* Version = Document.Find("version");
        if (Version == nullptr || Version->Kind() != TJson::TKind::Number)
            Refuse("falta la version del formato (\"version\")");
        if (Version->AsNumber() != 1 && Version->AsNumber() != FormatVersion)
            Refuse("tiene la version " + TJson(Version->AsNumber()).Write() +
                   " del formato; esta version del programa lee la 1 y la 2");
        const TJson* Sets = Document.Find("ipSets");
        if (Sets == nullptr || Sets->Kind() != TJson::TKind::Array)
            Refuse("falta la lista de configuraciones IP (\"ipSets\")");
        std::vector<TImportedSet> Entries;
        for (const TJson& Set : Sets->Items())
            Entries.push_back(ReadSet(Set, Entries.size() + 1, Version->AsNumber() == 2));
        return Entries;
    }

private:
    [[noreturn]] void Refuse(const std::string& Why) const {
        throw ECtlUsage("El archivo \"" + FFileName + "\" " + Why + ".");
    }

    TJson Parse() const {
        // One byte past the limit tells a file that is too large from one that just fits.
        std::string Text;
        switch (ReadRegularFile(FFileName, MaxFileSize + 1, Text)) {
        case TFileRead::Unreadable:
            throw ECtlUsage("No se puede leer el archivo \"" + FFileName + "\".");
        case TFileRead::NotRegular:
            Refuse("no es un archivo comun: no se importa de una carpeta, una tuberia ni un "
                   "dispositivo");
        case TFileRead::Read:
            break;
        }
        if (Text.size() > MaxFileSize)
            Refuse("es demasiado grande: un archivo de configuraciones IP tiene como maximo 4 MiB");
        // Editors on Windows like to begin UTF-8 files with a byte order mark.
        if (Text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            Text.erase(0, 3);
        try {
            return ParseJson(Text);
        } catch (const Exception& E) {
            Refuse("no es JSON valido: " + E.Message());
        }
    }

    void CheckMembers(const TJson& Object, const std::vector<std::string>& Known,
                      const std::string& Where) const {
        for (const TJson::TMember& M : Object.Members())
            if (std::find(Known.begin(), Known.end(), M.first) == Known.end())
                Refuse("tiene un miembro desconocido en " + Where + ": " + JsonText(M.first));
    }

    const std::string* Text(const TJson& Set, const char* Name, const std::string& Where,
                            bool Nullable = false) const {
        const TJson* Value = Set.Find(Name);
        if (Value != nullptr && Value->Kind() == TJson::TKind::String)
            return &Value->AsString();
        if (Value == nullptr || (Value->Kind() == TJson::TKind::Null && Nullable))
            return nullptr;
        Refuse("tiene un valor que no es texto en " + Where + ": \"" + Name + "\"");
    }

    TImportedSet ReadSet(const TJson& Set, std::size_t Number, bool WithExtras) const {
        const std::string Where = "la configuracion " + std::to_string(Number);
        if (Set.Kind() != TJson::TKind::Object)
            Refuse("no tiene un objeto en " + Where);
        std::vector<std::string> Known = {"id",        "name",       "connection", "dhcp",
                                          "ipAddress", "subnetMask", "gateway",    "dns1",
                                          "dns2",      "active"};
        if (WithExtras)
            Known.insert(Known.end(), {"extraAddresses", "extraGateways", "extraDns", "ipv6"});
        CheckMembers(Set, Known, Where);
        TIPSetEntry E;
        const TJson* Dhcp = Set.Find("dhcp");
        if (Dhcp == nullptr || Dhcp->Kind() != TJson::TKind::Boolean)
            Refuse("no dice si " + Where + " usa DHCP (\"dhcp\": true o false)");
        E.Dhcp = Dhcp->AsBoolean();
        if (const std::string* Name = Text(Set, "name", Where))
            E.Name = *Name;
        if (const std::string* Connection = Text(Set, "connection", Where, true))
            E.Connection = *Connection;
        for (const TSetMember& M : AddressMembers)
            if (const std::string* Address = Text(Set, M.Name, Where))
                E.*M.Text = *Address;
        const TIPSetCheck Check = CheckCtlEntry(E);
        if (Check.Box != TIPSetBox::None)
            throw ECtlUsage("Configuracion " + std::to_string(Number) + " del archivo: " +
                            Check.Message + " (\"" + MemberOf(Check.Box) + "\")");
        if (!IsSafeConnectionName(E.Connection))
            throw ECtlUsage("Configuracion " + std::to_string(Number) +
                            " del archivo: el nombre de la conexion no es valido.");
        try {
            return {E, ReadExtrasMembers(Set, Where)};
        } catch (const EFileShape& Fault) {
            Refuse(Fault.Message());
        } catch (const ECtlUsage& Fault) {
            throw ECtlUsage("Configuracion " + std::to_string(Number) +
                            " del archivo: " + Fault.Message());
        }
    }

    std::string FFileName;
};

// For each entry, the ID of the set it replaces, 0 for a new one. Raises, before anything is
// written, for a name given twice in the file or already in the store without leave to replace.
// The names are looked up, not compared pair by pair: a file may hold tens of thousands of sets.
std::vector<int> Targets(TDataSet& Sets, const std::vector<TImportedSet>& Entries, bool Replace) {
    std::unordered_map<std::string, std::vector<int>> Stored;
    for (Sets.First(); !Sets.Eof(); Sets.Next())
        Stored[ShownName(Sets.FieldByName("IPSET_NAME").AsString())].push_back(
            Sets.FieldByName("ID").AsInteger());
    std::unordered_map<std::string, std::size_t> InFile;
    std::vector<int> Result;
    for (std::size_t I = 0; I < Entries.size(); ++I) {
        const std::string Name = ShownName(Entries[I].Entry.Name);
        const std::string Which = "Configuracion " + std::to_string(I + 1) + " del archivo: ";
        const auto [Earlier, First] = InFile.emplace(Name, I + 1);
        if (!First)
            throw ECtlUsage(Which + "el nombre " + JsonText(Name) +
                            " ya lo lleva la configuracion " + std::to_string(Earlier->second) +
                            ".");
        const auto Existing = Stored.find(Name);
        if (Existing == Stored.end()) {
            Result.push_back(0);
        } else if (!Replace) {
            throw ECtlUsage(Which + "ya existe una configuracion IP " + JsonText(Name) + " (ID " +
                            std::to_string(Existing->second[0]) +
                            "); use --replace para reemplazarla.");
        } else if (Existing->second.size() > 1) {
            throw ECtlUsage(Which + "hay varias configuraciones IP " + JsonText(Name) +
                            "; no se sabe cual reemplazar.");
        } else {
            Result.push_back(Existing->second[0]);
        }
    }
    return Result;
}

// The connection's ID, adding a row for a name the table lacks.
int ConnectionID(TDataSet& Connections, const std::string& Name) {
    if (Connections.Locate("CONNECTIONNAME", Name))
        return Connections.FieldByName("ID").AsInteger();
    Connections.Insert();
    Connections.FieldByName("CONNECTIONNAME").SetAsString(Name);
    Connections.Post();
    return Connections.FieldByName("ID").AsInteger();
}

// A replaced set takes the file's extras too: none from a file of version 1.
void WriteSet(TgtIPDBManager& Db, const TImportedSet& Set, int Target) {
    const TIPSetEntry& E = Set.Entry;
    TDataSet& Sets = *Db.IPSets();
    const int Connection = ConnectionID(*Db.ConnectionNames(), E.Connection);
    if (Target == 0) {
        Sets.Insert();
    } else {
        LocateIPSet(Sets, Target);
        Sets.Edit();
    }
    Sets.FieldByName("CONNECTION").SetAsInteger(Connection);
    PostIPSetEntry(Sets, E);
    SaveIPSetExtras(*Db.AdoConnection(), Sets.FieldByName("ID").AsInteger(), Set.Extras);
}

} // namespace

TJson ExportDocument(TgtIPDBManager& Db, TLiveAdapters* Live) {
    TDataSet& Sets = *Db.IPSets();
    std::vector<int> IDs;
    for (Sets.First(); !Sets.Eof(); Sets.Next())
        IDs.push_back(Sets.FieldByName("ID").AsInteger());
    const auto Extras = LoadAllIPSetExtras(*Db.AdoConnection());
    TJson List = TJson::Array();
    for (const int ID : IDs) {
        LocateIPSet(Sets, ID);
        List.Add(IPSetObject(Db, ExtrasOf(Extras, ID), Live));
    }
    TJson Document = TJson::Object();
    Document.Set("format", FormatName);
    Document.Set("version", FormatVersion);
    Document.Set("ipSets", List);
    return Document;
}

int CtlExport(TCtlSession& S) {
    const TJson Document = ExportDocument(S.Db, nullptr);
    if (S.Args.Operands.empty()) {
        S.Env.Out << Document.Write() << "\n";
        return ceOK;
    }
    const std::string& FileName = S.Args.Operands[0];
    // The new file takes the name by a move, which would put it in the place of a device too.
    std::string Nothing;
    if (ReadRegularFile(FileName, 0, Nothing) == TFileRead::NotRegular)
        throw ECtlUsage("El archivo \"" + FileName +
                        "\" no es un archivo comun: no se exporta a una carpeta, una tuberia ni "
                        "un dispositivo.");
    if (const unsigned Error = WriteFileDurably(FileName, Document.Write() + "\n", true))
        throw ECtlUsage("No se puede escribir el archivo \"" + FileName +
                        "\": " + SysErrorMessage(Error) + ".");
    S.Env.Out << "Exportadas " << Document.Find("ipSets")->Items().size()
              << " configuraciones IP a \"" << FileName << "\".\n";
    return ceOK;
}

int CtlImport(TCtlSession& S) {
    const std::vector<TImportedSet> Entries = TImportFile(S.Args.Operands[0]).Read();
    // The targets are chosen while no other program can write, so none is deleted or joined by
    // a set of the same name before it is written.
    TTransaction Transaction(*S.Db.AdoConnection());
    const std::vector<int> Replaced = Targets(*S.Db.IPSets(), Entries, S.Args.Has("replace"));
    // Which set was being written when the store refused, for the message.
    std::string Writing;
    try {
        for (std::size_t I = 0; I < Entries.size(); ++I) {
            Writing = "Configuracion " + std::to_string(I + 1) + " del archivo: ";
            WriteSet(S.Db, Entries[I], Replaced[I]);
        }
        Writing.clear();
        Transaction.Commit();
    } catch (const Exception& E) {
        for (TDataSet* Table : {S.Db.IPSets(), S.Db.ConnectionNames()})
            if (Table->State() != TDataSetState::dsBrowse)
                Table->Cancel();
        throw ECtlUsage(Writing + E.Message() + " No se importo nada.");
    }
    const std::size_t Replacements = static_cast<std::size_t>(
        std::count_if(Replaced.begin(), Replaced.end(), [](int ID) { return ID != 0; }));
    S.Env.Out << "Importadas " << Entries.size()
              << " configuraciones IP: " << Entries.size() - Replacements << " nuevas, "
              << Replacements << " reemplazadas.\n";
    return ceOK;
}
