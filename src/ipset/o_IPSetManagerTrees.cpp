#include "ipset/o_IPSetManager.h"

#include "adapters/o_AdapterInformation.h"
#include "base/TextUtils.h"
#include "data/DataSet.h"
#include "data/ExtrasStore.h"
#include "ipset/ExtraCaptions.h"
#include "ipset/InForce.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// Repainting stays suspended until the scope is left, however it is left, so a failed fill
// cannot leave the control frozen.
class TTreeUpdate {
public:
    explicit TTreeUpdate(TTreeView& Tree) : FTree(Tree) { FTree.BeginUpdate(); }
    ~TTreeUpdate() { FTree.EndUpdate(); }
    TTreeUpdate(const TTreeUpdate&) = delete;
    TTreeUpdate& operator=(const TTreeUpdate&) = delete;

private:
    TTreeView& FTree;
};

// Replaces what the tree shows by Rows, each node added whole. The top-level nodes go first: the
// native control looks each parent up among the nodes added before it, from the first one on.
void Show(TTreeView& Tree, const TTreeRows& Rows) {
    Tree.Clear();
    std::vector<HTreeNode> Tops;
    for (const TTreeRow& Row : Rows)
        if (Row.Level == 0)
            Tops.push_back(Tree.Add(0, Row.Item));
    std::vector<HTreeNode> Last; // the node last placed at each level
    std::size_t Top = 0;
    for (const TTreeRow& Row : Rows) {
        const HTreeNode Node =
            Row.Level == 0 ? Tops[Top++] : Tree.Add(Last.at(Row.Level - 1), Row.Item);
        Last.resize(Row.Level);
        Last.push_back(Node);
    }
}

// The place of the chosen node in tree order; -1 when none is chosen.
int ChosenRow(const TTreeView& Tree) {
    const HTreeNode Chosen = Tree.Selected();
    for (int I = 0; Chosen != 0 && I < Tree.Count(); ++I)
        if (Tree.Item(I) == Chosen)
            return I;
    return -1;
}

TTreeItem Line(std::string Text, std::intptr_t Data = 0) {
    TTreeItem Item;
    Item.Text = std::move(Text);
    Item.Data = Data;
    return Item;
}

const char* BooleanWord(bool Value) {
    return Value ? "True" : "False";
}

struct TAdapterGroup {
    const char* Caption;
    const TStringList& (TgtNetworkAdapter::*List)() const;
};

const TAdapterGroup AdapterGroups[] = {
    {"Direccion IP", &TgtNetworkAdapter::IPAddressList},
    {"Mascara de Red", &TgtNetworkAdapter::IPMaskList},
    {"Gateway", &TgtNetworkAdapter::GatewayList},
    {"Servidor DHCP", &TgtNetworkAdapter::DHCPList},
    {"Servidor DNS", &TgtNetworkAdapter::DNSServerList},
    {"WINS Primary Server", &TgtNetworkAdapter::PrimaryWINSList},
    {"WINS Secondary Server", &TgtNetworkAdapter::SecondaryWINSList},
    {"Anycast IP Address List", &TgtNetworkAdapter::AnycastIPAddrList},
    {"MultiCast IP Address List", &TgtNetworkAdapter::MulticastIPAddrList},
};

void AddGroup(TTreeRows& Rows, const char* Caption, const std::vector<std::string>& Texts) {
    TTreeItem Item = Line(Caption);
    Item.Bold = true;
    Rows.push_back({1, Item});
    const std::size_t GroupRow = Rows.size() - 1;
    for (const std::string& Text : Texts)
        if (!Text.empty()) {
            Rows[GroupRow].Item.Expanded = true;
            Rows.push_back({2, Line(Text)});
        }
}

// After the IPv4 groups, and only those that have entries: an adapter without IPv6 shows as
// it always has.
void AddIPv6Groups(TTreeRows& Rows, const TgtNetworkAdapter& Adapter) {
    std::vector<std::string> Addresses;
    for (const TIPv6AddressInfo& A : Adapter.IPv6AddressList())
        Addresses.push_back(A.Address + "/" + std::to_string(A.PrefixLength));
    const std::pair<const char*, const std::vector<std::string>&> Groups[] = {
        {"Direccion IPv6", Addresses},
        {"Gateway IPv6", Adapter.IPv6GatewayList()},
        {"Servidor DNS IPv6", Adapter.IPv6DNSServerList()},
    };
    for (const auto& Group : Groups)
        if (!Group.second.empty())
            AddGroup(Rows, Group.first, Group.second);
}

// The adapter closed; each group open on its leaves, so opening the adapter shows them.
void AddAdapterRows(TTreeRows& Rows, const TgtNetworkAdapter& Adapter) {
    TTreeItem Top = Line(Adapter.FriendlyName() + " " + Adapter.Description());
    Top.ImageIndex = Top.SelectedIndex = AdapterPicture;
    Top.Bold = true;
    Rows.push_back({0, Top});
    Rows.push_back({1, Line("MacAddress   : " + Adapter.MacAddress())});
    Rows.push_back({1, Line(std::string("DHCP Enabled : ") + BooleanWord(Adapter.DHCPEnabled()))});
    Rows.push_back({1, Line(std::string("WINS Enabled : ") + BooleanWord(Adapter.HasWINS()))});
    for (const TAdapterGroup& Group : AdapterGroups)
        AddGroup(Rows, Group.Caption, (Adapter.*Group.List)());
    AddIPv6Groups(Rows, Adapter);
}

} // namespace

void TgtIPSetManager::FillIPSetTree() {
    ShowIPSets(true);
}

void TgtIPSetManager::UpdateIPSetTree() {
    ShowIPSets(false);
}

void TgtIPSetManager::ShowIPSets(bool Always) {
    if (FIPSetTreeView == nullptr || FIPSetDataSet == nullptr)
        return;
    TTreeView& Tree = *FIPSetTreeView;
    TTreeUpdate Update(Tree);
    TTreeRows Rows = ReadIPSetRows();
    // The tree shows these very sets, marks included: what was opened and chosen in it stays.
    if (Always || FIPSetTreeShows != Rows) {
        const int Chosen = ChosenRow(Tree);
        const std::optional<TTreeRows> Before = std::move(FIPSetTreeShows);
        FIPSetTreeShows.reset();
        Show(Tree, Rows);
        // A line of the same set in the same place stays chosen: a set that came into force or
        // went out of it does not take the user's choice away.
        const std::size_t At = static_cast<std::size_t>(Chosen);
        if (Chosen >= 0 && Before && At < Before->size() && At < Rows.size() &&
            (*Before)[At].Level == Rows[At].Level && (*Before)[At].Item.Data == Rows[At].Item.Data)
            Tree.SetSelected(Tree.Item(Chosen));
        FIPSetTreeShows = std::move(Rows);
    }
    if (OnSetsInForceChanged)
        OnSetsInForceChanged();
}

TTreeRows TgtIPSetManager::ReadIPSetRows() {
    TTreeRows Rows;
    ReadConnectionNames();
    FIPSetDataSet->Refresh();
    FIPSetDataSet->First();
    FSetsInForce.clear();
    // Without the adapters no set is marked; the adapter tree reports why.
    bool AdaptersRead = true;
    try {
        FLive->Refresh();
    } catch (const std::exception&) {
        AdaptersRead = false;
    }
    // One query for the extras of all the sets, however many there are.
    FTreeExtras.clear();
    if (FDatabase != nullptr)
        FTreeExtras = LoadAllIPSetExtras(*FDatabase);
    const int Count = FIPSetDataSet->RecordCount();
    for (int I = 0; I < Count; ++I) {
        AddIPSetRows(Rows, AdaptersRead);
        FIPSetDataSet->Next();
    }
    FTreeExtras.clear();
    return Rows;
}

// Notes the current row when its set is in force on its adapter as last read.
bool TgtIPSetManager::NoteInForce(int ID) {
    TDataSet& Sets = *FIPSetDataSet;
    TIPSetValues V;
    V.Connection = ReadConnectionName(Sets.FieldByName("CONNECTION").AsInteger());
    V.Dhcp = Sets.FieldByName("DHCP").AsBoolean();
    V.IPAddress = Sets.FieldByName("IPADDRESS").AsString();
    V.SubnetMask = Sets.FieldByName("SUBNETMASK").AsString();
    V.Gateway = Sets.FieldByName("GATEWAY").AsString();
    V.Dns = Sets.FieldByName("DNS").AsString();
    V.Dns2 = Sets.FieldByName("DNS2").AsString();
    const auto Extras = FTreeExtras.find(ID);
    if (Extras != FTreeExtras.end())
        V.Extras = Extras->second;
    const TgtNetworkAdapter* Adapter = FLive->AdapterOf(V.Connection);
    if (!CheckInForce(V, Adapter).InForce())
        return false;
    const std::string Address =
        Adapter->IPAddressList().empty() ? std::string() : Adapter->IPAddressList()[0];
    FSetsInForce[ID] =
        V.Connection + ": " + Sets.FieldByName("IPSET_NAME").AsString() + " (" + Address + ")";
    return true;
}

void TgtIPSetManager::AddIPSetRows(TTreeRows& Rows, bool AdaptersRead) {
    TDataSet& Sets = *FIPSetDataSet;
    const int ID = Sets.FieldByName("ID").AsInteger();
    TTreeItem Top = Line(UpperCaseAscii(Sets.FieldByName("IPSET_NAME").AsString()), ID);
    Top.ImageIndex = AdaptersRead && NoteInForce(ID) ? IPSetInForcePicture : IPSetPicture;
    Top.SelectedIndex = IPSetSelectedPicture;
    Top.Bold = true;
    Rows.push_back({0, Top});

    const auto AddDetail = [&](std::string Text) {
        Rows.push_back({1, Line(std::move(Text), ID)});
    };
    if (Sets.FieldByName("DHCP").AsBoolean()) {
        AddDetail("DHCP : Si");
    } else {
        AddDetail("IP : " + Sets.FieldByName("IPADDRESS").AsString());
        AddDetail("Mascara de Red : " + Sets.FieldByName("SUBNETMASK").AsString());
        AddDetail("Def.Gateway : " + Sets.FieldByName("GATEWAY").AsString());
        AddDetail("DNS preferido : " + Sets.FieldByName("DNS").AsString());
        AddDetail("DNS alternativo : " + Sets.FieldByName("DNS2").AsString());
        AddDetail("DHCP : No");
    }
    AddDetail("Nombre Conexion : " +
              ReadConnectionName(Sets.FieldByName("CONNECTION").AsInteger()));
    const auto Extras = FTreeExtras.find(ID);
    if (Extras != FTreeExtras.end())
        for (const auto& [Caption, Value] :
             ExtraCaptions(Extras->second, Sets.FieldByName("DHCP").AsBoolean()))
            AddDetail(Caption + " : " + Value);
}

void TgtIPSetManager::FillAdapterTree() {
    if (FAdapterTreeView == nullptr)
        return;
    // Read first: when the enumeration fails, the tree keeps what it showed.
    AdapterManager()->RefreshAdapters();
    ShowAdapters();
}

void TgtIPSetManager::ShowAdapters() {
    if (FAdapterTreeView == nullptr)
        return;
    const TgtNetworkAdapters& Adapters = AdapterManager()->Adapters();
    TTreeRows Rows;
    for (int I = 0; I < Adapters.Count(); ++I)
        AddAdapterRows(Rows, *Adapters.Items(I));
    TTreeUpdate Update(*FAdapterTreeView);
    Show(*FAdapterTreeView, Rows);
}

// One pass over the table: a lookup per set would be a query per set, and under Wine each query
// takes and gives back the file's lock through the server.
void TgtIPSetManager::ReadConnectionNames() {
    FConnectionNames.clear();
    if (FConnectionsDataSet == nullptr)
        return;
    TDataSet& Names = *FConnectionsDataSet;
    for (Names.Refresh(); !Names.Eof(); Names.Next())
        FConnectionNames[Names.FieldByName("ID").AsInteger()] =
            Names.FieldByName("CONNECTIONNAME").AsString();
}

std::string TgtIPSetManager::ReadConnectionName(int ConnectionID) const {
    const auto Found = FConnectionNames.find(ConnectionID);
    return Found == FConnectionNames.end() ? std::string() : Found->second;
}

std::string TgtIPSetManager::GetConnectionName(int ConnectionID) {
    if (FConnectionsDataSet == nullptr || !FConnectionsDataSet->Locate("ID", ConnectionID))
        return std::string();
    return FConnectionsDataSet->FieldByName("CONNECTIONNAME").AsString();
}
