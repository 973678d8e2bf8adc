#include "base/TApplication.h"
#include "base/win32/WideText.h"
#include "ipset/CommandRunner.h"
#include "ipset/IPSetCommands.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Drives the real runner against the fake netsh.exe built beside this test executable, which
// the system finds first because it searches the application's folder first.
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

TEST_F(Win32Runner, ProgramThatCannotBeFoundGivesMinusOne) {
    const auto Runner = CreateCommandRunner(0);
    EXPECT_EQ(Runner->Run("quelvano-no-such-program interface ip set dns \"x\"  dhcp ", SW_HIDE),
              -1);
    EXPECT_EQ(Runner->Run(std::string(600, 'n'), SW_HIDE), -1);
    EXPECT_TRUE(Received().empty());
}

TEST_F(Win32Runner, PendingMessagesAreProcessedOnceAfterTheStart) {
    int Processed = 0;
    Application().OnProcessMessages = [&] { ++Processed; };
    const auto Runner = CreateCommandRunner(0);
    Runner->Run(BuildApplySteps(Set(true))[0].CommandLine, SW_HIDE);
    Runner->Run("quelvano-no-such-program", SW_HIDE);
    Application().OnProcessMessages = nullptr;
    EXPECT_EQ(Processed, 1);
}

} // namespace
