#pragma once

#include "base/TComponent.h"
#include "connections/OSVersion.h"
#include "connections/RegistryReader.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDataSet;
class TTrayIcon;

using TRegistryReaderFactory = std::function<std::unique_ptr<TRegistryReader>()>;

// Learns the display names of the system's network connections and adds the new ones to the
// connections table, announcing each at the tray icon. It refers to the two tables and the icon
// without owning them.
class TgtIPSystemConnections : public TComponent {
public:
    explicit TgtIPSystemConnections(TComponent* AOwner = nullptr);
    ~TgtIPSystemConnections() override;

    // Created empty; the discovery writes to the table, not here.
    const std::vector<std::string>& ConnectionNames() const { return FConnectionNames; }
    TDataSet* ConnectionsDataSet() const { return FConnectionsDataSet; }
    void SetConnectionsDataSet(TDataSet* Value);
    TDataSet* IPSetDataSet() const { return FIPSetDataSet; }
    void SetIPSetDataSet(TDataSet* Value);
    TTrayIcon* TrayIcon() const { return FTrayIcon; }
    void SetTrayIcon(TTrayIcon* Value);

    // Replace the platform's registry and version information (tests).
    void SetRegistryReaderFactory(TRegistryReaderFactory Factory);
    void SetVersionInfo(const TOSVersionInfo& Info);

    // Adds every connection of the adapter manager's adapters whose name the table lacks. Errors
    // propagate; names posted before one stay.
    void UpdateConnections();
    void NotifyNewConnection(const std::string& Name);
    // The connection name of each adapter of the adapter manager, in its order; empty for an
    // adapter without one. Read as the discovery reads them, so a set's connection finds the
    // adapter the discovery took its name from.
    std::vector<std::string> AdapterConnectionNames();
    int GetOSVersionCode() const;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void WalkClassByClass(TRegistryReader& Reader, const std::vector<std::string>& Classes);
    void WalkAdapterByAdapter(TRegistryReader& Reader, const std::vector<std::string>& Classes);
    void AddConnection(TRegistryReader& Reader);
    std::string ConnectionKeyOf(TRegistryReader& Reader, const std::vector<std::string>& Classes,
                                const std::string& Adapter);
    template <class T> void Assign(T*& Field, T* Value);

    std::vector<std::string> FConnectionNames;
    TDataSet* FConnectionsDataSet = nullptr;
    TDataSet* FIPSetDataSet = nullptr;
    TTrayIcon* FTrayIcon = nullptr;
    TRegistryReaderFactory FReaderFactory;
    TOSVersionInfo FVersionInfo;
};

// The one shared component, created on first use and owned by the application object.
TgtIPSystemConnections* GetIPSystemConnections();
