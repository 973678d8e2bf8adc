#pragma once

#include <memory>
#include <string>
#include <vector>

// Read-only access to the machine hive, one open key at a time. Paths are absolute and begin with
// a backslash ("\SYSTEM\CurrentControlSet\..."). Keys are never created.
class TRegistryReader {
public:
    virtual ~TRegistryReader() = default;

    // Closes the key held before; true when the key at Path exists and may be read.
    virtual bool OpenKeyReadOnly(const std::string& Path) = 0;
    // Names of the subkeys of the open key, in the order the source yields them.
    virtual std::vector<std::string> GetKeyNames() = 0;
    // A string value of the open key; empty when it is missing or not a string.
    virtual std::string ReadString(const std::string& Name) = 0;
    virtual void CloseKey() = 0;
};

// The reader of the running platform.
std::unique_ptr<TRegistryReader> CreateMachineRegistryReader();
