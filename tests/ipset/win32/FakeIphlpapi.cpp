// Stands in for IPHLPAPI.DLL in the system folder of the tests' Wine prefix: one Ethernet adapter
// showing what the fake netsh was last asked for the connection that the registry gives the
// adapter (netsh-state.txt, FakeNetshFiles.h), and static values of its own before that. The
// registry's NameServer value of the adapter's interface is kept in step, as Windows keeps it.
// IPv6: the link-local address every Windows adapter has, then what the extra lines added.
// Its change notifications come from a thread that watches the state file's time and size.
#include "adapters/AdapterChain.h"
#include "fakes/NetshState.h"
#include "ipset/win32/FakeNetshFiles.h"

#include <windows.h>

namespace {

const wchar_t* const Guid = L"{7E57F00D-0000-4000-8000-000000000001}";
const wchar_t* const NetworkKey = L"SYSTEM\\CurrentControlSet\\Control\\Network";

std::string Narrow(const std::wstring& Text) {
    return std::string(Text.begin(), Text.end());
}

std::string Utf8(const wchar_t* Text) {
    const int Size = WideCharToMultiByte(CP_UTF8, 0, Text, -1, nullptr, 0, nullptr, nullptr);
    std::string Result(static_cast<size_t>(Size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, Text, -1, &Result[0], Size, nullptr, nullptr);
    Result.pop_back();
    return Result;
}

// The connection name of the adapter's key under any network class; empty when none has it.
std::string ConnectionName() {
    HKEY Network = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, NetworkKey, 0, KEY_READ, &Network) != ERROR_SUCCESS)
        return std::string();
    std::string Name;
    wchar_t Class[256];
    for (DWORD I = 0; Name.empty(); ++I) {
        DWORD Len = 256;
        if (RegEnumKeyExW(Network, I, Class, &Len, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        const std::wstring Sub = std::wstring(Class) + L"\\" + Guid + L"\\Connection";
        wchar_t Value[256] = {};
        DWORD Size = sizeof Value;
        if (RegGetValueW(Network, Sub.c_str(), L"Name", RRF_RT_REG_SZ, nullptr, Value, &Size) ==
            ERROR_SUCCESS)
            Name = Utf8(Value);
    }
    RegCloseKey(Network);
    return Name;
}

void KeepNameServer(const wchar_t* Service, const std::vector<std::string>& Dns) {
    std::wstring Servers;
    for (const std::string& D : Dns)
        Servers += (Servers.empty() ? L"" : L",") + std::wstring(D.begin(), D.end());
    const std::wstring Key = std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + Service +
                             L"\\Parameters\\Interfaces\\" + Guid;
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, Key.c_str(), L"NameServer", REG_SZ, Servers.c_str(),
                    static_cast<DWORD>((Servers.size() + 1) * sizeof(wchar_t)));
}

TAdapterDescription Adapter() {
    TNetshState State = LoadNetshState(ReadFakeFile(FakeNetshStatePath()));
    const TNetshConnection C = State[ConnectionName()];
    KeepNameServer(L"Tcpip", C.StaticDns ? C.Dns : std::vector<std::string>{});
    KeepNameServer(L"Tcpip6", C.Extras.IPv6Dns);
    TAdapterDescription A;
    A.Name = Narrow(Guid);
    A.Description = "Adaptador de prueba";
    A.HardwareAddress = {0x02, 0x00, 0x5E, 0x10, 0x00, 0x01};
    A.Index = 7;
    A.Type = 6; // Ethernet
    A.DhcpEnabled = C.Dhcp ? 1 : 0;
    A.Addresses = {
        {C.Address.empty() ? "0.0.0.0" : C.Address, C.Mask.empty() ? "0.0.0.0" : C.Mask}};
    if (!C.Gateway.empty())
        A.Gateways = {C.Gateway};
    if (C.Dhcp && !C.Address.empty())
        A.DhcpServers = {"10.0.2.2"};
    A.DnsServers = C.Dns;
    for (const TExtraAddress& E : C.Extras.Addresses)
        A.Addresses.push_back({E.Address, E.Mask});
    for (const TExtraGateway& G : C.Extras.Gateways)
        A.Gateways.push_back(G.Gateway);
    A.IPv6Addresses = {{"fe80::5e:10ff:fe00:1", 64, false}};
    for (const TIPv6Address& E : C.Extras.IPv6Addresses)
        A.IPv6Addresses.push_back({E.Address, static_cast<std::uint8_t>(E.PrefixLength), true});
    if (!C.Extras.IPv6Gateway.empty())
        A.IPv6Gateways = {C.Extras.IPv6Gateway};
    A.IPv6DnsServers = C.Extras.IPv6Dns;
    A.StaticIPv6Dns = !C.Extras.IPv6Dns.empty();
    return A;
}

using TChangeCallback = void(WINAPI*)(void* Context, void* Row, int NotificationType);

struct TFileWatch {
    TChangeCallback Callback;
    void* Context;
    HANDLE Stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE Thread = nullptr;
};

// The state file's write time, its size in the top bits: it changes when either does.
ULONGLONG Stamp() {
    WIN32_FILE_ATTRIBUTE_DATA Data{};
    GetFileAttributesExW(FakeNetshStatePath().c_str(), GetFileExInfoStandard, &Data);
    return (ULONGLONG(Data.ftLastWriteTime.dwHighDateTime) << 32 |
            Data.ftLastWriteTime.dwLowDateTime) +
           (ULONGLONG(Data.nFileSizeLow) << 52);
}

DWORD WINAPI WatchFile(void* Param) {
    auto* W = static_cast<TFileWatch*>(Param);
    ULONGLONG Last = Stamp();
    while (WaitForSingleObject(W->Stop, 50) == WAIT_TIMEOUT) {
        const ULONGLONG Now = Stamp();
        if (Now != Last)
            W->Callback(W->Context, nullptr, 0); // MibParameterNotification
        Last = Now;
    }
    return 0;
}

std::uint32_t StartWatch(void* Callback, void* Context, HANDLE* Handle) {
    auto* W = new TFileWatch{reinterpret_cast<TChangeCallback>(Callback), Context};
    W->Thread = CreateThread(nullptr, 0, WatchFile, W, 0, nullptr);
    *Handle = W;
    return NO_ERROR;
}

} // namespace

extern "C" __declspec(dllexport) std::uint32_t WINAPI
    NotifyIpInterfaceChange(std::uint16_t, void* Callback, void* Context, BOOLEAN, HANDLE* Handle) {
    return StartWatch(Callback, Context, Handle);
}

extern "C" __declspec(dllexport) std::uint32_t WINAPI
    NotifyUnicastIpAddressChange(std::uint16_t, void* Callback, void* Context, BOOLEAN,
                                 HANDLE* Handle) {
    return StartWatch(Callback, Context, Handle);
}

// As the system's, returns once the callback runs no more.
extern "C" __declspec(dllexport) std::uint32_t WINAPI CancelMibChangeNotify2(HANDLE Handle) {
    auto* W = static_cast<TFileWatch*>(Handle);
    SetEvent(W->Stop);
    WaitForSingleObject(W->Thread, INFINITE);
    CloseHandle(W->Thread);
    CloseHandle(W->Stop);
    delete W;
    return NO_ERROR;
}

extern "C" __declspec(dllexport) std::uint32_t WINAPI
    GetAdaptersInfo(IP_ADAPTER_INFO* Buffer, std::uint32_t* Size) {
    if (Size == nullptr)
        return ERROR_INVALID_PARAMETER;
    return WriteAdapterChain({Adapter()}, Buffer, Size);
}

extern "C" __declspec(dllexport) std::uint32_t WINAPI
    GetPerAdapterInfo(std::uint32_t Index, IP_PER_ADAPTER_INFO* Buffer, std::uint32_t* Size) {
    if (Size == nullptr)
        return ERROR_INVALID_PARAMETER;
    const TAdapterDescription A = Adapter();
    return Index == A.Index ? WritePerAdapterInfo(A, Buffer, Size) : ERROR_NOT_FOUND;
}

extern "C" __declspec(dllexport) std::uint32_t WINAPI
    GetAdaptersAddresses(std::uint32_t, std::uint32_t, void*, IP_ADAPTER_ADDRESSES* Buffer,
                         std::uint32_t* Size) {
    if (Size == nullptr)
        return ERROR_INVALID_PARAMETER;
    return WriteAdapterAddresses({Adapter()}, Buffer, Size);
}
