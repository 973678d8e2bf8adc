// Prints what the enumeration reads in the network namespace it runs in, one key=value per line,
// for the namespace test to check from outside.
#include "adapters/IPHelper.h"
#include "base/TextUtils.h"

#include <cstdio>

int main() {
    std::int32_t Count = 0;
    TAdaptorRows Rows;
    const std::uint32_t Result = ReadAdaptorRows(Count, Rows);
    std::printf("result=%u\ncount=%d\n", Result, Count);
    for (const TAdaptorInfo& R : Rows) {
        const std::string Name = Utf16ToUtf8(R.AdapterName);
        auto Put = [&](const char* Key, const std::string& Value) {
            std::printf("%s.%s=%s\n", Name.c_str(), Key, Value.c_str());
        };
        Put("index", std::to_string(R.AdaptorIndex));
        Put("type", std::to_string(R.AdaptorType));
        Put("mac", R.MacAddress);
        Put("dhcp", std::to_string(R.DHCPEnabled));
        Put("ip", R.CurrIPAddress);
        Put("mask", R.CurrIPMask);
        Put("iptot", std::to_string(R.IPAddressTot));
        Put("gwtot", std::to_string(R.GatewayTot));
        Put("gw", R.GatewayList[0]);
        Put("dnstot", std::to_string(R.DNSServerTot));
        Put("dns", R.DNSServerList[0]);
        std::string IPv6;
        for (const TIPv6AddressInfo& A : R.IPv6AddressList)
            IPv6 += " " + A.Address + "/" + std::to_string(A.PrefixLength) + (A.Static ? "*" : "");
        Put("ipv6", IPv6);
        Put("gw6", R.IPv6GatewayList.empty() ? "" : R.IPv6GatewayList[0]);
    }
    return Result == 0 ? 0 : 1;
}
