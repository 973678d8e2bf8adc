#include "connections/o_SystemConnections.h"

#include "adapters/o_AdapterInformation.h"
#include "base/Exception.h"
#include "base/TApplication.h"
#include "base/TextUtils.h"
#include "data/DataSet.h"
#include "tray/ExtCtrlsX.h"

namespace {

const std::string RootKey = "\\SYSTEM\\CurrentControlSet\\Control\\Network\\";

std::string ConnectionKey(const std::string& ClassKey, const std::string& AdapterKey) {
    return RootKey + ClassKey + "\\" + AdapterKey + "\\Connection";
}

// The registry's own spelling of Name among Keys, compared as the registry compares names.
const std::string* FindKey(const std::vector<std::string>& Keys, const std::string& Name) {
    const std::string Wanted = UpperCaseAscii(Name);
    for (const std::string& Key : Keys)
        if (UpperCaseAscii(Key) == Wanted)
            return &Key;
    return nullptr;
}

std::vector<std::string> AdapterNames() {
    std::vector<std::string> Names;
    const TgtNetworkAdapters& Adapters = AdapterManager()->Adapters();
    for (int I = 0; I < Adapters.Count(); ++I)
        Names.push_back(Adapters.Items(I)->AdapterName());
    return Names;
}

// Closes the reader's key however the discovery ends.
class TKeyCloser {
public:
    explicit TKeyCloser(TRegistryReader& Reader) : FReader(Reader) {}
    ~TKeyCloser() { FReader.CloseKey(); }
    TKeyCloser(const TKeyCloser&) = delete;
    TKeyCloser& operator=(const TKeyCloser&) = delete;

private:
    TRegistryReader& FReader;
};

} // namespace

TgtIPSystemConnections::TgtIPSystemConnections(TComponent* AOwner)
    : TComponent(AOwner), FReaderFactory(CreateMachineRegistryReader),
      FVersionInfo(GetPlatformVersionInfo()) {}

TgtIPSystemConnections::~TgtIPSystemConnections() = default;

template <class T> void TgtIPSystemConnections::Assign(T*& Field, T* Value) {
    if (Field == Value)
        return;
    T* Old = Field;
    Field = Value;
    ReplaceReference(Old, Value, {FConnectionsDataSet, FIPSetDataSet, FTrayIcon});
}

void TgtIPSystemConnections::SetConnectionsDataSet(TDataSet* Value) {
    Assign(FConnectionsDataSet, Value);
}

void TgtIPSystemConnections::SetIPSetDataSet(TDataSet* Value) {
    Assign(FIPSetDataSet, Value);
}

void TgtIPSystemConnections::SetTrayIcon(TTrayIcon* Value) {
    Assign(FTrayIcon, Value);
}

void TgtIPSystemConnections::SetRegistryReaderFactory(TRegistryReaderFactory Factory) {
    FReaderFactory = std::move(Factory);
}

void TgtIPSystemConnections::SetVersionInfo(const TOSVersionInfo& Info) {
    FVersionInfo = Info;
}

void TgtIPSystemConnections::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove) {
        if (AComponent == FConnectionsDataSet)
            SetConnectionsDataSet(nullptr);
        if (AComponent == FIPSetDataSet)
            SetIPSetDataSet(nullptr);
        if (AComponent == FTrayIcon)
            SetTrayIcon(nullptr);
    }
    TComponent::Notification(AComponent, Operation);
}

int TgtIPSystemConnections::GetOSVersionCode() const {
    return ::GetOSVersionCode(FVersionInfo);
}

void TgtIPSystemConnections::UpdateConnections() {
    if (FConnectionsDataSet == nullptr)
        throw Exception("No se ha asignado la tabla de conexiones.");
    const std::unique_ptr<TRegistryReader> Reader = FReaderFactory();
    TKeyCloser Closer(*Reader);
    if (!Reader->OpenKeyReadOnly(RootKey))
        return;
    const std::vector<std::string> Classes = Reader->GetKeyNames();
    const int Code = GetOSVersionCode();
    if (Code == 7)
        WalkClassByClass(*Reader, Classes);
    else if (Code >= 8)
        WalkAdapterByAdapter(*Reader, Classes);
}

void TgtIPSystemConnections::WalkClassByClass(TRegistryReader& Reader,
                                              const std::vector<std::string>& Classes) {
    const std::vector<std::string> Adapters = AdapterNames();
    for (const std::string& Class : Classes) {
        if (!Reader.OpenKeyReadOnly(RootKey + Class))
            continue;
        const std::vector<std::string> AdapterKeys = Reader.GetKeyNames();
        for (const std::string& Adapter : Adapters)
            if (FindKey(AdapterKeys, Adapter) != nullptr &&
                Reader.OpenKeyReadOnly(ConnectionKey(Class, Adapter)))
                AddConnection(Reader);
    }
}

void TgtIPSystemConnections::WalkAdapterByAdapter(TRegistryReader& Reader,
                                                  const std::vector<std::string>& Classes) {
    for (const std::string& Adapter : AdapterNames()) {
        const std::string Path = ConnectionKeyOf(Reader, Classes, Adapter);
        if (!Path.empty() && Reader.OpenKeyReadOnly(Path))
            AddConnection(Reader);
    }
}

// The path of the adapter's connection key under the first class that has the adapter.
std::string TgtIPSystemConnections::ConnectionKeyOf(TRegistryReader& Reader,
                                                    const std::vector<std::string>& Classes,
                                                    const std::string& Adapter) {
    for (const std::string& Class : Classes) {
        if (!Reader.OpenKeyReadOnly(RootKey + Class))
            continue;
        const std::vector<std::string> AdapterKeys = Reader.GetKeyNames();
        if (const std::string* Key = FindKey(AdapterKeys, Adapter))
            return ConnectionKey(Class, *Key);
    }
    return std::string();
}

std::vector<std::string> TgtIPSystemConnections::AdapterConnectionNames() {
    const std::vector<std::string> Adapters = AdapterNames();
    std::vector<std::string> Names(Adapters.size());
    const std::unique_ptr<TRegistryReader> Reader = FReaderFactory();
    TKeyCloser Closer(*Reader);
    if (!Reader->OpenKeyReadOnly(RootKey))
        return Names;
    const std::vector<std::string> Classes = Reader->GetKeyNames();
    for (std::size_t I = 0; I < Adapters.size(); ++I) {
        const std::string Path = ConnectionKeyOf(*Reader, Classes, Adapters[I]);
        if (!Path.empty() && Reader->OpenKeyReadOnly(Path))
            Names[I] = Reader->ReadString("Name");
    }
    return Names;
}

void TgtIPSystemConnections::AddConnection(TRegistryReader& Reader) {
    const std::string Name = Reader.ReadString("Name");
    try {
        if (Name.empty() || FConnectionsDataSet->Locate("CONNECTIONNAME", Name))
            return;
        FConnectionsDataSet->Insert();
        FConnectionsDataSet->FieldByName("CONNECTIONNAME").SetAsString(Name);
        FConnectionsDataSet->Post();
        NotifyNewConnection(Name);
    } catch (...) {
        FConnectionsDataSet->Cancel();
        throw;
    }
}

void TgtIPSystemConnections::NotifyNewConnection(const std::string& Name) {
    if (FTrayIcon == nullptr)
        return;
    FTrayIcon->SetBalloonHint("Nueva conexion de red encontrada.\r" + Name);
    FTrayIcon->SetBalloonFlags(bfInfo);
    FTrayIcon->ShowBalloonHint();
}

TgtIPSystemConnections* GetIPSystemConnections() {
    return Application().SingleInstance<TgtIPSystemConnections>();
}
