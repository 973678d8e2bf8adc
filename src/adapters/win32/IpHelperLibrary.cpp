#include "adapters/IPHLPAPI.h"

#include "base/win32/SystemFolder.h"

#include <windows.h>

namespace {

// Loaded at run time and never imported: the program starts whether or not it is present.
void* LoadIpHelper() {
    return LoadSystemLibrary(L"iphlpapi.dll");
}

TProcAddress FindEntry(void* Module, const char* Name) {
    return reinterpret_cast<TProcAddress>(GetProcAddress(static_cast<HMODULE>(Module), Name));
}

void FreeSystemLibrary(void* Module) {
    FreeLibrary(static_cast<HMODULE>(Module));
}

constexpr TIpHelperLoader SystemLoader = {LoadIpHelper, FindEntry, FreeSystemLibrary};

} // namespace

const TIpHelperLoader& SystemIpHelperLoader() {
    return SystemLoader;
}

std::u16string IpHelperTextToUtf16(const std::string& Text) {
    if (Text.empty())
        return std::u16string();
    const int Size = static_cast<int>(Text.size());
    const int Len = MultiByteToWideChar(CP_ACP, 0, Text.data(), Size, nullptr, 0);
    std::wstring Wide(static_cast<std::size_t>(Len), L'\0');
    MultiByteToWideChar(CP_ACP, 0, Text.data(), Size, Wide.data(), Len);
    return std::u16string(Wide.begin(), Wide.end());
}

namespace {

// Windows keeps hand-set DNS servers in NameServer; the ones learnt by DHCP go to DhcpNameServer.
bool NameServerSet(const wchar_t* Service, const std::string& AdapterName) {
    const std::wstring Key = std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + Service +
                             L"\\Parameters\\Interfaces\\" +
                             std::wstring(AdapterName.begin(), AdapterName.end());
    wchar_t Value[512] = {};
    DWORD Size = sizeof Value;
    return RegGetValueW(HKEY_LOCAL_MACHINE, Key.c_str(), L"NameServer", RRF_RT_REG_SZ, nullptr,
                        Value, &Size) == ERROR_SUCCESS &&
           Value[0] != L'\0';
}

} // namespace

bool AdapterDnsIsStatic(const std::string& AdapterName) {
    return NameServerSet(L"Tcpip", AdapterName);
}

bool AdapterIPv6DnsIsStatic(const std::string& AdapterName) {
    return NameServerSet(L"Tcpip6", AdapterName);
}

unsigned IpHelperResultToOSError(std::uint32_t Result) {
    return Result;
}
