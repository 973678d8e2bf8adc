#include "connections/RegistryReader.h"
#include "connections/OSVersion.h"

#include "base/win32/WideText.h"

#include <windows.h>

namespace {

class TWin32MachineRegistry : public TRegistryReader {
public:
    ~TWin32MachineRegistry() override { CloseKey(); }

    bool OpenKeyReadOnly(const std::string& Path) override {
        CloseKey();
        std::string Relative = Path;
        while (!Relative.empty() && Relative.front() == '\\')
            Relative.erase(0, 1);
        // Reading is all the discovery does, and the machine hive grants reading to everyone.
        return RegOpenKeyExW(HKEY_LOCAL_MACHINE, ToWide(Relative).c_str(), 0, KEY_READ, &FKey) ==
               ERROR_SUCCESS;
    }

    std::vector<std::string> GetKeyNames() override {
        std::vector<std::string> Names;
        if (!FKey)
            return Names;
        DWORD Count = 0;
        DWORD MaxLen = 0;
        if (RegQueryInfoKeyW(FKey, nullptr, nullptr, nullptr, &Count, &MaxLen, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return Names;
        std::wstring Buffer(MaxLen + 1, L'\0');
        for (DWORD I = 0; I < Count; ++I) {
            DWORD Len = MaxLen + 1;
            if (RegEnumKeyExW(FKey, I, Buffer.data(), &Len, nullptr, nullptr, nullptr, nullptr) ==
                ERROR_SUCCESS)
                Names.push_back(FromWide(Buffer.substr(0, Len)));
        }
        return Names;
    }

    std::string ReadString(const std::string& Name) override {
        if (!FKey)
            return {};
        const std::wstring WName = ToWide(Name);
        DWORD Type = 0;
        DWORD Size = 0;
        if (RegQueryValueExW(FKey, WName.c_str(), nullptr, &Type, nullptr, &Size) !=
                ERROR_SUCCESS ||
            (Type != REG_SZ && Type != REG_EXPAND_SZ))
            return {};
        std::wstring Value(Size / sizeof(wchar_t) + 1, L'\0');
        DWORD Got = static_cast<DWORD>(Value.size() * sizeof(wchar_t));
        if (RegQueryValueExW(FKey, WName.c_str(), nullptr, &Type,
                             reinterpret_cast<BYTE*>(Value.data()), &Got) != ERROR_SUCCESS)
            return {};
        Value.resize(Got / sizeof(wchar_t));
        // The stored terminator, if any, is not part of the name.
        while (!Value.empty() && Value.back() == L'\0')
            Value.pop_back();
        return FromWide(Value);
    }

    void CloseKey() override {
        if (FKey)
            RegCloseKey(FKey);
        FKey = nullptr;
    }

private:
    HKEY FKey = nullptr;
};

} // namespace

std::unique_ptr<TRegistryReader> CreateMachineRegistryReader() {
    return std::make_unique<TWin32MachineRegistry>();
}

// GetVersionEx answers with the version named in the manifest, not the running one; the kernel's
// own call tells the truth.
TOSVersionInfo GetPlatformVersionInfo() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    TOSVersionInfo Info;
    HMODULE Ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!Ntdll)
        return Info;
    auto RtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(Ntdll, "RtlGetVersion")));
    OSVERSIONINFOW Raw{};
    Raw.dwOSVersionInfoSize = sizeof(Raw);
    if (!RtlGetVersion || RtlGetVersion(&Raw) != 0)
        return Info;
    Info.Available = true;
    Info.PlatformId = Raw.dwPlatformId;
    Info.Major = Raw.dwMajorVersion;
    Info.Minor = Raw.dwMinorVersion;
    Info.CSDVersion = FromWide(Raw.szCSDVersion);
    return Info;
}
