#include "shell/SettingsStore.h"

#include "base/win32/WideText.h"

#include <windows.h>

namespace {

class TRegistryKey : public TSettingsKey {
public:
    explicit TRegistryKey(HKEY Key) : FKey(Key) {}
    ~TRegistryKey() override { RegCloseKey(FKey); }
    TRegistryKey(const TRegistryKey&) = delete;
    TRegistryKey& operator=(const TRegistryKey&) = delete;

    TValueRead ReadString(const std::string& Name, std::string& Value) override {
        const std::wstring WName = ToWide(Name);
        DWORD Type = 0;
        DWORD Size = 0;
        if (RegQueryValueExW(FKey, WName.c_str(), nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS)
            return TValueRead::Missing;
        if (Type != REG_SZ && Type != REG_EXPAND_SZ)
            return TValueRead::NotAString;
        // Room for a terminator the stored data may lack.
        std::wstring Data(Size / sizeof(wchar_t) + 1, L'\0');
        DWORD Got = static_cast<DWORD>(Data.size() * sizeof(wchar_t));
        if (RegQueryValueExW(FKey, WName.c_str(), nullptr, &Type,
                             reinterpret_cast<BYTE*>(Data.data()), &Got) != ERROR_SUCCESS)
            return TValueRead::Missing;
        Data.resize(Got / sizeof(wchar_t));
        // A string value ends at its first terminator, as a C string does.
        Value = FromWide(Data.substr(0, Data.find(L'\0')));
        return TValueRead::Found;
    }

    bool WriteString(const std::string& Name, const std::string& Value) override {
        const std::wstring WValue = ToWide(Value);
        const auto Bytes = static_cast<DWORD>((WValue.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(FKey, ToWide(Name).c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(WValue.c_str()),
                              Bytes) == ERROR_SUCCESS;
    }

    void DeleteValue(const std::string& Name) override {
        RegDeleteValueW(FKey, ToWide(Name).c_str());
    }

private:
    HKEY FKey;
};

} // namespace

std::unique_ptr<TSettingsKey> OpenUserSettingsKey(const std::string& Path, bool CanCreate) {
    std::string Relative = Path;
    Relative.erase(0, Relative.find_first_not_of('\\'));
    const std::wstring SubKey = ToWide(Relative);
    HKEY Key = nullptr;
    const LONG Result =
        CanCreate ? RegCreateKeyExW(HKEY_CURRENT_USER, SubKey.c_str(), 0, nullptr,
                                    REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &Key, nullptr)
                  : RegOpenKeyExW(HKEY_CURRENT_USER, SubKey.c_str(), 0, KEY_ALL_ACCESS, &Key);
    if (Result != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<TRegistryKey>(Key);
}
