// The commands that reach the system: apply, connections and adapters.
#include "cli/CtlCommands.h"

#include "adapters/o_AdapterInformation.h"
#include "data/o_DatabaseConnection.h"
#include "ipset/TreeView.h"
#include "ipset/o_IPSetManager.h"

#include <ostream>

namespace {

// A tree that only remembers its nodes, so that the adapter tree's own fill gives the text.
class TOutlineTree : public TTreeView {
public:
    TOutlineTree() : TTreeView(nullptr) {}

    void Clear() override { FNodes.clear(); }
    HTreeNode Add(HTreeNode Parent, const TTreeItem& Item) override {
        FNodes.push_back({Parent, Item.Text, Item.Data});
        return FNodes.size();
    }
    std::intptr_t Data(HTreeNode Node) const override { return FNodes[Node - 1].Data; }
    int Count() const override { return static_cast<int>(FNodes.size()); }
    HTreeNode Item(int Index) const override { return Order().at(static_cast<std::size_t>(Index)); }
    int Level(HTreeNode Node) const override {
        int Result = 0;
        for (HTreeNode P = FNodes[Node - 1].Parent; P != 0; P = FNodes[P - 1].Parent)
            ++Result;
        return Result;
    }
    HTreeNode Parent(HTreeNode Node) const override { return FNodes[Node - 1].Parent; }
    std::string Text(HTreeNode Node) const override { return FNodes[Node - 1].Text; }
    HTreeNode Selected() const override { return 0; }
    void SetSelected(HTreeNode) override {}
    void BeginUpdate() override {}
    void EndUpdate() override {}

    // One line per node in tree order, two blanks of indent per level.
    std::string Outline() const {
        std::string Text;
        for (const HTreeNode Node : Order())
            Text += std::string(2 * static_cast<std::size_t>(Level(Node)), ' ') +
                    FNodes[Node - 1].Text + "\n";
        return Text;
    }

private:
    struct TNode {
        HTreeNode Parent;
        std::string Text;
        std::intptr_t Data;
    };

    // Each node followed by its descendants; a node's children in the order they were added.
    std::vector<HTreeNode> Order() const {
        std::vector<HTreeNode> Result;
        AddSubtree(0, Result);
        return Result;
    }
    void AddSubtree(HTreeNode Parent, std::vector<HTreeNode>& Result) const {
        for (HTreeNode Node = 1; Node <= FNodes.size(); ++Node)
            if (FNodes[Node - 1].Parent == Parent) {
                Result.push_back(Node);
                AddSubtree(Node, Result);
            }
    }

    std::vector<TNode> FNodes;
};

TJson TextArray(const TStringList& List) {
    TJson Array = TJson::Array();
    for (const std::string& Text : List)
        if (!Text.empty())
            Array.Add(Text);
    return Array;
}

TJson AdapterObject(const TgtNetworkAdapter& A) {
    TJson Adapter = TJson::Object();
    Adapter.Set("name", A.FriendlyName());
    Adapter.Set("description", A.Description());
    Adapter.Set("adapterName", A.AdapterName());
    Adapter.Set("macAddress", A.MacAddress());
    Adapter.Set("dhcpEnabled", A.DHCPEnabled());
    Adapter.Set("winsEnabled", A.HasWINS());
    Adapter.Set("ipAddresses", TextArray(A.IPAddressList()));
    Adapter.Set("subnetMasks", TextArray(A.IPMaskList()));
    Adapter.Set("gateways", TextArray(A.GatewayList()));
    Adapter.Set("dhcpServers", TextArray(A.DHCPList()));
    Adapter.Set("dnsServers", TextArray(A.DNSServerList()));
    Adapter.Set("winsPrimaryServers", TextArray(A.PrimaryWINSList()));
    Adapter.Set("winsSecondaryServers", TextArray(A.SecondaryWINSList()));
    Adapter.Set("anycastAddresses", TextArray(A.AnycastIPAddrList()));
    Adapter.Set("multicastAddresses", TextArray(A.MulticastIPAddrList()));
    return Adapter;
}

} // namespace

std::string BalloonLines(const std::string& Text) {
    std::string Lines = Text;
    for (char& Ch : Lines)
        if (Ch == '\r')
            Ch = '\n';
    return Lines;
}

namespace {

// Each step on stderr as it ends, then the balloon's lines: a warning on stderr, the rest on
// stdout.
class TConsoleListener : public TApplyListener {
public:
    explicit TConsoleListener(const TCtlEnvironment& Env) : FEnv(Env) {}
    void ApplyStepDone(int Step, int Count, const TApplyStep& A, const TStepOutcome& O) override {
        FEnv.Err << "Paso " << Step << " de " << Count << ": " << A.CommandLine << " -> "
                 << StepOutcomeText(O) << std::endl;
    }
    void ApplyReported(const TApplyReport& R) override {
        (R.Warning ? FEnv.Err : FEnv.Out) << R.Title << "\n" << BalloonLines(R.Text) << std::endl;
        Reported = true;
        Succeeded = R.Succeeded;
    }
    bool Reported = false;
    bool Succeeded = false;

private:
    const TCtlEnvironment& FEnv;
};

} // namespace

int CtlApply(TCtlSession& S) {
    const int ID = FindIPSet(*S.Db.IPSets(), S.Args.Operands[0]);
    TgtIPSetManager Manager(nullptr);
    Manager.SetIPSetDataSet(S.Db.IPSets());
    Manager.SetConnectionsDataSet(S.Db.ConnectionNames());
    Manager.SetDatabase(S.Db.AdoConnection());
    if (S.Env.MakeRunner)
        Manager.SetCommandRunner(S.Env.MakeRunner());
    if (S.Env.MakeLiveAdapters)
        Manager.SetLiveAdapters(S.Env.MakeLiveAdapters());
    TConsoleListener Console(S.Env);
    Manager.AddListener(&Console);
    Manager.ApplyIPSet(ID);
    // An apply that finds no set runs nothing and tells nothing.
    if (!Console.Reported)
        throw ECtlUsage(RowGoneMessage);
    return Console.Succeeded ? ceOK : ceStepFailed;
}

int CtlConnections(TCtlSession& S) {
    TDataSet& Connections = *S.Db.ConnectionNames();
    TJson List = TJson::Array();
    std::vector<std::vector<std::string>> Rows = {{"ID", "Nombre"}};
    for (Connections.First(); !Connections.Eof(); Connections.Next()) {
        const int ID = Connections.FieldByName("ID").AsInteger();
        const std::string Name = Connections.FieldByName("CONNECTIONNAME").AsString();
        TJson& Item = List.Add(TJson::Object());
        Item.Set("id", ID);
        Item.Set("name", Name);
        Rows.push_back({std::to_string(ID), Name});
    }
    if (S.Args.Has("json")) {
        TJson Document = TJson::Object();
        Document.Set("connections", List);
        S.Env.Out << Document.Write() << "\n";
    } else {
        PrintColumns(S.Env.Out, Rows);
    }
    return ceOK;
}

int CtlAdapters(TCtlSession& S) {
    if (!S.Args.Has("json")) {
        TgtIPSetManager Manager(nullptr);
        TOutlineTree Tree;
        Manager.SetAdapterTreeview(&Tree);
        Manager.FillAdapterTree();
        S.Env.Out << Tree.Outline();
        return ceOK;
    }
    TgtNetworkAdapterManager& Adapters = *AdapterManager();
    Adapters.RefreshAdapters();
    TJson List = TJson::Array();
    for (int I = 0; I < Adapters.Adapters().Count(); ++I)
        List.Add(AdapterObject(*Adapters.Adapters().Items(I)));
    TJson Document = TJson::Object();
    Document.Set("adapters", List);
    S.Env.Out << Document.Write() << "\n";
    return ceOK;
}
