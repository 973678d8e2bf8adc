// Prints the time of one enumeration of this machine's adapters, and of 64 synthetic adapters
// with four addresses each, as the median of repeated runs. On Linux also the enumeration with a
// system bus that NetworkManager is not on, which costs the question to the bus. Then the check
// of an apply's verification: one read of the adapters with their connections and the comparison.
#include "adapters/IPHelper.h"
#include "base/TApplication.h"
#include "fakes/FakeIpHelper.h"
#include "ipset/ApplyVerdict.h"
#ifndef _WIN32
#include "fakes/linux/FakeNetworkManager.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

template <class Work> double MedianOf(int Runs, Work W) {
    std::vector<double> Times;
    for (int I = 0; I < Runs; ++I) {
        const auto Start = std::chrono::steady_clock::now();
        W();
        const auto End = std::chrono::steady_clock::now();
        Times.push_back(std::chrono::duration<double, std::micro>(End - Start).count());
    }
    std::sort(Times.begin(), Times.end());
    return Times[Times.size() / 2];
}

double MedianMicroseconds(int Runs) {
    return MedianOf(Runs, [] {
        std::int32_t Count = 0;
        TAdaptorRows Rows;
        ReadAdaptorRows(Count, Rows);
    });
}

} // namespace

int main() {
    TApplication App;
    LoadIpHelperLibrary();
    std::printf("adapters_enum_system_us: %.1f us\n", MedianMicroseconds(51));
    const std::unique_ptr<TLiveAdapters> Live = CreateLiveAdapters();
    const TIPSetValues Set = {"LAN 1",     false,        "192.0.2.10",    "255.255.255.0",
                              "192.0.2.1", "192.0.2.53", "198.51.100.53", {}};
    bool InForce = false;
    std::printf("verify_in_force_us: %.1f us\n", MedianOf(51, [&] {
                    Live->Refresh();
                    InForce = IsInForce(*Live, Set) || InForce;
                }));
#ifndef _WIN32
    {
        const PrivateSystemBus Bus;
        std::printf("adapters_enum_bus_without_nm_us: %.1f us\n", MedianMicroseconds(51));
    }
#endif

    FakeIpHelper Fake;
    for (std::uint32_t I = 1; I <= 64; ++I) {
        std::vector<TAdapterAddress> Addresses;
        for (int A = 1; A <= 4; ++A)
            Addresses.push_back({"192.0.2." + std::to_string(A), "255.255.255.0"});
        Fake.Adapters.push_back(FakeIpHelper::Adapter("eth" + std::to_string(I), I, Addresses));
        Fake.Adapters.back().DnsServers = {"192.0.2.53", "192.0.2.54"};
    }
    LoadIpHelperLibrary();
    std::printf("adapters_enum_64_us: %.1f us\n", MedianMicroseconds(501));
    return 0;
}
