#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Output and exit status of a shell command line built by the test itself.
struct TRun {
    std::string Output;
    int Status = -1;
};

TRun Shell(const std::string& Command) {
    TRun R;
    FILE* Pipe = popen((Command + " 2>&1").c_str(), "r");
    if (Pipe == nullptr)
        return R;
    char Buffer[512];
    while (std::fgets(Buffer, sizeof Buffer, Pipe) != nullptr)
        R.Output += Buffer;
    R.Status = pclose(Pipe);
    return R;
}

std::map<std::string, std::string> Parse(const std::string& Output) {
    std::map<std::string, std::string> Values;
    std::istringstream In(Output);
    std::string Line;
    while (std::getline(In, Line)) {
        const std::size_t Eq = Line.find('=');
        if (Eq != std::string::npos)
            Values[Line.substr(0, Eq)] = Line.substr(Eq + 1);
    }
    return Values;
}

std::string MacFromSysfs(std::string Text) {
    while (!Text.empty() && (Text.back() == '\n' || Text.back() == ' '))
        Text.pop_back();
    for (char& C : Text)
        C = C == ':' ? '-' : static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return Text;
}

// A namespace of our own with a veth pair in it; nothing leaves it. Removed when done.
class NamespaceTest : public ::testing::Test {
protected:
    std::string Ns = "qv5t" + std::to_string(getpid());
    std::string EtcDir = "/etc/netns/" + Ns;
    bool Made = false;

    void SetUp() override {
        if (geteuid() != 0)
            GTEST_SKIP() << "network namespaces need root";
        const TRun Add = Shell("ip netns add " + Ns);
        if (Add.Status != 0)
            GTEST_SKIP() << "cannot make a network namespace: " << Add.Output;
        Made = true;
        const std::string In = "ip -n " + Ns + " ";
        for (const std::string& Step :
             {In + "link add qva type veth peer name qvb", In + "addr add 192.0.2.10/24 dev qva",
              In + "addr add 2001:db8::10/64 dev qva nodad", In + "link set qva up",
              In + "link set qvb up", In + "route add default via 192.0.2.1 dev qva",
              In + "-6 route add default via 2001:db8::1 dev qva"}) {
            const TRun R = Shell(Step);
            ASSERT_EQ(R.Status, 0) << Step << ": " << R.Output;
        }
        mkdir("/etc/netns", 0755);
        mkdir(EtcDir.c_str(), 0755);
        std::ofstream(EtcDir + "/resolv.conf") << "nameserver 192.0.2.53\n";
    }

    void TearDown() override {
        if (!Made)
            return;
        std::remove((EtcDir + "/resolv.conf").c_str());
        rmdir(EtcDir.c_str());
        Shell("ip netns del " + Ns);
    }

    std::string InNs(const std::string& Command) {
        return Shell("ip netns exec " + Ns + " " + Command).Output;
    }
};

TEST_F(NamespaceTest, RecordsCarryTheNamespaceConfiguration) {
    const TRun Dump = Shell("ip netns exec " + Ns + " " ADAPTERS_DUMP);
    ASSERT_EQ(Dump.Status, 0) << Dump.Output;
    auto V = Parse(Dump.Output);
    EXPECT_EQ(V["result"], "0");
    EXPECT_EQ(V["count"], "3"); // lo, qva, qvb

    EXPECT_EQ(V["qva.ip"], "192.0.2.10");
    EXPECT_EQ(V["qva.mask"], "255.255.255.0");
    EXPECT_EQ(V["qva.iptot"], "1");
    EXPECT_EQ(V["qva.gwtot"], "1");
    EXPECT_EQ(V["qva.gw"], "192.0.2.1");
    EXPECT_EQ(V["qva.type"], "6");
    EXPECT_EQ(V["qva.dhcp"], "0");
    EXPECT_EQ(V["qva.index"],
              InNs("cat /sys/class/net/qva/ifindex").substr(0, V["qva.index"].size()));
    EXPECT_EQ(V["qva.mac"], MacFromSysfs(InNs("cat /sys/class/net/qva/address")));

    EXPECT_NE(V["qva.ipv6"].find(" 2001:db8::10/64*"), std::string::npos) << V["qva.ipv6"];
    EXPECT_EQ(V["qva.gw6"], "2001:db8::1");
    EXPECT_EQ(V["qvb.ip"], "  0.  0.  0.  0");
    EXPECT_EQ(V["qvb.gw"], "");
    EXPECT_EQ(V["lo.type"], "24");
    EXPECT_EQ(V["lo.mac"], "00-00-00-00-00-00");
    EXPECT_EQ(V["lo.dns"], ""); // the empty chain head still counts

    if (Shell("nmcli -t -f RUNNING general").Output.find("running") != 0) {
        EXPECT_EQ(V["qva.dnstot"], "1");
        EXPECT_EQ(V["qva.dns"], "192.0.2.53");
    }
}

} // namespace
