#include "adapters/IPHelper.h"
#include "ipset/ExtraChecks.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

// The real IPHLPAPI.DLL of the system the test runs on.
TEST(SystemAdapters_Windows, RealLibraryListsWellFormedAdapters) {
    SetIpHelperLoader(nullptr);
    std::int32_t Count = 0;
    TAdaptorRows Rows;
    ASSERT_EQ(ReadAdaptorRows(Count, Rows), 0u);
    ASSERT_GE(Count, 1);
    ASSERT_EQ(Rows.size(), static_cast<std::size_t>(Count));
    const std::regex Mac("([0-9A-F]{2}-){5,7}[0-9A-F]{2}");
    const std::regex Dotted("[0-9]{1,3}(\\.[0-9]{1,3}){3}");
    for (const TAdaptorInfo& R : Rows) {
        EXPECT_FALSE(R.AdapterName.empty());
        EXPECT_TRUE(std::regex_match(R.MacAddress, Mac)) << R.MacAddress;
        EXPECT_TRUE(R.CurrIPAddress == NoAddressText || std::regex_match(R.CurrIPAddress, Dotted))
            << R.CurrIPAddress;
        ASSERT_GE(R.IPAddressTot, 1);
        for (std::int32_t I = 0; I < R.IPAddressTot; ++I)
            EXPECT_TRUE(std::regex_match(R.IPAddressList[static_cast<std::size_t>(I)], Dotted))
                << R.IPAddressList[static_cast<std::size_t>(I)];
        for (const TIPv6AddressInfo& A : R.IPv6AddressList)
            EXPECT_TRUE(ParseIPv6(A.Address) && A.PrefixLength <= 128)
                << A.Address << "/" << int(A.PrefixLength);
    }
}

} // namespace
