#include "shell/GlobalUnit.h"
#include "shell/SettingsStore.h"

#include "base/Exception.h"

std::function<std::unique_ptr<TSettingsKey>(const std::string&, bool)> SettingsKeyOpener =
    OpenUserSettingsKey;

namespace {

// Absent gives the empty string; a value that is there but not a string is an error.
std::string ReadValue(TSettingsKey& Key, const std::string& Name) {
    std::string Value;
    if (Key.ReadString(Name, Value) == TValueRead::NotAString)
        throw Exception("Invalid data type for '" + Name + "'");
    return Value;
}

void WriteValue(TSettingsKey& Key, const std::string& Name, const std::string& Value) {
    if (!Key.WriteString(Name, Value))
        throw Exception("Failed to set data for '" + Name + "'");
}

} // namespace

void SetRunAtStartup(const std::string& CommandLine, const std::string& Name, bool Enable) {
    const auto Key = SettingsKeyOpener(RunKeyPath, false);
    if (!Key)
        return;
    if (Enable)
        WriteValue(*Key, Name, CommandLine);
    else
        Key->DeleteValue(Name);
}

bool IsRunAtStartup(const std::string& Name) {
    const auto Key = SettingsKeyOpener(RunKeyPath, false);
    return Key && !ReadValue(*Key, Name).empty();
}

void WriteSetting(const std::string& Name, const std::string& Value) {
    if (const auto Key = SettingsKeyOpener(ProgramKeyPath, true))
        WriteValue(*Key, Name, Value);
}

std::string ReadSetting(const std::string& Name) {
    const auto Key = SettingsKeyOpener(ProgramKeyPath, true);
    return Key ? ReadValue(*Key, Name) : std::string();
}

bool IsStartMinimized() {
    return ReadSetting(StartMinimizedName) == "1";
}
