#include "shell/SettingsStore.h"
#include "shell/linux/DesktopEntry.h"
#include "shell/linux/SettingsFile.h"

#include "base/DurableFile.h"
#include "base/TextUtils.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::optional<std::string> ReadFile(const fs::path& File) {
    std::ifstream In(File, std::ios::binary);
    if (!In)
        return std::nullopt;
    std::string Text(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>{});
    if (In.bad())
        return std::nullopt;
    return Text;
}

// A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory rules say.
std::optional<fs::path> ConfigHome() {
    const char* Xdg = std::getenv("XDG_CONFIG_HOME");
    if (Xdg && Xdg[0] == '/')
        return fs::path(Xdg);
    const char* Home = std::getenv("HOME");
    if (Home && Home[0] == '/')
        return fs::path(Home) / ".config";
    return std::nullopt;
}

// The start-up list: one autostart entry per value, named after the value in lower case.
class TAutostartKey : public TSettingsKey {
public:
    explicit TAutostartKey(fs::path Folder) : FFolder(std::move(Folder)) {}

    TValueRead ReadString(const std::string& Name, std::string& Value) override {
        const auto File = EntryFile(Name);
        const auto Text = File ? ReadFile(*File) : std::nullopt;
        const auto Command = Text ? DesktopEntryCommand(*Text) : std::nullopt;
        if (!Command)
            return TValueRead::Missing;
        Value = *Command;
        return TValueRead::Found;
    }

    // The folder is the standard place for these entries, so the first entry may create it.
    bool WriteString(const std::string& Name, const std::string& Value) override {
        const auto File = EntryFile(Name);
        if (!File)
            return false;
        std::error_code Ignored; // a folder that can't be made fails the write below
        fs::create_directories(FFolder, Ignored);
        return WriteFileDurably(*File, DesktopEntryText(Name, Value), true) == 0;
    }

    void DeleteValue(const std::string& Name) override {
        std::error_code Ignored;
        if (const auto File = EntryFile(Name))
            fs::remove(*File, Ignored);
    }

private:
    // Nothing for a name that cannot be a file name in the folder.
    std::optional<fs::path> EntryFile(const std::string& Name) const {
        if (Name.empty() || Name.find_first_of(std::string("/\0", 2)) != std::string::npos ||
            Name == "." || Name == "..")
            return std::nullopt;
        std::string Lower = Name;
        for (char& C : Lower)
            if (C >= 'A' && C <= 'Z')
                C = static_cast<char>(C - 'A' + 'a');
        return FFolder / (Lower + ".desktop");
    }

    fs::path FFolder;
};

// A key of the program's own: a file of "name=value" lines. Names match regardless of ASCII
// case, as registry value names do.
class TFileKey : public TSettingsKey {
public:
    explicit TFileKey(fs::path File) : FFile(std::move(File)) {}

    TValueRead ReadString(const std::string& Name, std::string& Value) override {
        auto Values = Load();
        if (!Values)
            return TValueRead::Missing;
        const auto It = Find(*Values, Name);
        if (It == Values->end())
            return TValueRead::Missing;
        Value = It->second;
        return TValueRead::Found;
    }

    // A file that can't be read is not rewritten: the values it holds would be lost.
    bool WriteString(const std::string& Name, const std::string& Value) override {
        auto Values = Load();
        if (!Values)
            return false;
        const auto It = Find(*Values, Name);
        if (It == Values->end())
            Values->emplace_back(Name, Value);
        else
            It->second = Value;
        return WriteFileDurably(FFile, FormatSettingsFile(*Values), true) == 0;
    }

    void DeleteValue(const std::string& Name) override {
        auto Values = Load();
        if (!Values)
            return;
        const auto It = Find(*Values, Name);
        if (It == Values->end())
            return;
        Values->erase(It);
        WriteFileDurably(FFile, FormatSettingsFile(*Values), true);
    }

private:
    std::optional<TSettingsValues> Load() const {
        const auto Text = ReadFile(FFile);
        if (!Text)
            return std::nullopt;
        return ParseSettingsFile(*Text);
    }

    // The last of several lines with one name is the one that counts.
    static TSettingsValues::iterator Find(TSettingsValues& Values, const std::string& Name) {
        const std::string Upper = UpperCaseAscii(Name);
        for (auto It = Values.rbegin(); It != Values.rend(); ++It)
            if (UpperCaseAscii(It->first) == Upper)
                return std::next(It).base();
        return Values.end();
    }

    fs::path FFile;
};

// The file of a key path below the configuration folder: "\Software\Quelvano147" is
// Quelvano147/settings.conf.
fs::path KeyFile(const fs::path& Home, const std::string& Path) {
    std::string Relative = Path;
    Relative.erase(0, Relative.find_first_not_of('\\'));
    const std::string Software = "Software\\";
    if (Relative.compare(0, Software.size(), Software) == 0)
        Relative.erase(0, Software.size());
    std::replace(Relative.begin(), Relative.end(), '\\', '/');
    return Home / Relative / "settings.conf";
}

bool CreateEmptyFile(const fs::path& File) {
    const int Fd = open(File.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    return Fd >= 0 && close(Fd) == 0;
}

} // namespace

std::unique_ptr<TSettingsKey> OpenUserSettingsKey(const std::string& Path, bool CanCreate) {
    const auto Home = ConfigHome();
    if (!Home)
        return nullptr;
    if (Path == RunKeyPath)
        return std::make_unique<TAutostartKey>(*Home / "autostart");
    const fs::path File = KeyFile(*Home, Path);
    std::error_code Ec;
    if (!fs::is_regular_file(File, Ec)) {
        if (!CanCreate)
            return nullptr;
        fs::create_directories(File.parent_path(), Ec);
        if (Ec || !CreateEmptyFile(File))
            return nullptr;
    }
    return std::make_unique<TFileKey>(File);
}
