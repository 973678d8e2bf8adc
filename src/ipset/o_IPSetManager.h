#pragma once

#include "base/TComponent.h"
#include "ipset/CommandRunner.h"
#include "ipset/IPSetCommands.h"
#include "ipset/TreeView.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

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

    // Told as each step of an apply has run (its number from 1, the number of steps), and of
    // the report at its end, also when there is no tray icon to show it.
    std::function<void(int Step, int Count, const TApplyStep&, const TStepOutcome&)> OnStepDone;
    std::function<void(const TApplyReport&)> OnReport;

    // Replaces the platform's runner (tests, benchmarks).
    void SetCommandRunner(std::unique_ptr<TCommandRunner> Runner);

    // Applies the IP set with this ID; an unknown ID does nothing. A request made while an apply
    // is under way is ignored.
    void ApplyIPSet(int ID);

    // The exit code of the command, -1 when it cannot be started, 0 when an error was raised
    // (reported in a balloon and a message dialog). EElevationDeclined goes on to the caller.
    int RunCommand(const std::string& CommandLine, unsigned short ShowWindow);

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
    void AddIPSetRows(TTreeRows& Rows);
    TIPSetValues ReadValues();
    TStepOutcome RunStep(const TApplyStep& Step);
    void Complete();
    // The success report, or the failure report with Failures when it is not empty.
    void ShowOutcome(const TIPSetValues& Values, const std::string& Failures);

    TTreeView* FIPSetTreeView = nullptr;
    TDataSet* FIPSetDataSet = nullptr;
    TDataSet* FConnectionsDataSet = nullptr;
    TTreeView* FAdapterTreeView = nullptr;
    TTrayIcon* FTrayIcon = nullptr;
    // What the IP-set tree shows, as last filled in whole; none when it may show anything else.
    std::optional<TTreeRows> FIPSetTreeShows;
    std::unique_ptr<TCommandRunner> FRunner;
    bool FApplying = false;
    // Set by RunCommand when it caught an error, so the outcome can tell that step failed.
    std::string FRunError;
    bool FRunFailed = false;
};
