#include "ipset/o_IPSetManager.h"

#include "base/Exception.h"
#include "base/SysError.h"
#include "base/TApplication.h"
#include "data/DBConnection.h"
#include "data/DataSet.h"
#include "data/ExtrasStore.h"
#include "ipset/ExtraChecks.h"
#include "tray/ExtCtrlsX.h"

namespace {

// Clears a flag however the scope is left.
class TBusy {
public:
    explicit TBusy(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TBusy() { FFlag = false; }
    TBusy(const TBusy&) = delete;
    TBusy& operator=(const TBusy&) = delete;

private:
    bool& FFlag;
};

// Hands the runner an apply's lines before the first runs, and tells it when the apply is over
// however it ends.
class TApplySession {
public:
    TApplySession(TCommandRunner* Runner, const std::vector<TApplyStep>& Steps) : FRunner(Runner) {
        std::vector<std::string> Lines;
        for (const TApplyStep& Step : Steps)
            Lines.push_back(Step.CommandLine);
        if (FRunner)
            FRunner->BeginApply(Lines);
    }
    ~TApplySession() {
        if (FRunner)
            FRunner->EndApply();
    }
    TApplySession(const TApplySession&) = delete;
    TApplySession& operator=(const TApplySession&) = delete;

private:
    TCommandRunner* FRunner;
};

} // namespace

TgtIPSetManager::TgtIPSetManager(TComponent* AOwner)
    : TComponent(AOwner), FRunner(CreateCommandRunner()), FLive(CreateLiveAdapters()) {}

TgtIPSetManager::~TgtIPSetManager() = default;

template <class T> void TgtIPSetManager::Assign(T*& Field, T* Value) {
    if (Field == Value)
        return;
    T* Old = Field;
    Field = Value;
    ReplaceReference(Old, Value,
                     {FIPSetTreeView, FIPSetDataSet, FConnectionsDataSet, FAdapterTreeView,
                      FTrayIcon, FDatabase});
}

void TgtIPSetManager::SetIPSetTreeView(TTreeView* Value) {
    if (Value != FIPSetTreeView)
        FIPSetTreeShows.reset();
    Assign(FIPSetTreeView, Value);
}

void TgtIPSetManager::SetAdapterTreeview(TTreeView* Value) {
    Assign(FAdapterTreeView, Value);
}

void TgtIPSetManager::SetIPSetDataSet(TDataSet* Value) {
    Assign(FIPSetDataSet, Value);
}

void TgtIPSetManager::SetConnectionsDataSet(TDataSet* Value) {
    Assign(FConnectionsDataSet, Value);
}

void TgtIPSetManager::SetTrayIcon(TTrayIcon* Value) {
    Assign(FTrayIcon, Value);
    FBalloon.SetTrayIcon(FTrayIcon);
}

void TgtIPSetManager::SetDatabase(TDBConnection* Value) {
    Assign(FDatabase, Value);
}

void TgtIPSetManager::AddListener(TApplyListener* Listener) {
    FListeners.push_back(Listener);
}

template <class Event> void TgtIPSetManager::Tell(Event&& E) {
    for (TApplyListener* L : FListeners)
        E(*L);
}

void TgtIPSetManager::SetCommandRunner(std::unique_ptr<TCommandRunner> Runner) {
    FRunner = std::move(Runner);
}

void TgtIPSetManager::SetLiveAdapters(std::unique_ptr<TLiveAdapters> Live) {
    FLive = std::move(Live);
}

void TgtIPSetManager::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == TOperation::opRemove) {
        if (AComponent == FIPSetTreeView)
            SetIPSetTreeView(nullptr);
        if (AComponent == FAdapterTreeView)
            SetAdapterTreeview(nullptr);
        if (AComponent == FIPSetDataSet)
            SetIPSetDataSet(nullptr);
        if (AComponent == FConnectionsDataSet)
            SetConnectionsDataSet(nullptr);
        if (AComponent == FTrayIcon)
            SetTrayIcon(nullptr);
        if (AComponent == FDatabase)
            SetDatabase(nullptr);
    }
    TComponent::Notification(AComponent, Operation);
}

void TgtIPSetManager::ApplyIPSet(int ID) {
    // Pending messages are processed while an apply runs; a request arriving then must not
    // start a second one over the same wait box and current rows.
    if (FApplying || !FIPSetDataSet->Locate("ID", ID))
        return;
    ApplyValues(ReadValues());
}

bool TgtIPSetManager::CanUndo() const {
    return FDatabase != nullptr && FDatabase->Connected() &&
           FindUndoRecord(*FDatabase, std::string()).has_value();
}

bool TgtIPSetManager::UndoLastChange(const std::string& Connection) {
    const std::optional<TUndoRecord> Record =
        FDatabase != nullptr ? FindUndoRecord(*FDatabase, Connection) : std::nullopt;
    if (!Record)
        return false;
    TIPSetValues Values;
    Values.Connection = Record->Connection;
    Values.Dhcp = Record->Dhcp;
    Values.IPAddress = Record->IPAddress;
    Values.SubnetMask = Record->SubnetMask;
    Values.Gateway = Record->Gateway;
    Values.Dns = Record->Dns;
    Values.Dns2 = Record->Dns2;
    ApplyValues(Values);
    return true;
}

// Everything is checked before the wait box shows or anything runs.
void TgtIPSetManager::ApplyValues(const TIPSetValues& Values) {
    if (FApplying)
        return;
    TBusy Busy(FApplying);
    if (!IsSafeToApply(Values))
        throw Exception(ApplyErrorText);

    Tell([](TApplyListener& L) { L.ApplyBegun(); });
    std::vector<TStepOutcome> Outcomes;
    std::string Declined;
    TInForceCheck Check;
    try {
        Tell([](TApplyListener& L) { L.ApplyProgress(35); });
        Application().ProcessMessages();
        const std::optional<TUndoRecord> Before = ReadUndoRecord(Values.Connection);
        // "Automatic" deletes the static IPv6 addresses the adapter has just before it.
        const std::vector<std::string> IPv6Now =
            Values.Extras.IPv6 == TIPv6Mode::Automatic
                ? StaticIPv6AddressesNow(*FLive, Values.Connection)
                : std::vector<std::string>{};
        RunSteps(BuildApplySteps(Values, IPv6Now), Outcomes);
        // Not before: an apply whose rights were refused changed nothing, and must not take
        // the place of the change that can still be undone.
        if (Before)
            SaveUndoRecord(*FDatabase, *Before);
        Check = VerifyApplied(Values, *FLive);
    } catch (const EElevationDeclined& E) {
        Declined = E.Message();
    } catch (...) {
        Complete();
        throw;
    }
    Complete();
    ShowOutcome(Declined.empty() ? BuildVerifiedReport(Values, FailureBalloonText(Outcomes), Check)
                                 : BuildApplyReport(Values, Declined));
}

std::optional<TUndoRecord> TgtIPSetManager::ReadUndoRecord(const std::string& Connection) {
    if (FDatabase == nullptr)
        return std::nullopt;
    FLive->Refresh();
    const TgtNetworkAdapter* Adapter = FLive->AdapterOf(Connection);
    if (Adapter == nullptr)
        return std::nullopt;
    const TIPSetValues V = ConfigurationOf(*Adapter, Connection);
    return TUndoRecord{V.Connection, V.Dhcp, V.IPAddress, V.SubnetMask, V.Gateway, V.Dns, V.Dns2};
}

void TgtIPSetManager::RunSteps(const std::vector<TApplyStep>& Steps,
                               std::vector<TStepOutcome>& Outcomes) {
    const TApplySession Session(FRunner.get(), Steps);
    for (std::size_t I = 0; I < Steps.size(); ++I) {
        Outcomes.push_back(RunStep(Steps[I]));
        const int Step = static_cast<int>(I) + 1, Count = static_cast<int>(Steps.size());
        Tell([&](TApplyListener& L) {
            L.ApplyProgress(Steps[I].Progress);
            L.ApplyStepDone(Step, Count, Steps[I], Outcomes.back());
        });
    }
}

// Everything is read before the wait box shows or anything runs.
TIPSetValues TgtIPSetManager::ReadValues() {
    const int Connection = FIPSetDataSet->FieldByName("CONNECTION").AsInteger();
    if (!FConnectionsDataSet->Locate("ID", Connection))
        throw Exception(ApplyErrorText);
    TIPSetValues V;
    V.Connection = FConnectionsDataSet->FieldByName("CONNECTIONNAME").AsString();
    V.Dhcp = FIPSetDataSet->FieldByName("DHCP").AsBoolean();
    V.IPAddress = FIPSetDataSet->FieldByName("IPADDRESS").AsString();
    V.SubnetMask = FIPSetDataSet->FieldByName("SUBNETMASK").AsString();
    V.Gateway = FIPSetDataSet->FieldByName("GATEWAY").AsString();
    V.Dns = FIPSetDataSet->FieldByName("DNS").AsString();
    V.Dns2 = FIPSetDataSet->FieldByName("DNS2").AsString();
    if (FDatabase != nullptr)
        V.Extras = LoadIPSetExtras(*FDatabase, FIPSetDataSet->FieldByName("ID").AsInteger());
    // Another program may have written what the editor and the console would refuse.
    if (!CheckExtras(V.Extras).empty())
        throw Exception(ApplyErrorText);
    return V;
}

TStepOutcome TgtIPSetManager::RunStep(const TApplyStep& Step) {
    FRunFailed = false;
    FRunError.clear();
    TStepOutcome Outcome;
    Outcome.Result = RunCommand(Step.CommandLine, 0);
    Outcome.Failed = FRunFailed;
    Outcome.Error = FRunError;
    return Outcome;
}

int TgtIPSetManager::RunCommand(const std::string& CommandLine, unsigned short ShowWindow) {
    try {
        if (!FRunner)
            return -1;
        return FRunner->Run(CommandLine, ShowWindow);
    } catch (const EElevationDeclined&) {
        throw; // not a failed step: the apply is over before anything ran
    } catch (const std::exception& E) {
        FRunFailed = true;
        FRunError = E.what();
        if (FTrayIcon != nullptr) {
            FTrayIcon->SetBalloonHint(SysErrorMessage(LastOSError()));
            FTrayIcon->SetBalloonFlags(TBalloonFlags::bfError);
            FTrayIcon->ShowBalloonHint();
        }
        Application().ShowMessage(E.what());
        return 0;
    }
}

void TgtIPSetManager::Complete() {
    Tell([](TApplyListener& L) { L.ApplyProgress(100); });
    Application().ProcessMessages();
    Tell([](TApplyListener& L) { L.ApplyEnded(); });
    RefreshTrees();
}

void TgtIPSetManager::ShowOutcome(const TApplyReport& Report) {
    Tell([&](TApplyListener& L) { L.ApplyReported(Report); });
}

void TgtIPSetManager::RefreshTrees() {
    UpdateIPSetTree();
    FillAdapterTree();
}
