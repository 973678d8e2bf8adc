#pragma once

#include <functional>
#include <memory>
#include <string>

// The per-user settings store: keys named by a path from the user's root, each holding named
// string values. The registry on Windows; XDG configuration files on Linux.

// The system's list of programs started at logon.
inline constexpr const char* RunKeyPath = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The program's own key; the digits are those of the version.
inline constexpr const char* ProgramKeyPath = "\\Software\\Quelvano147";

enum class TValueRead { Missing, Found, NotAString };

// One open key; destroying it closes the key.
class TSettingsKey {
public:
    virtual ~TSettingsKey() = default;

    // Value is set only when the value exists and is a string.
    virtual TValueRead ReadString(const std::string& Name, std::string& Value) = 0;
    // False when the store refuses the write.
    virtual bool WriteString(const std::string& Name, const std::string& Value) = 0;
    // A value that isn't there is not an error.
    virtual void DeleteValue(const std::string& Name) = 0;
};

// Opens the key at Path (a leading backslash is taken from the user's root), creating it when
// missing if CanCreate is set; nothing when it can't be opened or created.
std::unique_ptr<TSettingsKey> OpenUserSettingsKey(const std::string& Path, bool CanCreate);

// Where the settings procedures of GlobalUnit open their keys: OpenUserSettingsKey, unless a test
// puts a store of its own in its place.
extern std::function<std::unique_ptr<TSettingsKey>(const std::string& Path, bool CanCreate)>
    SettingsKeyOpener;
