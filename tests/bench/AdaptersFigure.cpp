// Prints the time of one enumeration of this machine's adapters, and of 64 synthetic adapters
// with four addresses each, as the median of repeated runs. On Linux also the enumeration with a
// system bus that NetworkManager is not on, which costs the question to the bus.
#include "adapters/IPHelper.h"
#include "fakes/FakeIpHelper.h"
#ifndef _WIN32
#include "fakes/linux/FakeNetworkManager.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double MedianMicroseconds(int Runs) {
    std::vector<double> Times;
    for (int I = 0; I < Runs; ++I) {
        std::int32_t Count = 0;
        TAdaptorRows Rows;
        const auto Start = std::chrono::steady_clock::now();
        ReadAdaptorRows(Count, Rows);
        const auto End = std::chrono::steady_clock::now();
        Times.push_back(std::chrono::duration<double, std::micro>(End - Start).count());
    }
    std::sort(Times.begin(), Times.end());
    return Times[Times.size() / 2];
}

} // namespace

int main() {
    LoadIpHelperLibrary();
    std::printf("adapters_enum_system_us: %.1f us\n", MedianMicroseconds(51));
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
