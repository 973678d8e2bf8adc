#include "adapters/linux/LinuxAdapters.h"
#include "fakes/linux/FakeNetworkManager.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::vector<std::string> LoopbackDns() {
    std::vector<TAdapterDescription> Adapters;
    EXPECT_TRUE(ReadLinuxAdapters(Adapters));
    for (const TAdapterDescription& A : Adapters)
        if (A.Name == "lo")
            return A.DnsServers;
    ADD_FAILURE() << "no loopback adapter";
    return {};
}

// nmcli is there in every case, as on a machine where NetworkManager is installed but stopped;
// only the system bus says whether it runs.
TEST(LinuxAdapters_NetworkManager, NmcliIsStartedOnlyWhenTheBusHasNetworkManager) {
    enum class Bus { None, NameUnowned, NameOwned };
    const struct {
        Bus State;
        int NmcliCalls;
        std::vector<std::string> Dns;
    } Cases[] = {
        {Bus::None, 0, {}},
        {Bus::NameUnowned, 0, {}},
        {Bus::NameOwned, 1, {"192.0.2.99"}},
    };
    for (const auto& C : Cases) {
        const FakeNmcli Nmcli("printf 'GENERAL.DEVICE:lo\\nIP4.DNS[1]:192.0.2.99\\n'");
        std::unique_ptr<NoSystemBus> Without;
        std::unique_ptr<PrivateSystemBus> With;
        if (C.State == Bus::None)
            Without = std::make_unique<NoSystemBus>();
        else
            With = std::make_unique<PrivateSystemBus>();
        if (C.State == Bus::NameOwned)
            With->Own("org.freedesktop.NetworkManager");
        EXPECT_EQ(LoopbackDns(), C.Dns) << int(C.State);
        EXPECT_EQ(Nmcli.Calls(), C.NmcliCalls) << int(C.State);
    }
}

} // namespace
