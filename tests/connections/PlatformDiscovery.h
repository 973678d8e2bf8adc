#pragma once

#include "connections/o_SystemConnections.h"
#include "fakes/TempStore.h"

#include <string>
#include <vector>

// What a discovery with the platform's own reader and version information stored.
struct TPlatformDiscovery {
    std::vector<std::string> Names;
    int VersionCode;
};

// Runs the discovery over the adapters AdapterManager() holds now, into a fresh store.
inline TPlatformDiscovery DiscoverWithPlatformReader() {
    TempStore Store;
    TgtIPSystemConnections Component(nullptr);
    Component.SetConnectionsDataSet(Store.Db.ConnectionNames());
    Component.UpdateConnections();
    return {ColumnValues(*Store.Db.ConnectionNames(), "CONNECTIONNAME"),
            Component.GetOSVersionCode()};
}
