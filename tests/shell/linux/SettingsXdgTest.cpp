#include "shell/GlobalUnit.h"
#include "shell/SettingsStore.h"

#include "base/Exception.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <thread>

#include <sys/resource.h>

namespace fs = std::filesystem;

namespace {

// Remembers an environment variable and puts it back at the end.
class SavedVariable {
public:
    explicit SavedVariable(const char* Name) : FName(Name) {
        if (const char* V = std::getenv(Name))
            FValue = V;
    }
    ~SavedVariable() {
        if (FValue)
            setenv(FName, FValue->c_str(), 1);
        else
            unsetenv(FName);
    }

private:
    const char* FName;
    std::optional<std::string> FValue;
};

// Files may grow to Bytes only, for the life of the object: a write past it is cut short as on a
// full disk (the signal the kernel sends then is ignored, so the write just fails).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t Bytes) : FOldHandler(std::signal(SIGXFSZ, SIG_IGN)) {
        getrlimit(RLIMIT_FSIZE, &FSaved);
        rlimit Limit = FSaved;
        Limit.rlim_cur = Bytes;
        setrlimit(RLIMIT_FSIZE, &Limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &FSaved);
        std::signal(SIGXFSZ, FOldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    void (*FOldHandler)(int);
    rlimit FSaved{};
};

class SettingsXdg : public ::testing::Test {
protected:
    void SetUp() override { setenv("XDG_CONFIG_HOME", Config.Path().c_str(), 1); }

    std::string ProgramFile() const { return Config.File("Quelvano147/settings.conf"); }
    std::string EntryFile() const { return Config.File("autostart/quelvano.desktop"); }

    SavedVariable SavedXdg{"XDG_CONFIG_HOME"};
    SavedVariable SavedHome{"HOME"};
    TempFolder Config;
};

void ExpectRaises(const std::string& Message, void (*Call)()) {
    try {
        Call();
        ADD_FAILURE() << "no error, expected: " << Message;
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), Message);
    }
}

TEST_F(SettingsXdg, FirstRead_CreatesTheEmptyProgramFile) {
    EXPECT_EQ(ReadSetting(StartMinimizedName), "");
    ASSERT_TRUE(fs::is_regular_file(ProgramFile()));
    EXPECT_EQ(ReadWholeFile(ProgramFile()), "");
}

TEST_F(SettingsXdg, FirstWrite_CreatesTheProgramFile) {
    WriteSetting(StartMinimizedName, "1");
    EXPECT_EQ(ReadWholeFile(ProgramFile()), "StartMinimizado=1\n");
}

TEST_F(SettingsXdg, Values_ComeBackExactlyAndOnlyOneMeansMinimized) {
    const struct {
        std::string Value;
        bool Minimized;
    } Cases[] = {{"1", true},
                 {"0", false},
                 {"1 ", false},
                 {" 1", false},
                 {"01", false},
                 {"si", false},
                 {"", false},
                 {"1\n", false},
                 {"a=b", false},
                 {"x\\ny\r\\", false},
                 {"\xc3\xb1"
                  "and\xc3\xba",
                  false}};
    for (const auto& C : Cases) {
        WriteSetting(StartMinimizedName, C.Value);
        EXPECT_EQ(ReadSetting(StartMinimizedName), C.Value);
        EXPECT_EQ(IsStartMinimized(), C.Minimized) << C.Value;
    }
}

TEST_F(SettingsXdg, Writes_KeepTheOtherValues) {
    const std::pair<std::string, std::string> Values[] = {
        {"StartMinimizado", "1"}, {"a=b", "c=d"}, {"line\nbreak", "\\n"}, {"Empty", ""}};
    for (const auto& [Name, Value] : Values)
        WriteSetting(Name, Value);
    WriteSetting("startminimizado", "0");
    EXPECT_EQ(ReadSetting("StartMinimizado"), "0");
    for (std::size_t I = 1; I < std::size(Values); ++I)
        EXPECT_EQ(ReadSetting(Values[I].first), Values[I].second) << Values[I].first;
}

TEST_F(SettingsXdg, HandEditedFile_IsReadAsWritten) {
    const struct {
        std::string File;
        std::string Value;
    } Cases[] = {{"StartMinimizado=1\n", "1"},
                 {"StartMinimizado=1", "1"},
                 {"startMINIMIZADO=1\n", "1"},
                 {"StartMinimizado=1 \n", "1 "},
                 {"StartMinimizado =1\n", ""},
                 {"StartMinimizado=0\nStartMinimizado=1\n", "1"},
                 {"basura\nStartMinimizado=a=b\n", "a=b"},
                 {"StartMinimizado\\=1\n", ""},
                 {"", ""}};
    for (const auto& C : Cases) {
        fs::create_directories(Config.File("Quelvano147"));
        WriteWholeFile(ProgramFile(), C.File);
        EXPECT_EQ(ReadSetting(StartMinimizedName), C.Value) << C.File;
    }
}

TEST_F(SettingsXdg, RefusedWrite_RaisesAndLeavesTheFileWhole) {
    WriteSetting("Other", "kept");
    const FileSizeLimit Full(0);
    ExpectRaises("Failed to set data for 'StartMinimizado'",
                 [] { WriteSetting(StartMinimizedName, "1"); });
    EXPECT_EQ(ReadWholeFile(ProgramFile()), "Other=kept\n");
}

TEST_F(SettingsXdg, WriteCutShort_RaisesAndLeavesTheFileWhole) {
    WriteSetting("Other", "kept");
    {
        const FileSizeLimit Full(16);
        ExpectRaises("Failed to set data for 'StartMinimizado'",
                     [] { WriteSetting(StartMinimizedName, std::string(64, '1')); });
    }
    EXPECT_EQ(ReadWholeFile(ProgramFile()), "Other=kept\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Config.File("Quelvano147")), {}), 1);
}

TEST_F(SettingsXdg, RunAtStartup_WritesAQuotedEntryThatReadsBack) {
    // The program's path against the Exec line that must start it.
    const struct {
        std::string Path;
        std::string Exec;
    } Cases[] = {{"/usr/bin/quelvano", "Exec=/usr/bin/quelvano"},
                 {"/opt/Mi Programa/quelvano", "Exec=\"/opt/Mi Programa/quelvano\""},
                 {"/opt/a\"b/q", "Exec=\"/opt/a\\\\\"b/q\""},
                 {"/opt/$HOME/q", "Exec=\"/opt/\\\\$HOME/q\""},
                 {"/opt/back\\slash/q", "Exec=\"/opt/back\\\\\\\\slash/q\""},
                 {"/opt/100%/q", "Exec=/opt/100%%/q"},
                 {"/opt/it's/q", "Exec=\"/opt/it's/q\""},
                 {"/opt/line\nbreak/q", "Exec=\"/opt/line\\nbreak/q\""}};
    for (const auto& C : Cases) {
        SetRunAtStartup(C.Path, RunValueName, true);
        const std::string Text = ReadWholeFile(EntryFile());
        EXPECT_NE(Text.find("\n" + C.Exec + "\n"), std::string::npos) << Text;
        std::string Back;
        EXPECT_EQ(OpenUserSettingsKey(RunKeyPath, false)->ReadString(RunValueName, Back),
                  TValueRead::Found);
        EXPECT_EQ(Back, C.Path);
        EXPECT_TRUE(IsRunAtStartup(RunValueName)) << C.Path;
    }
}

// The desktop's own launcher must find the program behind the reserved characters. ("%%" is left
// out: the launcher looks for the program before it undoes the doubling, so it never finds it.)
TEST_F(SettingsXdg, RunAtStartup_EntryStartsTheProgramThroughTheDesktopLauncher) {
    if (std::system("command -v gio >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no gio launcher here";
    const fs::path Folder = Config.Path() / "Mi Programa $x \"q\" it's back\\slash";
    fs::create_directories(Folder);
    const std::string Program = (Folder / "quelvano").string();
    const std::string Marker = Config.File("started");
    WriteWholeFile(Program, "#!/bin/sh\ntouch '" + Marker + "'\n");
    fs::permissions(Program, fs::perms::owner_all);
    SetRunAtStartup(Program, RunValueName, true);

    ASSERT_EQ(std::system(("gio launch '" + EntryFile() + "' >/dev/null 2>&1").c_str()), 0);
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!fs::exists(Marker) && std::chrono::steady_clock::now() < Deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(fs::exists(Marker));
}

TEST_F(SettingsXdg, RunAtStartup_ClearedTwiceIsHarmless) {
    SetRunAtStartup("/usr/bin/quelvano", RunValueName, true);
    SetRunAtStartup("/usr/bin/quelvano", RunValueName, false);
    EXPECT_FALSE(fs::exists(EntryFile()));
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
    SetRunAtStartup("/usr/bin/quelvano", RunValueName, false);
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
}

TEST_F(SettingsXdg, RunAtStartup_ReadingAndClearingCreateNothing) {
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
    SetRunAtStartup("/usr/bin/quelvano", RunValueName, false);
    EXPECT_FALSE(fs::exists(Config.File("autostart")));
}

TEST_F(SettingsXdg, RunAtStartup_EntriesTheUserSwitchedOffOrEmptied) {
    const struct {
        std::string Body;
        bool Runs;
    } Cases[] = {{"Exec=/usr/bin/quelvano\n", true},
                 {"Exec = /usr/bin/quelvano\n", true},
                 {"Exec=/usr/bin/quelvano\nHidden=false\n", true},
                 {"Exec=/usr/bin/quelvano\nHidden=true\n", false},
                 {"Exec=/usr/bin/quelvano\nX-GNOME-Autostart-enabled=false\n", false},
                 {"Exec=\n", false},
                 {"Exec=\"\"\n", false},
                 {"Name=Quelvano\n", false},
                 {"Name=Quelvano\n[Desktop Action x]\nExec=/usr/bin/quelvano\n", false}};
    fs::create_directories(Config.File("autostart"));
    for (const auto& C : Cases) {
        WriteWholeFile(EntryFile(), "[Desktop Entry]\nType=Application\n" + C.Body);
        EXPECT_EQ(IsRunAtStartup(RunValueName), C.Runs) << C.Body;
    }
}

TEST_F(SettingsXdg, RunAtStartup_UnusableAutostartFolderRaises) {
    WriteWholeFile(Config.File("autostart"), "");
    ExpectRaises("Failed to set data for 'Quelvano'",
                 [] { SetRunAtStartup("/usr/bin/quelvano", RunValueName, true); });
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
}

TEST_F(SettingsXdg, ConfigHome_FallsBackToHomeWhenUnsetOrRelative) {
    setenv("HOME", Config.Path().c_str(), 1);
    for (const char* Xdg : {static_cast<const char*>(nullptr), "relative/config"}) {
        if (Xdg)
            setenv("XDG_CONFIG_HOME", Xdg, 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(Config.File(".config"));
        WriteSetting(StartMinimizedName, "1");
        EXPECT_EQ(ReadWholeFile(Config.File(".config/Quelvano147/settings.conf")),
                  "StartMinimizado=1\n");
    }
}

TEST_F(SettingsXdg, NoConfigHome_NothingHappens) {
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("HOME");
    WriteSetting(StartMinimizedName, "1");
    SetRunAtStartup("/usr/bin/quelvano", RunValueName, true);
    EXPECT_EQ(ReadSetting(StartMinimizedName), "");
    EXPECT_FALSE(IsRunAtStartup(RunValueName));
}

} // namespace
