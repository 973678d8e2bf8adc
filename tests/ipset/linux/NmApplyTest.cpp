// Applies IP sets through the program's own apply code to a real NetworkManager in a sandbox
// (nm-apply.sh starts it and runs this test inside its network namespace), and reads the outcome
// back from the interface q0: the kernel's addresses and routes, and our own adapter tree.
#include "base/linux/Process.h"
#include "data/ExtrasStore.h"
#include "fakes/FakeTray.h"
#include "fakes/FakeTree.h"
#include "fakes/TempFolder.h"
#include "fakes/TempStore.h"
#include "ipset/linux/ChangeBehindTheBack.h"
#include "ipset/o_IPSetManager.h"
#include "tray/ExtCtrlsX.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using TArgs = std::vector<std::string>;

std::string Output(const TArgs& Args) {
    return RunProcess(Args).Output;
}

std::string Trimmed(std::string Text) {
    while (!Text.empty() && Text.back() == '\n')
        Text.pop_back();
    return Text;
}

std::string DeviceState() {
    return Trimmed(Output({"nmcli", "-g", "GENERAL.STATE", "device", "show", "q0"}));
}

// The IPv4 (or global IPv6) addresses of q0 as "address/prefix", in the kernel's order.
std::vector<std::string> Addresses(bool V6 = false) {
    std::vector<std::string> Found;
    const std::string Text =
        Output({"ip", V6 ? "-6" : "-4", "-o", "addr", "show", "dev", "q0", "scope", "global"});
    const std::string Word = V6 ? " inet6 " : " inet ";
    for (std::size_t At = Text.find(Word); At != std::string::npos; At = Text.find(Word, At + 1)) {
        const std::size_t Start = At + Word.size();
        Found.push_back(Text.substr(Start, Text.find(' ', Start) - Start));
    }
    return Found;
}

std::string DefaultGateway() {
    const std::string Text = Output({"ip", "-4", "route", "show", "default", "dev", "q0"});
    const std::size_t Via = Text.find("default via ");
    if (Via == std::string::npos)
        return {};
    const std::size_t Start = Via + 12;
    return Text.substr(Start, Text.find(' ', Start) - Start);
}

// Polls, since NetworkManager finishes a DHCP activation after the apply has returned.
bool WaitFor(const std::function<bool()>& Condition) {
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Condition()) {
        if (std::chrono::steady_clock::now() > Deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

void Dhcp(const char* OnOff) {
    const char* Sandbox = std::getenv("QUELVANO_NM_SANDBOX");
    ASSERT_NE(Sandbox, nullptr);
    ASSERT_EQ(RunProcess({"bash", Sandbox, "dhcp", OnOff}).ExitCode, 0);
}

const char* const Success = "Cambio de IP satisfactorio!";
const std::vector<std::string> DhcpValues = {"0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0"};

class NmApply : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* Reason = std::getenv("QUELVANO_NM_SKIP"))
            GTEST_SKIP() << Reason;
        ASSERT_NE(std::getenv("NMSB_NS"), nullptr) << "run through nm-apply.sh";
        Manager.SetIPSetDataSet(Store.Db.IPSets());
        Manager.SetConnectionsDataSet(Store.Db.ConnectionNames());
        Manager.SetTrayIcon(&Tray);
        Manager.SetAdapterTreeview(&AdapterTree);
    }

    // A profile for q0 beside "LAN 1", which the sandbox made.
    void AddProfile(const std::string& Name, const TArgs& Settings = {}) {
        TArgs Add = {"nmcli",  "connection",  "add",      "type", "ethernet",
                     "ifname", "q0",          "con-name", Name,   "autoconnect",
                     "no",     "ipv6.method", "disabled"};
        Add.insert(Add.end(), Settings.begin(), Settings.end());
        const TProcessResult R = RunProcess(Add);
        ASSERT_EQ(R.ExitCode, 0) << Name << ": " << R.Errors;
    }

    // Stores a set for the connection and applies it; returns the balloon's title.
    std::string Apply(const std::string& Connection, bool IsDhcp,
                      const std::vector<std::string>& Values) {
        const int ID =
            PostIPSet(Store.Db, "Prueba", PostConnection(Store.Db, Connection), IsDhcp, Values);
        Tray.SetBalloonTitle("");
        Manager.ApplyIPSet(ID);
        return Tray.BalloonTitle();
    }

    // What our adapter tree shows of q0 under a group caption (its lines) or a label (the
    // value after it), read again now.
    std::vector<std::string> TreeShows(const std::string& Caption) {
        Manager.FillAdapterTree();
        std::vector<std::string> Values;
        std::string Root, Group;
        for (const std::string& Line : AdapterTree.Outline()) {
            if (Line[0] != ' ') {
                Root = Line;
                Group.clear();
            } else if (Line.rfind("  *", 0) == 0)
                Group = Line.substr(3);
            else if (Line.rfind(Caption + " : ", 2) == 2 && Root == "* q0")
                Values.push_back(Line.substr(Line.find(" : ") + 3));
            else if (Line.rfind("    ", 0) == 0 && Root == "* q0" && Group == Caption)
                Values.push_back(Line.substr(4));
        }
        return Values;
    }

    TempStore Store;
    FakeTray Fake;
    TTrayIcon Tray{nullptr, Fake.Services()};
    FakeTree AdapterTree;
    TgtIPSetManager Manager{nullptr};
};

// Names a shell would expand and names nmcli reads as its own words used to reach nmcli as
// something else: "help" printed the usage and ended with success, having changed nothing.
TEST_F(NmApply, StaticAndDhcpSetsReachEveryProfileName) {
    const std::vector<std::string> Names = {
        "LAN 1",
        "Conexión de área local 2",
        "a $(touch /tmp/nm-pwned) `id` & b; c|d <e> 'f'",
        "help",
        "--help",
        "uuid",
        "id",
    };
    for (std::size_t I = 0; I < Names.size(); ++I) {
        const std::string& Name = Names[I];
        SCOPED_TRACE(Name);
        if (Name != "LAN 1")
            AddProfile(Name);
        const std::string Ip = "192.0.2." + std::to_string(20 + I);
        EXPECT_EQ(
            Apply(Name, false, {Ip, "255.255.255.0", "192.0.2.1", "192.0.2.53", "198.51.100.53"}),
            Success)
            << Tray.BalloonHint();
        EXPECT_EQ(Trimmed(Output({"nmcli", "-g", "GENERAL.CONNECTION", "device", "show", "q0"})),
                  Name);
        EXPECT_EQ(Addresses(), (std::vector<std::string>{Ip + "/24"}));
        EXPECT_EQ(DefaultGateway(), "192.0.2.1");
        EXPECT_EQ(TreeShows("Direccion IP"), (std::vector<std::string>{Ip}));
        EXPECT_EQ(TreeShows("Mascara de Red"), (std::vector<std::string>{"255.255.255.0"}));
        EXPECT_EQ(TreeShows("Gateway"), (std::vector<std::string>{"192.0.2.1"}));
        EXPECT_EQ(TreeShows("Servidor DNS"),
                  (std::vector<std::string>{"192.0.2.53", "198.51.100.53"}));
        EXPECT_EQ(TreeShows("DHCP Enabled"), (std::vector<std::string>{"False"}));

        EXPECT_EQ(Apply(Name, true, DhcpValues), Success) << Tray.BalloonHint();
        ASSERT_TRUE(WaitFor([] { return DeviceState() == "100 (connected)"; })) << DeviceState();
        ASSERT_EQ(Addresses().size(), 1u);
        EXPECT_EQ(Addresses()[0].rfind("198.51.100.", 0), 0u) << Addresses()[0];
        EXPECT_EQ(DefaultGateway(), "198.51.100.1");
        // The DHCP server's name server replaces the two the static set gave.
        EXPECT_EQ(TreeShows("Servidor DNS"), (std::vector<std::string>{"198.51.100.53"}));
        EXPECT_EQ(TreeShows("DHCP Enabled"), (std::vector<std::string>{"True"}));
        EXPECT_EQ(TreeShows("Servidor DHCP"), (std::vector<std::string>{"198.51.100.1"}));
    }
    EXPECT_NE(access("/tmp/nm-pwned", F_OK), 0);
}

// As netsh does, a DHCP set is done once NetworkManager has taken it, not once a server answers:
// without one, the activation would otherwise hold the wait box for about 45 seconds and fail.
// The adapter read back shows DHCP without a lease: a warning.
TEST_F(NmApply, DhcpWithoutAServerReturnsWhileTheDeviceStillAsks) {
    Dhcp("off");
    EXPECT_EQ(Apply("LAN 1", true, DhcpValues), Success) << Tray.BalloonHint();
    EXPECT_EQ(Tray.BalloonHint(), "DHCP: Si\rSin respuesta del servidor DHCP todavia.");
    EXPECT_EQ(Tray.BalloonFlags(), TBalloonFlags::bfWarning);
    EXPECT_EQ(DeviceState(), "70 (connecting (getting IP configuration))");
    EXPECT_TRUE(Addresses().empty());
    EXPECT_TRUE(TreeShows("Direccion IP").empty());
    Dhcp("on");
    EXPECT_TRUE(WaitFor([] { return DeviceState() == "100 (connected)"; })) << DeviceState();
}

TEST_F(NmApply, ProfileThatDoesNotExistFailsEveryStep) {
    const std::vector<std::string> Before = Addresses();
    EXPECT_EQ(Apply("LAN 9", false, {"192.0.2.9", "255.255.255.0", "192.0.2.1", "", ""}),
              "Error al aplicar configuracion IP");
    EXPECT_EQ(Tray.BalloonHint(), "Paso 1 de 3: netsh termino con el codigo 10\r"
                                  "Paso 2 de 3: netsh termino con el codigo 10\r"
                                  "Paso 3 de 3: netsh termino con el codigo 10\r"
                                  "No se encontro el adaptador de la conexion \"LAN 9\".");
    EXPECT_EQ(Tray.BalloonFlags(), TBalloonFlags::bfError);
    EXPECT_EQ(Addresses(), Before);
}

// The profile holds its activation back for a minute. The address step gives up after 15
// seconds; the name-server steps reach the device without another activation. The device has
// the set's values all the same, and the adapter read back is what counts.
TEST_F(NmApply, StaticActivationThatHangsIsJudgedByWhatTheAdapterShows) {
    AddProfile("Lenta", {"connection.wait-activation-delay", "60000"});
    EXPECT_EQ(Apply("Lenta", false,
                    {"192.0.2.40", "255.255.255.0", "192.0.2.1", "192.0.2.53", "198.51.100.53"}),
              Success)
        << Tray.BalloonHint();
    EXPECT_EQ(Trimmed(Output({"nmcli", "-g", "ipv4.dns", "connection", "show", "id", "Lenta"})),
              "192.0.2.53,198.51.100.53");
}

// The console program, started as a process of its own, finds the profile in use, stores sets by
// import (one for a profile named as one of nmcli's own words) and by add, lists them and applies
// them through the same code as the window.
TEST_F(NmApply, ConsoleProgramStoresListsAndAppliesToTheSameProfiles) {
    TempFolder Data;
    setenv("XDG_DATA_HOME", PathText(Data.Path()).c_str(), 1);
    const auto Ctl = [](TArgs Args) {
        Args.insert(Args.begin(), QUELVANO_CTL_EXE);
        return RunProcess(Args);
    };
    AddProfile("path");
    const std::string InUse =
        Trimmed(Output({"nmcli", "-g", "GENERAL.CONNECTION", "device", "show", "q0"}));
    EXPECT_NE(Ctl({"connections"}).Output.find("   " + InUse + "\n"), std::string::npos) << InUse;

    const std::string Sets = Data.File("sets.json");
    WriteWholeFile(Sets, R"({"format": "quelvano-ipsets", "version": 1, "ipSets": [
        {"name": "consola", "connection": "LAN 1", "dhcp": true},
        {"name": "palabra", "connection": "path", "dhcp": false, "ipAddress": "192.0.2.60",
         "subnetMask": "255.255.0.0", "gateway": "192.0.2.1", "dns1": "192.0.2.53",
         "dns2": "198.51.100.53"}]})");
    EXPECT_EQ(Ctl({"import", Sets}).ExitCode, 0);
    const TProcessResult Added =
        Ctl({"add", "--name", "tercera", "--connection", "lan 1", "--ip", "192.0.2.70", "--mask",
             "255.255.255.0", "--gateway", "192.0.2.1", "--dns1", "192.0.2.53", "--dns2",
             "198.51.100.53"});
    EXPECT_EQ(Added.ExitCode, 0) << Added.Errors;
    const std::string Listed = Ctl({"list"}).Output;
    for (const char* Row :
         {"consola  LAN 1     DHCP\n", "palabra  path      192.0.2.60/255.255.0.0\n",
          "TERCERA  LAN 1     192.0.2.70/255.255.255.0\n"})
        EXPECT_NE(Listed.find(Row), std::string::npos) << Listed;

    const struct {
        const char* Key;
        const char* Profile;
        const char* Address;
    } Applies[] = {{"palabra", "path", "192.0.2.60/16"}, {"Tercera", "LAN 1", "192.0.2.70/24"}};
    for (const auto& A : Applies) {
        SCOPED_TRACE(A.Key);
        const TProcessResult Applied = Ctl({"apply", A.Key});
        EXPECT_EQ(Applied.ExitCode, 0) << Applied.Errors;
        EXPECT_EQ(Applied.Output.substr(0, Applied.Output.find('\n')), Success) << Applied.Output;
        EXPECT_EQ(Trimmed(Output({"nmcli", "-g", "GENERAL.CONNECTION", "device", "show", "q0"})),
                  A.Profile);
        EXPECT_EQ(Addresses(), (std::vector<std::string>{A.Address}));
    }
    // Two sets of one profile: the one applied last is the one in force.
    const auto Active = [&](const std::string& Name) {
        const std::string Json = Ctl({"list", "--json"}).Output;
        const std::size_t At = Json.find("\"active\": ", Json.find("\"name\": \"" + Name + "\""));
        return At == std::string::npos ? std::string() : Json.substr(At + 10, 4);
    };
    EXPECT_EQ(Active("TERCERA") + Active("consola"), "truefals");
    EXPECT_EQ(Ctl({"apply", "consola"}).ExitCode, 0);
    EXPECT_EQ(Active("TERCERA") + Active("consola"), "falstrue");
    // "LAN 1" from DHCP back to the address it had before, then forth to DHCP again.
    for (const char* Address : {"192.0.2.70/24", "198.51.100."}) {
        EXPECT_EQ(Ctl({"undo", "lan 1"}).Output.rfind(Success, 0), 0u);
        ASSERT_EQ(Addresses().size(), 1u);
        EXPECT_EQ(Addresses()[0].rfind(Address, 0), 0u) << Addresses()[0];
    }
    unsetenv("XDG_DATA_HOME");
}

// A set's extra address, extra gateway, extra name server and static IPv6 address reach the
// interface in one apply of the console program; a set without extras takes the IPv4 ones away
// again, and one whose IPv6 part is "automatic" the IPv6 address.
TEST_F(NmApply, ConsoleProgramAppliesExtrasAndTakesThemAwayAgain) {
    TempFolder Data;
    setenv("XDG_DATA_HOME", PathText(Data.Path()).c_str(), 1);
    for (const char* Ip : {"192.0.2.80", "192.0.2.81", "192.0.2.82"})
        ASSERT_EQ(RunProcess({QUELVANO_CTL_EXE, "add", "--name", Ip, "--connection", "LAN 1",
                              "--ip", Ip, "--mask", "255.255.255.0", "--gateway", "192.0.2.1",
                              "--dns1", "192.0.2.53", "--dns2", "198.51.100.53"})
                      .ExitCode,
                  0);
    {
        TgtIPDBManager Db{nullptr};
        Db.OpenDatabase(Data.File("quelvano/quelvano.ipdb"));
        SaveIPSetExtras(*Db.AdoConnection(), 1,
                        {{{"192.0.2.90", "255.255.255.0"}},
                         {{"192.0.2.254", 20}},
                         {"192.0.2.54"},
                         TIPv6Mode::Static,
                         {{"2001:db8::5", 64}},
                         "2001:db8::1",
                         {"2001:db8::53", "2001:db8::54"}});
        SaveIPSetExtras(*Db.AdoConnection(), 3, {{}, {}, {}, TIPv6Mode::Automatic, {}, {}, {}});
    }
    const std::string V6 = R"(2001\:db8\:\:1 2001\:db8\:\:53,2001\:db8\:\:54)"; // as -g writes it
    const struct {
        const char* Set;
        std::vector<std::string> IPv4, IPv6;
        std::string Profile; // IPv4 DNS; IPv6 gateway and DNS
    } Applies[] = {
        {"192.0.2.80",
         {"192.0.2.80/24", "192.0.2.90/24"},
         {"2001:db8::5/64"},
         "192.0.2.53,198.51.100.53,192.0.2.54 " + V6},
        {"192.0.2.81", {"192.0.2.81/24"}, {"2001:db8::5/64"}, "192.0.2.53,198.51.100.53 " + V6},
        {"192.0.2.82", {"192.0.2.82/24"}, {}, "192.0.2.53,198.51.100.53  "},
    };
    const auto Routes = [] { return Output({"ip", "-4", "route", "show", "default"}); };
    for (const auto& A : Applies) {
        SCOPED_TRACE(A.Set);
        const TProcessResult Applied = RunProcess({QUELVANO_CTL_EXE, "apply", A.Set});
        EXPECT_EQ(Applied.ExitCode, 0) << Applied.Output << Applied.Errors;
        const bool Extra = &A == &Applies[0];
        EXPECT_TRUE(WaitFor([&] {
            return Addresses() == A.IPv4 && Addresses(true) == A.IPv6 &&
                   (Routes().find("via 192.0.2.254 ") != std::string::npos) == Extra;
        })) << testing::PrintToString(Addresses())
            << Routes();
        std::string Profile;
        for (const char* Setting : {"ipv4.dns", "ipv6.gateway", "ipv6.dns"})
            Profile +=
                (Profile.empty() ? "" : " ") +
                Trimmed(Output({"nmcli", "-g", Setting, "connection", "show", "id", "LAN 1"}));
        EXPECT_EQ(Profile, A.Profile);
    }
    unsetenv("XDG_DATA_HOME");
}

// A change made behind the program's back shows in its marks within a second of the kernel's
// routing message: the follower's pause, then the refresh.
TEST_F(NmApply, ChangeBehindTheProgramsBackShowsInTheMarksWithinASecond) {
    FakeTree SetTree;
    Manager.SetIPSetTreeView(&SetTree);
    const auto Took = FollowChangeBehindTheBack(Manager, Store.Db);
    ASSERT_TRUE(Took);
    EXPECT_LT(Took->count(), 1000);
}

} // namespace
