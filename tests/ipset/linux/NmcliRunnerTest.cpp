#include "base/TApplication.h"
#include "ipset/CommandRunner.h"
#include "ipset/IPSetCommands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A fake nmcli first on PATH: it appends its arguments, one per line and a "--" after the last,
// to the log, prints FAKE_NMCLI_DEVICES when asked for a profile's devices and FAKE_NMCLI_ROUTES
// for its routes, and exits with the
// code in FAKE_NMCLI_EXIT.
class NmcliRunner : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = fs::temp_directory_path() /
               ("fake-nmcli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(FDir);
        FLog = FDir / "log";
        std::ofstream(FDir / "nmcli")
            << "#!/bin/sh\n"
               "for a in \"$@\"; do printf '%s\\n' \"$a\" >> \"$FAKE_NMCLI_LOG\"; done\n"
               "echo -- >> \"$FAKE_NMCLI_LOG\"\n"
               "[ \"$2\" = GENERAL.DEVICES ] && printf %s \"$FAKE_NMCLI_DEVICES\"\n"
               "[ \"$2\" = ipv4.routes ] && printf %s \"$FAKE_NMCLI_ROUTES\"\n"
               "exit ${FAKE_NMCLI_EXIT:-0}\n";
        fs::permissions(FDir / "nmcli", fs::perms::owner_all);
        FOldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (FDir.string() + ":" + FOldPath).c_str(), 1);
        setenv("FAKE_NMCLI_LOG", FLog.c_str(), 1);
        unsetenv("FAKE_NMCLI_EXIT");
        unsetenv("FAKE_NMCLI_DEVICES");
        unsetenv("FAKE_NMCLI_ROUTES");
    }

    void TearDown() override {
        setenv("PATH", FOldPath.c_str(), 1);
        fs::remove_all(FDir);
    }

    // The argument vectors nmcli received, in order.
    std::vector<std::vector<std::string>> Calls() const {
        std::vector<std::vector<std::string>> Result(1);
        std::ifstream In(FLog);
        std::string Line;
        while (std::getline(In, Line)) {
            if (Line == "--")
                Result.emplace_back();
            else
                Result.back().push_back(Line);
        }
        Result.pop_back();
        return Result;
    }

    std::vector<int> RunAll(const TIPSetValues& V) {
        const auto Runner = CreateCommandRunner(0);
        std::vector<std::string> Lines;
        for (const TApplyStep& S : BuildApplySteps(V))
            Lines.push_back(S.CommandLine);
        Runner->BeginApply(Lines);
        std::vector<int> Results;
        for (const std::string& Line : Lines)
            Results.push_back(Runner->Run(Line, 0));
        Runner->EndApply();
        return Results;
    }

    fs::path FDir;
    fs::path FLog;
    std::string FOldPath;
};

TIPSetValues Set(bool Dhcp, std::string Gateway = "192.0.2.1") {
    TIPSetValues V;
    V.Connection = "LAN 1";
    V.Dhcp = Dhcp;
    V.IPAddress = "192.0.2.10";
    V.SubnetMask = "255.255.255.0";
    V.Gateway = std::move(Gateway);
    V.Dns = "192.0.2.53";
    V.Dns2 = "198.51.100.53";
    return V;
}

using Argv = std::vector<std::string>;

Argv Up(const std::string& C, const char* Wait) {
    return {"--wait", Wait, "connection", "up", "id", C};
}

Argv Routes(const std::string& C) {
    return {"-g", "ipv4.routes", "connection", "show", "id", C};
}

Argv Devices(const std::string& C) {
    return {"-g", "GENERAL.DEVICES", "connection", "show", "id", C};
}

// The profile is named after "id" whatever it is called; name servers reach a profile that is
// active through a reapply on its device, and one that is not through an activation. Setting the
// address takes away the default routes extra gateways added, and no other route.
TEST_F(NmcliRunner, StaticSetReachesNmcliAsArgumentVectors) {
    // The name would be harmful in a shell; with argument vectors it is one argument.
    TIPSetValues V = Set(false);
    V.Connection = "help $(touch pwned); x";
    const std::string C = V.Connection;
    const Argv AddressChange = {"connection",
                                "modify",
                                "id",
                                C,
                                "ipv4.method",
                                "manual",
                                "ipv4.addresses",
                                "192.0.2.10/24",
                                "ipv4.gateway",
                                "192.0.2.1",
                                "-ipv4.routes",
                                "0.0.0.0/0 192.0.2.254 20"};
    const Argv DnsChange = {"connection",           "modify", "id",       C,
                            "ipv4.ignore-auto-dns", "yes",    "ipv4.dns", "192.0.2.53"};
    const Argv AddedDns = {"connection", "modify", "id", C, "+ipv4.dns", "198.51.100.53"};

    setenv("FAKE_NMCLI_DEVICES", "eth0\n", 1);
    setenv("FAKE_NMCLI_ROUTES",
           "0.0.0.0/0 192.0.2.254 20, 10.1.0.0/16 192.0.2.2, 0.0.0.0/0 192.0.2.253 5 table=5\n", 1);
    EXPECT_EQ(RunAll(V), (std::vector<int>{0, 0, 0}));
    const Argv Reapply = {"device", "reapply", "eth0"};
    EXPECT_EQ(Calls(), (std::vector<Argv>{Routes(C), AddressChange, Up(C, "15"), DnsChange,
                                          Devices(C), Reapply, AddedDns, Devices(C), Reapply}));
    EXPECT_FALSE(fs::exists("pwned"));

    fs::remove(FLog);
    unsetenv("FAKE_NMCLI_DEVICES");
    RunAll(V);
    EXPECT_EQ(Calls(),
              (std::vector<Argv>{Routes(C), AddressChange, Up(C, "15"), DnsChange, Devices(C),
                                 Up(C, "15"), AddedDns, Devices(C), Up(C, "15")}));
}

TEST_F(NmcliRunner, DhcpSetReturnsTheConnectionToAutomaticWithoutWaiting) {
    TIPSetValues V = Set(true);
    EXPECT_EQ(RunAll(V), (std::vector<int>{0, 0}));
    EXPECT_EQ(Calls(), (std::vector<Argv>{
                           Routes("LAN 1"),
                           {"connection", "modify", "id", "LAN 1", "ipv4.method", "auto",
                            "ipv4.addresses", "", "ipv4.gateway", ""},
                           Up("LAN 1", "0"),
                           {"connection", "modify", "id", "LAN 1", "ipv4.ignore-auto-dns", "no",
                            "ipv4.dns", ""},
                           Devices("LAN 1"),
                           Up("LAN 1", "0"),
                       }));
}

// Activating after the set's own address and again after its extras would drop the connection
// twice: the lines of a set with extras change the profile, the last one activates it.
TEST_F(NmcliRunner, SetWithExtrasIsActivatedOnceAtItsLastLine) {
    TIPSetValues V = Set(true);
    V.Extras.IPv6 = TIPv6Mode::Automatic;
    EXPECT_EQ(RunAll(V), (std::vector<int>{0, 0, 0}));
    ASSERT_EQ(Calls().size(), 5u); // the routes, three changes, one activation
    EXPECT_EQ(Calls()[4], Up("LAN 1", "0"));
}

TEST_F(NmcliRunner, OddValuesAsNetworkManagerTakesThem) {
    TIPSetValues V = Set(false, "0.0.0.0");
    V.SubnetMask = "255.255.255.128";
    RunAll(V);
    ASSERT_GE(Calls().size(), 2u);
    EXPECT_EQ(Calls()[1], (Argv{"connection", "modify", "id", "LAN 1", "ipv4.method", "manual",
                                "ipv4.addresses", "192.0.2.10/25", "ipv4.gateway", ""}));
}

// Nothing ran, so the step reports a start that failed rather than a code nmcli never gave.
TEST_F(NmcliRunner, UntranslatableLineRunsNothingAndGivesMinusOne) {
    TIPSetValues V = Set(false);
    V.SubnetMask = "255.0.255.0";
    const auto Runner = CreateCommandRunner(0);
    EXPECT_EQ(Runner->Run(BuildApplySteps(V)[0].CommandLine, 0), -1);
    EXPECT_EQ(Runner->Run("netsh interface ip show config", 0), -1);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(NmcliRunner, ExitCodeOfAFailedModifyIsTheResultAndSkipsTheUp) {
    setenv("FAKE_NMCLI_EXIT", "10", 1);
    const auto Runner = CreateCommandRunner(0);
    EXPECT_EQ(Runner->Run(BuildApplySteps(Set(true))[0].CommandLine, 0), 10);
    EXPECT_EQ(Calls().size(), 2u); // the routes, the modify
}

TEST_F(NmcliRunner, MissingNmcliGivesMinusOne) {
    setenv("PATH", FDir.c_str(), 1);
    fs::remove(FDir / "nmcli");
    const auto Runner = CreateCommandRunner(0);
    EXPECT_EQ(Runner->Run(BuildApplySteps(Set(true))[0].CommandLine, 0), -1);
}

TEST_F(NmcliRunner, PendingMessagesAreProcessedOnceAfterTheStart) {
    int Processed = 0;
    Application().OnProcessMessages = [&] { ++Processed; };
    const auto Runner = CreateCommandRunner(0);
    Runner->Run(BuildApplySteps(Set(false))[1].CommandLine, 0); // three nmcli runs
    Application().OnProcessMessages = nullptr;
    EXPECT_EQ(Processed, 1);
}

} // namespace
