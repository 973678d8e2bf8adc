#include "adapters/o_AdapterInformation.h"
#include "base/win32/WideText.h"
#include "connections/PlatformDiscovery.h"
#include "fakes/FakeIpHelper.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

const std::wstring ClassPath =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{7E57C1A5-0000-4000-8000-000000000008}";

void SeedConnection(const std::wstring& Adapter, const std::wstring& Name) {
    HKEY Key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              (ClassPath + L"\\" + Adapter + L"\\Connection").c_str(), 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &Key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(Key, L"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(Name.c_str()),
                   static_cast<DWORD>((Name.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(Key);
}

// The real registry, the real version information and the real reader; only the adapters are
// made up, so that their names match the keys seeded here and nothing of the machine's own.
TEST(MachineDiscovery, FindsTheSeededConnectionsOfTheAdapters) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassPath.c_str());
    SeedConnection(L"{7E57ADA9-0000-4000-8000-00000000000B}", L"Conexi\u00f3n de \u00e1rea local");
    SeedConnection(L"{7e57ada9-0000-4000-8000-00000000000a}", L"Wi-Fi");

    FakeIpHelper IpHelper;
    IpHelper.Adapters = {
        FakeIpHelper::Adapter("{7E57ADA9-0000-4000-8000-00000000000A}", 1, {}),
        FakeIpHelper::Adapter("{7E57ADA9-0000-4000-8000-00000000000B}", 2, {}),
        FakeIpHelper::Adapter("{7E57ADA9-0000-4000-8000-00000000000C}", 3, {}),
    };
    AdapterManager()->RefreshAdapters();

    const TPlatformDiscovery Found = DiscoverWithPlatformReader();
    EXPECT_EQ(Found.Names,
              (std::vector<std::string>{"Wi-Fi", "Conexi\xc3\xb3n de \xc3\xa1rea local"}))
        << "version code " << Found.VersionCode;
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassPath.c_str());
}

} // namespace
