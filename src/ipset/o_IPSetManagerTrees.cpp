#include "ipset/o_IPSetManager.h"

#include "adapters/o_AdapterInformation.h"
#include "base/TextUtils.h"
#include "data/DataSet.h"
#include "ipset/InForce.h"

#include <string>

namespace {

const int NoImage = -1;

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

HTreeNode AddLine(TTreeView& Tree, HTreeNode Parent, const std::string& Text) {
    const HTreeNode Node = Tree.AddChild(Parent, Text);
    Tree.SetImages(Node, NoImage, NoImage);
    return Node;
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

} // namespace

void TgtIPSetManager::FillIPSetTree() {
    if (FIPSetTreeView == nullptr || FIPSetDataSet == nullptr)
        return;
    TTreeView& Tree = *FIPSetTreeView;
    TTreeUpdate Update(Tree);
    Tree.Clear();
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
    const int Count = FIPSetDataSet->RecordCount();
    for (int I = 0; I < Count; ++I) {
        AddIPSetNode(Tree, AdaptersRead);
        FIPSetDataSet->Next();
    }
    if (OnSetsInForceChanged)
        OnSetsInForceChanged();
}

// Notes the current row when its set is in force on its adapter as last read.
bool TgtIPSetManager::NoteInForce(int ID) {
    TDataSet& Sets = *FIPSetDataSet;
    TIPSetValues V;
    V.Connection = GetConnectionName(Sets.FieldByName("CONNECTION").AsInteger());
    V.Dhcp = Sets.FieldByName("DHCP").AsBoolean();
    V.IPAddress = Sets.FieldByName("IPADDRESS").AsString();
    V.SubnetMask = Sets.FieldByName("SUBNETMASK").AsString();
    V.Gateway = Sets.FieldByName("GATEWAY").AsString();
    V.Dns = Sets.FieldByName("DNS").AsString();
    V.Dns2 = Sets.FieldByName("DNS2").AsString();
    const TgtNetworkAdapter* Adapter = FLive->AdapterOf(V.Connection);
    if (!CheckInForce(V, Adapter).InForce())
        return false;
    const std::string Address =
        Adapter->IPAddressList().empty() ? std::string() : Adapter->IPAddressList()[0];
    FSetsInForce[ID] =
        V.Connection + ": " + Sets.FieldByName("IPSET_NAME").AsString() + " (" + Address + ")";
    return true;
}

void TgtIPSetManager::AddIPSetNode(TTreeView& Tree, bool AdaptersRead) {
    TDataSet& Sets = *FIPSetDataSet;
    const HTreeNode Node =
        Tree.AddChild(0, UpperCaseAscii(Sets.FieldByName("IPSET_NAME").AsString()));
    const int ID = Sets.FieldByName("ID").AsInteger();
    Tree.SetImages(Node, AdaptersRead && NoteInForce(ID) ? IPSetInForcePicture : IPSetPicture,
                   IPSetSelectedPicture);
    SetNodeBold(&Tree, Node, true);
    Tree.SetData(Node, ID);

    const auto AddDetail = [&](const std::string& Text) {
        Tree.SetData(AddLine(Tree, Node, Text), ID);
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
    AddDetail("Nombre Conexion : " + GetConnectionName(Sets.FieldByName("CONNECTION").AsInteger()));
}

void TgtIPSetManager::FillAdapterTree() {
    if (FAdapterTreeView == nullptr)
        return;
    TgtNetworkAdapterManager& Manager = *AdapterManager();
    // Read first: when the enumeration fails, the tree keeps what it showed.
    Manager.RefreshAdapters();
    TTreeView& Tree = *FAdapterTreeView;
    TTreeUpdate Update(Tree);
    Tree.Clear();
    const TgtNetworkAdapters& Adapters = Manager.Adapters();
    for (int I = 0; I < Adapters.Count(); ++I)
        AddAdapterNode(Tree, *Adapters.Items(I));
    Tree.FullExpand();
    // Adapters start closed, yet opening one shows its groups already open.
    const int Count = Tree.Count();
    for (int I = 0; I < Count; ++I) {
        const HTreeNode Node = Tree.Item(I);
        if (Tree.Level(Node) == 0)
            Tree.Collapse(Node);
    }
}

void TgtIPSetManager::AddAdapterNode(TTreeView& Tree, const TgtNetworkAdapter& Adapter) {
    const HTreeNode Node = Tree.AddChild(0, Adapter.FriendlyName() + " " + Adapter.Description());
    Tree.SetImages(Node, AdapterPicture, AdapterPicture);
    SetNodeBold(&Tree, Node, true);
    AddLine(Tree, Node, "MacAddress   : " + Adapter.MacAddress());
    AddLine(Tree, Node, std::string("DHCP Enabled : ") + BooleanWord(Adapter.DHCPEnabled()));
    AddLine(Tree, Node, std::string("WINS Enabled : ") + BooleanWord(Adapter.HasWINS()));
    for (const TAdapterGroup& Group : AdapterGroups) {
        const HTreeNode GroupNode = AddLine(Tree, Node, Group.Caption);
        SetNodeBold(&Tree, GroupNode, true);
        for (const std::string& Text : (Adapter.*Group.List)())
            if (!Text.empty())
                AddLine(Tree, GroupNode, Text);
    }
}

std::string TgtIPSetManager::GetConnectionName(int ConnectionID) {
    if (FConnectionsDataSet == nullptr || !FConnectionsDataSet->Locate("ID", ConnectionID))
        return std::string();
    return FConnectionsDataSet->FieldByName("CONNECTIONNAME").AsString();
}

void TgtIPSetManager::SetNodeBold(TTreeView* Tree, HTreeNode Node, bool Bold) {
    if (Tree == nullptr || Node == 0)
        return;
    Tree->SetBold(Node, Bold);
}
