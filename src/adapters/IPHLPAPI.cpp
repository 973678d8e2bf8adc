#include "adapters/IPHLPAPI.h"

const char* const IpHelperFunctionNames[IpHelperFunctionCount] = {
    "GetAdaptersInfo",
    "GetNetworkParams",
    "GetTcpTable",
    "GetTcpStatistics",
    "GetUdpTable",
    "GetUdpStatistics",
    "GetIpStatistics",
    "GetIpNetTable",
    "GetIpAddrTable",
    "GetIpForwardTable",
    "GetIcmpStatistics",
    "GetRTTAndHopCount",
    "GetIfTable",
    "GetIfEntry",
    "GetFriendlyIfIndex",
    "GetPerAdapterInfo",
    "AllocateAndGetTcpExTableFromStack",
    "AllocateAndGetUdpExTableFromStack",
    "GetAdaptersAddresses",
    "GetExtendedTcpTable",
    "GetOwnerModuleFromTcpEntry",
    "GetExtendedUdpTable",
    "GetOwnerModuleFromUdpEntry",
};

namespace {

constexpr int GetAdaptersInfoIndex = 0;
constexpr int GetPerAdapterInfoIndex = 15;
constexpr int GetAdaptersAddressesIndex = 18;

// Process-wide binding state; the destructor frees the module when the program ends.
struct TBinding {
    const TIpHelperLoader* Loader = nullptr;
    void* Module = nullptr;
    TProcAddress Entries[IpHelperFunctionCount] = {};

    const TIpHelperLoader& CurrentLoader() const {
        return Loader != nullptr ? *Loader : SystemIpHelperLoader();
    }

    void Unload() {
        if (Module != nullptr)
            CurrentLoader().Free(Module);
        Module = nullptr;
        for (TProcAddress& Entry : Entries)
            Entry = nullptr;
    }

    ~TBinding() { Unload(); }
};

TBinding& Binding() {
    static TBinding Instance;
    return Instance;
}

} // namespace

bool LoadIpHelperLibrary() {
    TBinding& B = Binding();
    if (B.Module != nullptr)
        return true;
    const TIpHelperLoader& Loader = B.CurrentLoader();
    void* Module = Loader.Load();
    if (Module == nullptr)
        return false;
    B.Module = Module;
    for (int I = 0; I < IpHelperFunctionCount; ++I)
        B.Entries[I] = Loader.Find(Module, IpHelperFunctionNames[I]);
    return true;
}

TProcAddress IpHelperEntryPoint(int Index) {
    if (Index < 0 || Index >= IpHelperFunctionCount)
        return nullptr;
    return Binding().Entries[Index];
}

TGetAdaptersInfo BoundGetAdaptersInfo() {
    return reinterpret_cast<TGetAdaptersInfo>(IpHelperEntryPoint(GetAdaptersInfoIndex));
}

TGetPerAdapterInfo BoundGetPerAdapterInfo() {
    return reinterpret_cast<TGetPerAdapterInfo>(IpHelperEntryPoint(GetPerAdapterInfoIndex));
}

TGetAdaptersAddresses BoundGetAdaptersAddresses() {
    return reinterpret_cast<TGetAdaptersAddresses>(IpHelperEntryPoint(GetAdaptersAddressesIndex));
}

void SetIpHelperLoader(const TIpHelperLoader* Loader) {
    TBinding& B = Binding();
    B.Unload();
    B.Loader = Loader;
}
