#pragma once

#include "cli/CtlArgs.h"
#include "cli/CtlMain.h"
#include "cli/Json.h"
#include "data/IPSetExtras.h"
#include "ui/IPSetEntry.h"

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

class TDataSet;
class TgtIPDBManager;

// What a command works with: the opened store, the console and its own words.
struct TCtlSession {
    TgtIPDBManager& Db;
    const TCtlEnvironment& Env;
    const TCtlArgs& Args;
};

// The ID of the IP set that Key names: its ID, or its name as the IP-set tree shows it (without
// regard to letter case). Raises ECtlUsage when no set or more than one answers to it.
int FindIPSet(TDataSet& IPSets, const std::string& Key);

// Makes the IP set with this ID current; raises ECtlUsage when another program has deleted it.
void LocateIPSet(TDataSet& IPSets, int ID);

// The ID of the connection named Name: the exact name, else the only one that differs from it
// in letter case alone. Raises ECtlUsage when none or more than one answers to it.
int FindConnection(TDataSet& Connections, const std::string& Name);

// The name of the connection with this ID; empty when the table has none.
std::string ConnectionName(TDataSet& Connections, int ID);

// The editor's checks, then the console's own: a name holds no control characters.
TIPSetCheck CheckCtlEntry(const TIPSetEntry& Entry);

// The current row of the IP-set table with its extras as the console program shows it in JSON.
// Given the live adapters, as "list" and "show" give them, it carries its ID and whether it is in
// force.
TJson IPSetObject(TgtIPDBManager& Db, const TIPSetExtras& Extras, TLiveAdapters* Live);

// The extras of the set with this ID among those of every set; none when it has none.
TIPSetExtras ExtrasOf(const std::map<std::int64_t, TIPSetExtras>& All, int ID);

// Every IP set in table order, in the export format (with their IDs and "active" for "list").
TJson ExportDocument(TgtIPDBManager& Db, TLiveAdapters* Live);

// The adapters as the environment reads them, read now.
std::unique_ptr<TLiveAdapters> ReadLiveAdapters(const TCtlEnvironment& Env);

// Whether the entry with its extras is in force on its adapter.
bool IsInForce(TLiveAdapters& Live, const TIPSetEntry& E, const TIPSetExtras& Extras);

// Rows of texts in columns as wide as their widest text, two blanks apart.
void PrintColumns(std::ostream& Out, const std::vector<std::vector<std::string>>& Rows);

// Cuts a text into lines at CR, as the balloon shows it.
std::string BalloonLines(const std::string& Text);

// A fault in the shape of an import file: the importer words it as one about the file.
class EFileShape : public ECtlUsage {
public:
    using ECtlUsage::ECtlUsage;
};

// The console's and the files' word for an IPv6 mode: "keep", "auto" or "static".
const char* IPv6ModeWord(TIPv6Mode Mode);
TIPv6Mode IPv6ModeOf(const std::string& Word); // "keep" for any other word

// The extras as the options of add and edit change them: --clear-extras first, then each list
// given replaces the stored one. Every value is checked as the editor checks it; IPv6 texts are
// kept canonical. Raises ECtlUsage naming the option to correct.
void ApplyExtraOptions(const TCtlArgs& Args, bool Dhcp, TIPSetExtras& Extras);

// The set's extras as members of its JSON object, each only when the set has it.
void AddExtrasMembers(TJson& Set, const TIPSetExtras& Extras);

// The extras of a set of an import file, checked, IPv6 texts made canonical. Raises EFileShape
// for a value of the wrong kind or an unknown member (Where names the set), ECtlUsage naming
// the member for a value its check refuses.
TIPSetExtras ReadExtrasMembers(const TJson& Set, const std::string& Where);

int CtlList(TCtlSession& S);
int CtlShow(TCtlSession& S);
int CtlAdd(TCtlSession& S);
int CtlEdit(TCtlSession& S);
int CtlDelete(TCtlSession& S);
int CtlApply(TCtlSession& S);
int CtlUndo(TCtlSession& S);
int CtlConnections(TCtlSession& S);
int CtlAdapters(TCtlSession& S);
int CtlExport(TCtlSession& S);
int CtlImport(TCtlSession& S);
