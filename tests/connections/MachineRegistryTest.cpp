#include "connections/RegistryReader.h"

#include "base/win32/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

namespace {

const std::wstring ClassPath =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{7E57C1A5-0000-4000-8000-000000000007}";

void SetName(const std::wstring& Adapter, const wchar_t* Name) {
    HKEY Key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                              (ClassPath + L"\\" + Adapter + L"\\Connection").c_str(), 0, nullptr,
                              0, KEY_ALL_ACCESS, nullptr, &Key, nullptr),
              ERROR_SUCCESS);
    if (Name)
        RegSetValueExW(Key, L"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(Name),
                       static_cast<DWORD>((wcslen(Name) + 1) * sizeof(wchar_t)));
    RegCloseKey(Key);
}

TEST(MachineRegistry, ReadsTheSeededConnectionKeys) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassPath.c_str());
    SetName(L"{AAAA}", L"Conexi\u00f3n de \u00e1rea local");
    SetName(L"{BBBB}", nullptr);

    auto R = CreateMachineRegistryReader();
    const std::string Root = "\\SYSTEM\\CurrentControlSet\\Control\\Network\\";
    ASSERT_TRUE(R->OpenKeyReadOnly(Root));
    const std::vector<std::string> Classes = R->GetKeyNames();
    EXPECT_NE(std::find(Classes.begin(), Classes.end(), "{7E57C1A5-0000-4000-8000-000000000007}"),
              Classes.end());
    const std::string Class = Root + "{7E57C1A5-0000-4000-8000-000000000007}";
    ASSERT_TRUE(R->OpenKeyReadOnly(Class));
    EXPECT_EQ(R->GetKeyNames(), (std::vector<std::string>{"{AAAA}", "{BBBB}"}));

    const struct {
        std::string Sub;
        bool Opens;
        std::string Name;
    } Cases[] = {{"\\{AAAA}\\Connection", true, "Conexi\xc3\xb3n de \xc3\xa1rea local"},
                 {"\\{aaaa}\\Connection", true, "Conexi\xc3\xb3n de \xc3\xa1rea local"},
                 {"\\{BBBB}\\Connection", true, ""},
                 {"\\{CCCC}\\Connection", false, ""}};
    for (const auto& C : Cases) {
        EXPECT_EQ(R->OpenKeyReadOnly(Class + C.Sub), C.Opens) << C.Sub;
        EXPECT_EQ(R->ReadString("Name"), C.Name) << C.Sub;
    }
    R->CloseKey();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassPath.c_str());
}

} // namespace
