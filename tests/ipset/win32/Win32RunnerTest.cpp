#include "base/TApplication.h"
#include "base/win32/WideText.h"
#include "fakes/TempFolder.h"
#include "ipset/CommandRunner.h"
#include "ipset/IPSetCommands.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Where the test set-up puts the fake netsh.exe, and Wine runs it instead of its own netsh.
std::wstring SystemFolder() {
    wchar_t Folder[MAX_PATH] = {};
    return std::wstring(Folder, GetSystemDirectoryW(Folder, MAX_PATH)) + L"\\";
}

std::wstring ExecutableFolder() {
    wchar_t Path[MAX_PATH] = {};
    const std::wstring Module(Path, GetModuleFileNameW(nullptr, Path, MAX_PATH));
    return Module.substr(0, Module.find_last_of(L'\\') + 1);
}

bool Exists(const std::wstring& Path) {
    return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Drives the real runner against the fake netsh.exe in the system folder.
class Win32Runner : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t Temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, Temp);
        FLog = FromWide(Temp) + "quelvano-netsh-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
        DeleteFileW(ToWide(FLog).c_str());
        SetEnvironmentVariableW(L"FAKE_NETSH_LOG", ToWide(FLog).c_str());
        SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", nullptr);
    }

    void TearDown() override {
        SetEnvironmentVariableW(L"FAKE_NETSH_LOG", nullptr);
        DeleteFileW(ToWide(FLog).c_str());
    }

    std::vector<std::string> Received() const {
        std::ifstream In(ToWide(FLog).c_str(), std::ios::binary);
        std::vector<std::string> Lines;
        std::string Line;
        while (std::getline(In, Line))
            Lines.push_back(Line);
        return Lines;
    }

    std::string FLog;
};

TIPSetValues Set(bool Dhcp) {
    TIPSetValues V;
    V.Connection = "Conexi\xC3\xB3n de \xC3\xA1rea local";
    V.Dhcp = Dhcp;
    V.IPAddress = "192.0.2.10";
    V.SubnetMask = "255.255.255.0";
    V.Gateway = "";
    V.Dns = "192.0.2.53";
    V.Dns2 = "";
    return V;
}

TEST_F(Win32Runner, NetshReceivesEachLineExactly) {
    const auto Runner = CreateCommandRunner(0);
    std::vector<std::string> Sent;
    for (bool Dhcp : {false, true})
        for (const TApplyStep& S : BuildApplySteps(Set(Dhcp))) {
            EXPECT_EQ(Runner->Run(S.CommandLine, SW_HIDE), 0) << S.CommandLine;
            Sent.push_back(S.CommandLine);
        }
    EXPECT_EQ(Received(), Sent);
}

TEST_F(Win32Runner, ResultIsTheExitCode) {
    const auto Runner = CreateCommandRunner(0);
    for (const char* Code : {"0", "1", "5", "-7", "1234"}) {
        SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", ToWide(Code).c_str());
        EXPECT_EQ(Runner->Run(BuildApplySteps(Set(true))[0].CommandLine, SW_HIDE), std::stoi(Code));
    }
}

TEST_F(Win32Runner, LineTooLongGivesMinusOne) {
    const auto Runner = CreateCommandRunner(0);
    EXPECT_EQ(Runner->Run(std::string(600, 'n'), SW_HIDE), -1);
    EXPECT_TRUE(Received().empty());
}

// Copies of the fake placed where a search would look first: beside the program and in the
// current folder. Without FAKE_NETSH_LOG each copy logs beside itself, so the logs tell which ran.
TEST_F(Win32Runner, NetshBesideTheProgramOrInTheCurrentFolderIsNotRun) {
    const TempFolder Current;
    const std::vector<std::wstring> Folders = {SystemFolder(), ExecutableFolder(),
                                               Current.Path().wstring() + L"\\"};
    for (std::size_t I = 1; I < Folders.size(); ++I)
        ASSERT_TRUE(CopyFileW((Folders[0] + L"netsh.exe").c_str(),
                              (Folders[I] + L"netsh.exe").c_str(), FALSE));
    SetEnvironmentVariableW(L"FAKE_NETSH_LOG", nullptr);
    wchar_t Before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, Before);
    SetCurrentDirectoryW(Folders[2].c_str());
    const int Result = CreateCommandRunner(0)->Run("netsh interface ip show config", SW_HIDE);
    SetCurrentDirectoryW(Before);
    std::vector<bool> Logged;
    for (const std::wstring& Folder : Folders) {
        Logged.push_back(Exists(Folder + L"netsh.log"));
        DeleteFileW((Folder + L"netsh.log").c_str());
    }
    for (std::size_t I = 1; I < Folders.size(); ++I)
        DeleteFileW((Folders[I] + L"netsh.exe").c_str());
    EXPECT_EQ(Result, 0);
    EXPECT_EQ(Logged, (std::vector<bool>{true, false, false}));
}

TEST_F(Win32Runner, PendingMessagesAreProcessedOnceAfterTheStart) {
    int Processed = 0;
    Application().OnProcessMessages = [&] { ++Processed; };
    const auto Runner = CreateCommandRunner(0);
    Runner->Run(BuildApplySteps(Set(true))[0].CommandLine, SW_HIDE);
    Runner->Run(std::string(600, 'n'), SW_HIDE); // not started
    Application().OnProcessMessages = nullptr;
    EXPECT_EQ(Processed, 1);
}

} // namespace
