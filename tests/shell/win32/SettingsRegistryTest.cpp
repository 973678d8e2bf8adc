#include "shell/GlobalUnit.h"

#include "base/Exception.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <optional>
#include <vector>

namespace {

const wchar_t* const RunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const ProgramKey = L"Software\\Quelvano147";

struct RawValue {
    DWORD Type = 0;
    std::vector<BYTE> Data;
};

RawValue Text(const std::wstring& S, DWORD Type = REG_SZ) {
    const auto* Bytes = reinterpret_cast<const BYTE*>(S.c_str());
    return {Type, std::vector<BYTE>(Bytes, Bytes + (S.size() + 1) * sizeof(wchar_t))};
}

bool KeyExists(const wchar_t* Path) {
    HKEY Key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Path, 0, KEY_READ, &Key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(Key);
    return true;
}

void SetRaw(const wchar_t* Path, const wchar_t* Name, const RawValue& V) {
    HKEY Key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key,
                              nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(
        RegSetValueExW(Key, Name, 0, V.Type, V.Data.data(), static_cast<DWORD>(V.Data.size())),
        ERROR_SUCCESS);
    RegCloseKey(Key);
}

std::optional<RawValue> GetRaw(const wchar_t* Path, const wchar_t* Name) {
    HKEY Key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Path, 0, KEY_READ, &Key) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue V;
    DWORD Size = 0;
    LONG R = RegQueryValueExW(Key, Name, nullptr, &V.Type, nullptr, &Size);
    if (R == ERROR_SUCCESS) {
        V.Data.resize(Size);
        R = RegQueryValueExW(Key, Name, nullptr, &V.Type, V.Data.data(), &Size);
    }
    RegCloseKey(Key);
    if (R != ERROR_SUCCESS)
        return std::nullopt;
    return V;
}

DWORD ValueCount(const wchar_t* Path) {
    HKEY Key = nullptr;
    DWORD Count = 0;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Path, 0, KEY_READ, &Key) != ERROR_SUCCESS)
        return 0;
    RegQueryInfoKeyW(Key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &Count, nullptr,
                     nullptr, nullptr, nullptr);
    RegCloseKey(Key);
    return Count;
}

template <class Call> void ExpectRaises(const std::string& Message, Call&& C) {
    try {
        C();
        ADD_FAILURE() << "no error, expected: " << Message;
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), Message);
    }
}

// The prefix belongs to the build, so the tests may reshape the user's keys; each starts clean.
class SettingsRegistry : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() {
        RegDeleteTreeW(HKEY_CURRENT_USER, ProgramKey);
        HKEY Key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKey, 0, KEY_ALL_ACCESS, &Key) == ERROR_SUCCESS) {
            RegDeleteValueW(Key, L"Quelvano");
            RegCloseKey(Key);
        }
    }
};

TEST_F(SettingsRegistry, FirstRead_CreatesTheEmptyProgramKey) {
    ASSERT_FALSE(KeyExists(ProgramKey));
    EXPECT_EQ(ReadSetting(StartMinimizedName), "");
    EXPECT_TRUE(KeyExists(ProgramKey));
    EXPECT_EQ(ValueCount(ProgramKey), 0u);
}

TEST_F(SettingsRegistry, Writes_AreTerminatedStringsInTheProgramKey) {
    const struct {
        std::string Name;
        std::string Value;
        const wchar_t* WName;
        const wchar_t* WValue;
    } Cases[] = {{"StartMinimizado", "1", L"StartMinimizado", L"1"},
                 {"StartMinimizado", "", L"StartMinimizado", L""},
                 {"Opci\xc3\xb3n",
                  "\xc3\xb1"
                  "and\xc3\xba",
                  L"Opci\u00f3n", L"\u00f1and\u00fa"}};
    for (const auto& C : Cases) {
        WriteSetting(C.Name, C.Value);
        const auto Raw = GetRaw(ProgramKey, C.WName);
        ASSERT_TRUE(Raw) << C.Name;
        EXPECT_EQ(Raw->Type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(Raw->Data, Text(C.WValue).Data) << C.Name;
        EXPECT_EQ(ReadSetting(C.Name), C.Value);
    }
}

TEST_F(SettingsRegistry, Values_AreReadAsStoredAndOnlyOneMeansMinimized) {
    const auto* NoTerminator = reinterpret_cast<const BYTE*>(L"1");
    const struct {
        RawValue Raw;
        std::string Value;
        bool Minimized;
    } Cases[] = {{Text(L"1"), "1", true},
                 {Text(L"0"), "0", false},
                 {Text(L"1 "), "1 ", false},
                 {Text(L"01"), "01", false},
                 {Text(L"si"), "si", false},
                 {Text(L""), "", false},
                 {Text(L"1", REG_EXPAND_SZ), "1", true},
                 {{REG_SZ, std::vector<BYTE>(NoTerminator, NoTerminator + 2)}, "1", true},
                 {{REG_SZ, {}}, "", false}};
    for (const auto& C : Cases) {
        SetRaw(ProgramKey, L"StartMinimizado", C.Raw);
        EXPECT_EQ(ReadSetting(StartMinimizedName), C.Value);
        EXPECT_EQ(IsStartMinimized(), C.Minimized) << C.Value;
    }
}

TEST_F(SettingsRegistry, ValuesOfAnotherType_RaiseInvalidDataType) {
    const DWORD One = 1;
    const auto* Bytes = reinterpret_cast<const BYTE*>(&One);
    const RawValue Cases[] = {{REG_DWORD, std::vector<BYTE>(Bytes, Bytes + sizeof(One))},
                              {REG_BINARY, {'1'}},
                              {REG_MULTI_SZ, Text(std::wstring(L"1\0", 2)).Data}};
    for (const RawValue& Raw : Cases) {
        SetRaw(ProgramKey, L"StartMinimizado", Raw);
        ExpectRaises("Invalid data type for 'StartMinimizado'",
                     [] { ReadSetting(StartMinimizedName); });
        SetRaw(RunKey, L"Quelvano", Raw);
        ExpectRaises("Invalid data type for 'Quelvano'", [] { IsRunAtStartup(RunValueName); });
    }
}

TEST_F(SettingsRegistry, RunAtStartup_WritesThePathUnquotedAndClearsTwice) {
    const std::string Path = "C:\\Program Files\\Quelvano 1.47\\quelvano.exe";
    SetRunAtStartup(Path, RunValueName, true);
    const auto Raw = GetRaw(RunKey, L"Quelvano");
    ASSERT_TRUE(Raw);
    EXPECT_EQ(Raw->Type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Raw->Data, Text(L"C:\\Program Files\\Quelvano 1.47\\quelvano.exe").Data);
    EXPECT_TRUE(IsRunAtStartup(RunValueName));

    for (int Round = 0; Round < 2; ++Round) {
        SetRunAtStartup(Path, RunValueName, false);
        EXPECT_FALSE(GetRaw(RunKey, L"Quelvano"));
        EXPECT_FALSE(IsRunAtStartup(RunValueName));
    }
}

TEST_F(SettingsRegistry, RunAtStartup_EmptyValueDoesNotCount) {
    SetRaw(RunKey, L"Quelvano", Text(L""));
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
    SetRunAtStartup("", RunValueName, true);
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
}

using SavedValues = std::vector<std::pair<std::wstring, RawValue>>;

SavedValues SaveValues(const wchar_t* Path) {
    SavedValues Saved;
    HKEY Key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Path, 0, KEY_READ, &Key) != ERROR_SUCCESS)
        return Saved;
    std::wstring Name(16384, L'\0');
    for (DWORD I = 0;; ++I) {
        DWORD NameLen = static_cast<DWORD>(Name.size());
        RawValue V;
        DWORD Size = 0;
        if (RegEnumValueW(Key, I, Name.data(), &NameLen, nullptr, &V.Type, nullptr, &Size) !=
            ERROR_SUCCESS)
            break;
        V.Data.resize(Size);
        NameLen = static_cast<DWORD>(Name.size());
        RegEnumValueW(Key, I, Name.data(), &NameLen, nullptr, &V.Type, V.Data.data(), &Size);
        Saved.emplace_back(Name.substr(0, NameLen), V);
    }
    RegCloseKey(Key);
    return Saved;
}

void RestoreKey(const wchar_t* Path, const SavedValues& Saved) {
    HKEY Key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, Path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr);
    RegCloseKey(Key);
    for (const auto& [Name, V] : Saved)
        SetRaw(Path, Name.c_str(), V);
}

// The Run key is taken away for the test and put back with its values afterwards.
TEST_F(SettingsRegistry, RunAtStartup_MissingRunKeyIsNeverCreated) {
    const SavedValues Saved = SaveValues(RunKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, RunKey);
    RegDeleteKeyW(HKEY_CURRENT_USER, RunKey);
    ASSERT_FALSE(KeyExists(RunKey));

    SetRunAtStartup("C:\\quelvano.exe", RunValueName, true);
    EXPECT_FALSE(KeyExists(RunKey));
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
    SetRunAtStartup("C:\\quelvano.exe", RunValueName, false);
    EXPECT_FALSE(KeyExists(RunKey));

    RestoreKey(RunKey, Saved);
}

TEST_F(SettingsRegistry, RefusedWrite_RaisesFailedToSetData) {
    // The registry refuses value names past its limit of 16383 characters.
    const std::string Name(20000, 'n');
    ExpectRaises("Failed to set data for '" + Name + "'", [&] { WriteSetting(Name, "1"); });
}

} // namespace
