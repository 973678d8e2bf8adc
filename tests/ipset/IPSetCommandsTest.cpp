#include "ipset/IPSetCommands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TIPSetValues Static(std::string Gateway = "192.0.2.1", std::string Dns2 = "198.51.100.53") {
    TIPSetValues V;
    V.Connection = "LAN 1";
    V.IPAddress = "192.0.2.10";
    V.SubnetMask = "255.255.255.0";
    V.Gateway = std::move(Gateway);
    V.Dns = "192.0.2.53";
    V.Dns2 = std::move(Dns2);
    return V;
}

TIPSetValues Dhcp() {
    TIPSetValues V = Static();
    V.Dhcp = true;
    return V;
}

std::vector<std::string> Lines(const TIPSetValues& V) {
    std::vector<std::string> Result;
    for (const TApplyStep& S : BuildApplySteps(V))
        Result.push_back(S.CommandLine);
    return Result;
}

std::vector<int> Progress(const TIPSetValues& V) {
    std::vector<int> Result;
    for (const TApplyStep& S : BuildApplySteps(V))
        Result.push_back(S.Progress);
    return Result;
}

TEST(IPSetCommands_Lines, StaticSetByteForByte) {
    EXPECT_EQ(Lines(Static()),
              (std::vector<std::string>{
                  "netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.255.255.0 "
                  "192.0.2.1 1",
                  "netsh interface ip set dns \"LAN 1\"  static 192.0.2.53 primary",
                  "netsh interface ip add dns \"LAN 1\" 198.51.100.53 2"}));
    EXPECT_EQ(Progress(Static()), (std::vector<int>{50, 70, 90}));
}

TEST(IPSetCommands_Lines, DhcpSetIgnoresItsAddressesAndKeepsTrailingBlanks) {
    TIPSetValues V = Dhcp();
    V.IPAddress = "garbage";
    EXPECT_EQ(Lines(V), (std::vector<std::string>{
                            "netsh interface ip set address \"LAN 1\"  dhcp ",
                            "netsh interface ip set dns \"LAN 1\"  dhcp ",
                        }));
    EXPECT_EQ(Progress(V), (std::vector<int>{70, 90}));
}

TEST(IPSetCommands_Lines, ValuesAreUsedAsStored) {
    const struct {
        TIPSetValues Values;
        size_t Line;
        std::string Expected;
    } Cases[] = {
        {Static("0.0.0.0"), 0,
         "netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.255.255.0 0.0.0.0 1"},
        {Static(""), 0,
         "netsh interface ip set address \"LAN 1\"  static 192.0.2.10 255.255.255.0  1"},
        {Static("192.0.2.1", ""), 2, "netsh interface ip add dns \"LAN 1\"  2"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(Lines(C.Values).at(C.Line), C.Expected);
}

TEST(IPSetCommands_Safety, RefusesValuesThatCouldLeaveTheirPlace) {
    const struct {
        const char* Label;
        void (*Change)(TIPSetValues&);
        bool Safe;
    } Cases[] = {
        {"as stored", [](TIPSetValues&) {}, true},
        {"empty gateway", [](TIPSetValues& V) { V.Gateway.clear(); }, true},
        {"accented name", [](TIPSetValues& V) { V.Connection = "Conexi\xC3\xB3n de red"; }, true},
        {"quote in name", [](TIPSetValues& V) { V.Connection = "LAN\" 1"; }, false},
        {"line feed in name", [](TIPSetValues& V) { V.Connection = "LAN\n1"; }, false},
        {"tab in name", [](TIPSetValues& V) { V.Connection = "LAN\t1"; }, false},
        {"blank in address", [](TIPSetValues& V) { V.IPAddress = "1.2.3.4 5"; }, false},
        {"ampersand in mask", [](TIPSetValues& V) { V.SubnetMask = "255&"; }, false},
        {"letter in gateway", [](TIPSetValues& V) { V.Gateway = "a.b.c.d"; }, false},
        {"quote in dns", [](TIPSetValues& V) { V.Dns = "1\""; }, false},
        {"blank in dns2", [](TIPSetValues& V) { V.Dns2 = " 1"; }, false},
        {"backslash in name", [](TIPSetValues& V) { V.Connection = "LAN\\"; }, false},
        {"octal group", [](TIPSetValues& V) { V.IPAddress = "010.0.0.1"; }, false},
        {"one number", [](TIPSetValues& V) { V.Gateway = "3232235777"; }, false},
        {"one group", [](TIPSetValues& V) { V.Dns = "1"; }, false},
        {"five groups", [](TIPSetValues& V) { V.SubnetMask = "255.255.255.0.0"; }, false},
        {"zero address", [](TIPSetValues& V) { V.Gateway = "0.0.0.0"; }, true},
        {"zeros written twice", [](TIPSetValues& V) { V.IPAddress = "192.168.00.1"; }, true},
    };
    for (const auto& C : Cases) {
        TIPSetValues V = Static();
        C.Change(V);
        EXPECT_EQ(IsSafeToApply(V), C.Safe) << C.Label;
    }
}

TEST(IPSetCommands_Safety, DhcpSetIsNotJudgedByAddressesItDoesNotUse) {
    TIPSetValues V = Dhcp();
    V.Gateway = "x y";
    EXPECT_TRUE(IsSafeToApply(V));
    V.Connection = "a\"b";
    EXPECT_FALSE(IsSafeToApply(V));
}

// The check made by the elevated copy that is handed an apply's lines.
TEST(IPSetCommands_Safety, OnlyTheLinesOfAnApplyOfSafeValuesPass) {
    const std::vector<std::string> S = Lines(Static()), H = Lines(Dhcp());
    const auto Named = [](const std::string& Name, TIPSetValues V) {
        V.Connection = Name;
        return Lines(V);
    };
    const auto Changed = [](std::vector<std::string> L, size_t I, const std::string& Line) {
        L[I] = Line;
        return L;
    };
    const struct {
        const char* Label;
        std::vector<std::string> Lines;
        bool Safe;
    } Cases[] = {
        {"static set", S, true},
        {"DHCP set", H, true},
        {"empty gateway and alternate DNS", Lines(Static("", "")), true},
        {"accented name", Named("Conexi\xC3\xB3n de \xC3\xA1rea local", Dhcp()), true},
        {"nothing", {}, false},
        {"a line missing", {S[0], S[1]}, false},
        {"a line more", {H[0], H[1], H[1]}, false},
        {"lines in another order", {H[1], H[0]}, false},
        {"lines of two connections", {S[0], S[1], Named("LAN 2", Static())[2]}, false},
        {"quote in the name", Named("LAN\" 1", Dhcp()), false},
        {"control character in the name", Named("LAN\x01", Dhcp()), false},
        {"backslash that escapes the closing quote", Named("LAN 1\\", Static()), false},
        {"second command on the line",
         Changed(H, 1, H[1] + "\r\nnetsh firewall set opmode disable"), false},
        {"command in an address", Lines(Static("192.0.2.1&calc")), false},
        {"another program", Changed(H, 0, "cmd /c " + H[0]), false},
        {"another netsh command", Changed(S, 2, "netsh interface ip delete dns \"LAN 1\" all"),
         false},
        {"other netsh context", {"netsh advfirewall set allprofiles state off"}, false},
        {"other metric", Changed(S, 0, S[0].substr(0, S[0].size() - 1) + "2"), false},
        {"blanks changed", Changed(H, 0, "netsh interface ip set address \"LAN 1\" dhcp"), false},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(AreSafeApplyLines(C.Lines), C.Safe) << C.Label;
}

TEST(IPSetCommands_Balloon, SuccessTexts) {
    EXPECT_EQ(SuccessBalloonText(Static()), "IP: 192.0.2.10\rMascara de subred: 255.255.255.0\r"
                                            "Gateway: 192.0.2.1\rDNS preferido: 192.0.2.53\r"
                                            "DNS alternativo: 198.51.100.53\rDHCP: No");
    EXPECT_EQ(SuccessBalloonText(Dhcp()), "DHCP: Si");
}

TEST(IPSetCommands_Balloon, OneLinePerFailedStep) {
    const struct {
        std::vector<TStepOutcome> Outcomes;
        std::string Expected;
    } Cases[] = {
        {{{0, false, ""}, {0, false, ""}, {0, false, ""}}, ""},
        {{{0, false, ""}, {1, false, ""}, {0, false, ""}},
         "Paso 2 de 3: netsh termino con el codigo 1"},
        {{{-1, false, ""}, {-1, false, ""}},
         "Paso 1 de 2: no se pudo ejecutar netsh\rPaso 2 de 2: no se pudo ejecutar netsh"},
        {{{0, false, ""}, {0, true, "sin memoria"}},
         "Paso 2 de 2: error al ejecutar netsh: sin memoria"},
        {{{0, false, ""}, {0, false, ""}, {-5, false, ""}},
         "Paso 3 de 3: netsh termino con el codigo -5"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(FailureBalloonText(C.Outcomes), C.Expected);
}

} // namespace
