#pragma once

#include "base/TComponent.h"
#include "data/UndoStore.h"
#include "ipset/ApplyListener.h"
#include "ipset/ApplyVerdict.h"
#include "ipset/CommandRunner.h"
#include "ipset/IPSetCommands.h"
#include "ipset/TreeView.h"
#include "tray/ApplyBalloon.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TDBConnection;
class TDataSet;
class TgtNetworkAdapter;
class TTrayIcon;

// Applies a stored IP set to its connection and rebuilds the IP-set and adapter trees. It refers
// to the two tables, the two trees and the tray icon without owning them.
class TgtIPSetManager : public TComponent {
public:
    explicit TgtIPSetManager(TComponent* AOwner = nullptr);
    ~TgtIPSetManager() override;

    TTreeView* IPSetTreeView() const { return FIPSetTreeView; }
    void SetIPSetTreeView(TTreeView* Value);
    TTreeView* AdapterTreeview() const { return FAdapterTreeView; }
    void SetAdapterTreeview(TTreeView* Value);
    TDataSet* IPSetDataSet() const { return FIPSetDataSet; }
    void SetIPSetDataSet(TDataSet* Value);
    TDataSet* ConnectionsDataSet() const { return FConnectionsDataSet; }
    void SetConnectionsDataSet(TDataSet* Value);
    TTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TTrayIcon* Value);
    // Where the undo records and the sets' extras are kept; without it nothing is recorded and
    // every set is applied and shown without its extras.
    void SetDatabase(TDBConnection* Value);

    // Told of every apply after the tray icon, in the order added; not owned.
    void AddListener(TApplyListener* Listener);

    // Replace the platform's runner and the system's adapters (tests, benchmarks).
    void SetCommandRunner(std::unique_ptr<TCommandRunner> Runner);
    void SetLiveAdapters(std::unique_ptr<TLiveAdapters> Live);

    // Applies the IP set with this ID, then reads its adapter back until the set shows there or
    // the limit passes; the report says which. An unknown ID does nothing. A request made while
    // an apply is under way is ignored.
    void ApplyIPSet(int ID);
    bool Applying() const { return FApplying; }

    // Each apply records, once its lines have run, the connection's configuration from just
    // before them in the database (when it has one and the connection's adapter is present).
    // Whether anything is recorded:
    bool CanUndo() const;
    // Applies what was recorded for the connection (for the connection applied last when empty)
    // as a stored set is applied, recording in turn; false when nothing is recorded for it.
    bool UndoLastChange(const std::string& Connection);

    // The exit code of the command, -1 when it cannot be started, 0 when an error was raised
    // (reported in a balloon and a message dialog). EElevationDeclined goes on to the caller.
    int RunCommand(const std::string& CommandLine, unsigned short ShowWindow);

    // The sets in force on their adapters as the IP-set tree's last fill found them: by ID, the
    // line the tray's tooltip shows for the set's connection ("LAN 1: CASA (192.0.2.10)").
    const std::map<int, std::string>& SetsInForce() const { return FSetsInForce; }
    // Told when a fill of the IP-set tree has found them again.
    std::function<void()> OnSetsInForceChanged;

    // UpdateIPSetTree, then the adapter tree from a fresh enumeration.
    void RefreshTrees();
    // Rebuilds the IP-set tree only when the sets read now differ from what it shows.
    void UpdateIPSetTree();
    // Rebuilds the IP-set tree from the table, whatever it shows.
    void FillIPSetTree();
    void FillAdapterTree();
    // The adapter tree from the adapters as last read, without reading them again.
    void ShowAdapters();
    std::string GetConnectionName(int ConnectionID);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    template <class T> void Assign(T*& Field, T* Value);
    void ShowIPSets(bool Always);
    TTreeRows ReadIPSetRows();
    void ReadConnectionNames();
    std::string ReadConnectionName(int ConnectionID) const;
    bool NoteInForce(int ID);
    void AddIPSetRows(TTreeRows& Rows, bool AdaptersRead);
    TIPSetValues ReadValues();
    void ApplyValues(const TIPSetValues& Values);
    std::optional<TUndoRecord> ReadUndoRecord(const std::string& Connection);
    TStepOutcome RunStep(const TApplyStep& Step);
    void RunSteps(const std::vector<TApplyStep>& Steps, std::vector<TStepOutcome>& Outcomes);
    void Complete();
    template <class Event> void Tell(Event&& E);
    void ShowOutcome(const TApplyReport& Report);

    TTreeView* FIPSetTreeView = nullptr;
    TDataSet* FIPSetDataSet = nullptr;
    TDataSet* FConnectionsDataSet = nullptr;
    TTreeView* FAdapterTreeView = nullptr;
    TTrayIcon* FTrayIcon = nullptr;
    TDBConnection* FDatabase = nullptr;
    // The extras of every set, by ID, as the IP-set tree's fill under way read them.
    std::map<std::int64_t, TIPSetExtras> FTreeExtras;
    // What the IP-set tree shows, as last filled in whole; none when it may show anything else.
    std::optional<TTreeRows> FIPSetTreeShows;
    std::unique_ptr<TCommandRunner> FRunner;
    std::unique_ptr<TLiveAdapters> FLive;
    std::map<int, std::string> FSetsInForce;
    // The connections' names by ID as the last reading of the sets found them.
    std::map<int, std::string> FConnectionNames;
    TApplyBalloon FBalloon;
    std::vector<TApplyListener*> FListeners = {&FBalloon};
    bool FApplying = false;
    // Set by RunCommand when it caught an error, so the outcome can tell that step failed.
    std::string FRunError;
    bool FRunFailed = false;
};
