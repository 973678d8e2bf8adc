#include "adapters/o_AdapterInformation.h"
#include "connections/PlatformDiscovery.h"
#include "connections/RegistryReader.h"
#include "connections/linux/NmcliDevices.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/linux/FakeNetworkManager.h"

#include <gtest/gtest.h>

namespace {

const std::string Root = "\\SYSTEM\\CurrentControlSet\\Control\\Network\\";

TEST(ParseNmcliDevices, SplitsTerseLines) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    const struct {
        std::string Output;
        Pairs Want;
    } Cases[] = {
        {"", {}},
        {"eth0:Wired 1\n", {{"eth0", "Wired 1"}}},
        {"eth0:Wired 1\nwlan0:\n", {{"eth0", "Wired 1"}, {"wlan0", ""}}},
        {"eth0:a\\:b\\\\c", {{"eth0", "a:b\\c"}}},
        {"garbage\n:x\neth1:y\n", {{"eth1", "y"}}},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(ParseNmcliDevices(C.Output), C.Want) << C.Output;
}

// NetworkManager runs: it holds its name on a private system bus.
class NetworkManagerRegistry : public ::testing::Test {
protected:
    void SetUp() override { Bus.Own("org.freedesktop.NetworkManager"); }

    PrivateSystemBus Bus;
};

TEST_F(NetworkManagerRegistry, ServesTheConnectionKeysOfEachDevice) {
    const FakeNmcli Nmcli("[ \"$*\" = '-t -f DEVICE,CONNECTION device' ] || exit 2\n"
                          "printf 'eth0:Wired connection 1\\nwlan0:Casa\\\\: 5G\\nlo:\\n'");
    auto R = CreateMachineRegistryReader();
    ASSERT_TRUE(R->OpenKeyReadOnly(Root));
    const std::vector<std::string> Classes = R->GetKeyNames();
    ASSERT_EQ(Classes.size(), 1u);
    ASSERT_TRUE(R->OpenKeyReadOnly(Root + Classes[0]));
    EXPECT_EQ(R->GetKeyNames(), (std::vector<std::string>{"eth0", "wlan0", "lo"}));

    const struct {
        std::string Device;
        bool Opens;
        std::string Name;
    } Cases[] = {{"eth0", true, "Wired connection 1"},
                 {"wlan0", true, "Casa: 5G"},
                 {"lo", true, ""},
                 {"ETH0", false, ""},
                 {"eth9", false, ""}};
    for (const auto& C : Cases) {
        EXPECT_EQ(R->OpenKeyReadOnly(Root + Classes[0] + "\\" + C.Device + "\\Connection"), C.Opens)
            << C.Device;
        EXPECT_EQ(R->ReadString("Name"), C.Name) << C.Device;
    }
    EXPECT_FALSE(R->OpenKeyReadOnly(Root + "{other}"));
}

TEST_F(NetworkManagerRegistry, FindsNothingWhenNmcliFails) {
    const FakeNmcli Nmcli("echo 'Error: NetworkManager is not running.' >&2\nexit 8");
    EXPECT_FALSE(CreateMachineRegistryReader()->OpenKeyReadOnly(Root));
}

// Without its name on the bus nmcli is not even asked, though it would answer.
TEST(NetworkManagerStopped, FindsNothingAndStartsNoNmcli) {
    const PrivateSystemBus Bus;
    const FakeNmcli Nmcli("printf 'eth0:Wired connection 1\\n'");
    EXPECT_FALSE(CreateMachineRegistryReader()->OpenKeyReadOnly(Root));
    EXPECT_EQ(Nmcli.Calls(), 0);
}

// The whole discovery over NetworkManager: each adapter gets the profile of its device.
TEST_F(NetworkManagerRegistry, DiscoveryAddsTheProfileOfEachAdapter) {
    const FakeNmcli Nmcli("printf 'wlan0:Casa\\neth0:Wired connection 1\\nlo:\\neth1:Oficina\\n'");
    FakeIpHelper IpHelper;
    IpHelper.Adapters = {FakeIpHelper::Adapter("eth1", 1, {}), FakeIpHelper::Adapter("lo", 2, {}),
                         FakeIpHelper::Adapter("wlan0", 3, {}),
                         FakeIpHelper::Adapter("eth9", 4, {})};
    AdapterManager()->RefreshAdapters();
    EXPECT_EQ(DiscoverWithPlatformReader().Names, (std::vector<std::string>{"Oficina", "Casa"}));
}

} // namespace
