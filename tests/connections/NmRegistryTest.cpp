#include "adapters/o_AdapterInformation.h"
#include "connections/PlatformDiscovery.h"
#include "connections/RegistryReader.h"
#include "connections/linux/NmcliDevices.h"
#include "fakes/FakeIpHelper.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

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

// Puts a fake nmcli first on PATH for the life of the fixture.
class NetworkManagerRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        FDir =
            fs::temp_directory_path() /
            ("quelvano-nmcli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(FDir);
        FOldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (FDir.string() + ":" + FOldPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", FOldPath.c_str(), 1);
        fs::remove_all(FDir);
    }
    void FakeNmcli(const std::string& Body) {
        const fs::path Script = FDir / "nmcli";
        std::ofstream(Script) << "#!/bin/sh\n" << Body << "\n";
        fs::permissions(Script, fs::perms::owner_all);
    }

    fs::path FDir;
    std::string FOldPath;
};

TEST_F(NetworkManagerRegistry, ServesTheConnectionKeysOfEachDevice) {
    FakeNmcli("[ \"$*\" = '-t -f DEVICE,CONNECTION device' ] || exit 2\n"
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

TEST_F(NetworkManagerRegistry, FindsNothingWhenNetworkManagerDoesNotRun) {
    FakeNmcli("echo 'Error: NetworkManager is not running.' >&2\nexit 8");
    EXPECT_FALSE(CreateMachineRegistryReader()->OpenKeyReadOnly(Root));
}

// The whole discovery over NetworkManager: each adapter gets the profile of its device.
TEST_F(NetworkManagerRegistry, DiscoveryAddsTheProfileOfEachAdapter) {
    FakeNmcli("printf 'wlan0:Casa\\neth0:Wired connection 1\\nlo:\\neth1:Oficina\\n'");
    FakeIpHelper IpHelper;
    IpHelper.Adapters = {FakeIpHelper::Adapter("eth1", 1, {}), FakeIpHelper::Adapter("lo", 2, {}),
                         FakeIpHelper::Adapter("wlan0", 3, {}),
                         FakeIpHelper::Adapter("eth9", 4, {})};
    AdapterManager()->RefreshAdapters();
    EXPECT_EQ(DiscoverWithPlatformReader().Names, (std::vector<std::string>{"Oficina", "Casa"}));
}

} // namespace
