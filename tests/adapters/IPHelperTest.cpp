#include "adapters/IPHelper.h"

#include "fakes/FakeIpHelper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<TAdapterAddress> Addresses(int N) {
    std::vector<TAdapterAddress> List;
    for (int I = 1; I <= N; ++I)
        List.push_back({"192.0.2." + std::to_string(I), "255.255.255.0"});
    return List;
}

std::uint32_t Read(std::int32_t& Count, TAdaptorRows& Rows) {
    return ReadAdaptorRows(Count, Rows);
}

TEST(FormatMacAddress_Text, PairsInByteOrder) {
    struct Case {
        std::vector<std::uint8_t> Bytes;
        std::uint32_t Length;
        const char* Expected;
    } Cases[] = {
        {{}, 0, "00-00-00-00-00-00"},
        {{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F}, 6, "0A-1B-2C-3D-4E-5F"},
        {{0xff, 0, 1, 2, 3, 4, 5, 0xab}, 8, "FF-00-01-02-03-04-05-AB"},
        {{1, 2, 3, 4, 5, 6, 7, 8}, 40, "01-02-03-04-05-06-07-08"},
    };
    for (const Case& C : Cases) {
        std::uint8_t Field[MAX_ADAPTER_ADDRESS_LENGTH] = {};
        std::copy(C.Bytes.begin(), C.Bytes.end(), Field);
        EXPECT_EQ(FormatMacAddress(Field, C.Length), C.Expected) << C.Length;
    }
}

TEST(ReadAdaptorRows_Capacity, ArraysDoublePastTheCount) {
    struct Case {
        int Addresses;
        std::size_t Capacity;
    } Cases[] = {{0, 2}, {1, 2}, {2, 4}, {3, 4}, {4, 8}};
    for (const Case& C : Cases) {
        FakeIpHelper Fake;
        Fake.Adapters = {FakeIpHelper::Adapter("eth0", 3, Addresses(C.Addresses))};
        Fake.Adapters[0].Gateways.assign(static_cast<std::size_t>(C.Addresses), "192.0.2.1");
        std::int32_t Count = -1;
        TAdaptorRows Rows;
        ASSERT_EQ(Read(Count, Rows), 0u);
        ASSERT_EQ(Count, 1);
        const TAdaptorInfo& R = Rows[0];
        // An empty chain still yields its head, which the record holds.
        const int Expected = C.Addresses == 0 ? 1 : C.Addresses;
        EXPECT_EQ(R.IPAddressTot, Expected) << C.Addresses;
        EXPECT_EQ(R.GatewayTot, Expected) << C.Addresses;
        EXPECT_EQ(R.IPAddressList.size(), C.Capacity) << C.Addresses;
        EXPECT_EQ(R.IPMaskList.size(), C.Capacity) << C.Addresses;
        EXPECT_EQ(R.GatewayList.size(), C.Capacity) << C.Addresses;
        EXPECT_EQ(R.IPAddressList[static_cast<std::size_t>(Expected)], "");
        for (int I = 0; I < C.Addresses; ++I) {
            EXPECT_EQ(R.IPAddressList[static_cast<std::size_t>(I)],
                      "192.0.2." + std::to_string(I + 1));
            EXPECT_EQ(R.IPMaskList[static_cast<std::size_t>(I)], "255.255.255.0");
        }
        EXPECT_EQ(R.DHCPList.size(), 2u);
        EXPECT_EQ(R.DNSServerList.size(), 2u);
    }
}

TEST(ReadAdaptorRows_Records, CopiesEveryFieldOfEachAdapterInOrder) {
    FakeIpHelper Fake;
    Fake.Adapters = {FakeIpHelper::Adapter("  {GUID-1}", 7, Addresses(1)),
                     FakeIpHelper::Adapter("eth1", 9, Addresses(2)),
                     FakeIpHelper::Adapter("eth2", 11, {})};
    TAdapterDescription& A = Fake.Adapters[0];
    A.Description = "Fast Ethernet \t";
    A.Type = 71;
    A.DhcpEnabled = 2;
    A.HaveWins = 1;
    A.PrimaryWins = {"192.0.2.200"};
    A.SecondaryWins = {"192.0.2.201", "192.0.2.202"};
    A.DhcpServers = {"192.0.2.254"};
    A.LeaseObtained = 1700000000;
    A.LeaseExpires = 1700086400;
    A.AutoconfigEnabled = 1;
    A.AutoconfigActive = 1;
    A.DnsServers = {"192.0.2.53", "192.0.2.54", "192.0.2.55"};
    Fake.Adapters[1].HasCurrentAddress = false;

    std::int32_t Count = 0;
    TAdaptorRows Rows;
    ASSERT_EQ(Read(Count, Rows), 0u);
    ASSERT_EQ(Count, 3);
    ASSERT_EQ(Rows.size(), 3u);

    const TAdaptorInfo& R = Rows[0];
    EXPECT_EQ(R.AdapterName, u"{GUID-1}");
    EXPECT_EQ(R.Description, u"Fast Ethernet");
    EXPECT_EQ(R.MacAddress, "02-00-00-00-00-07");
    EXPECT_EQ(R.AdaptorIndex, 7u);
    EXPECT_EQ(R.AdaptorType, 71u);
    EXPECT_EQ(R.DHCPEnabled, 2u);
    EXPECT_EQ(R.CurrIPAddress, "192.0.2.1");
    EXPECT_EQ(R.CurrIPMask, "255.255.255.0");
    EXPECT_EQ(R.HasWINS, 1);
    EXPECT_EQ(R.PrimaryWINSTot, 1);
    EXPECT_EQ(R.PrimaryWINSList[0], "192.0.2.200");
    EXPECT_EQ(R.SecondaryWINSTot, 2);
    EXPECT_EQ(R.SecondaryWINSList[1], "192.0.2.202");
    EXPECT_EQ(R.DHCPTot, 1);
    EXPECT_EQ(R.DHCPList[0], "192.0.2.254");
    EXPECT_EQ(R.LeaseObtained, 1700000000);
    EXPECT_EQ(R.LeaseExpires, 1700086400);
    EXPECT_EQ(R.AutoConfigEnabled, 1u);
    EXPECT_EQ(R.AutoConfigActive, 1u);
    EXPECT_EQ(R.CurrDNSServer, "192.0.2.53");
    EXPECT_EQ(R.DNSServerTot, 3);
    EXPECT_EQ(R.DNSServerList, (TStringArray{"192.0.2.53", "192.0.2.54", "192.0.2.55", ""}));
    EXPECT_TRUE(R.AnycastIPAddrList.empty());
    EXPECT_TRUE(R.FriendlyName.empty());
    EXPECT_EQ(R.OperStatus, IF_OPER_STATUS_NONE);

    // No current address entry: the padded defaults, while the list still holds the chain.
    EXPECT_EQ(Rows[1].CurrIPAddress, "  0.  0.  0.  0");
    EXPECT_EQ(Rows[1].CurrIPMask, "  0.  0.  0.  0");
    EXPECT_EQ(Rows[1].IPAddressTot, 2);
    EXPECT_EQ(Rows[1].IPAddressList[0], "192.0.2.1");
    EXPECT_EQ(Rows[2].AdapterName, u"eth2");
    EXPECT_EQ(Rows[2].IPAddressTot, 1);
    EXPECT_EQ(Rows[2].IPAddressList[0], "");
}

TEST(ReadAdaptorRows_PerAdapter, FailureTouchesOnlyThatAdapter) {
    FakeIpHelper Fake;
    for (std::uint32_t I = 1; I <= 3; ++I) {
        Fake.Adapters.push_back(FakeIpHelper::Adapter("eth" + std::to_string(I), I, Addresses(1)));
        Fake.Adapters.back().DnsServers = {"192.0.2.53"};
        Fake.Adapters.back().AutoconfigEnabled = 1;
    }
    Fake.PerAdapterFails = {2};
    std::int32_t Count = 0;
    TAdaptorRows Rows;
    ASSERT_EQ(Read(Count, Rows), 0u);
    ASSERT_EQ(Count, 3);
    for (int I = 0; I < 3; ++I) {
        const bool Failed = I == 1;
        EXPECT_EQ(Rows[I].DNSServerTot, Failed ? 0 : 1) << I;
        EXPECT_EQ(Rows[I].CurrDNSServer, Failed ? "" : "192.0.2.53") << I;
        EXPECT_EQ(Rows[I].AutoConfigEnabled, Failed ? 0u : 1u) << I;
        EXPECT_EQ(Rows[I].DNSServerList.size(), 2u) << I;
    }
}

TEST(ReadAdaptorRows_PerAdapter, MoreThanSixDnsServersAreAskedForAgainWithRoom) {
    struct Case {
        int Servers;
        int Expected;
    } Cases[] = {{6, 6}, {7, 7}, {12, 12}};
    for (const Case& C : Cases) {
        FakeIpHelper Fake;
        Fake.Adapters = {FakeIpHelper::Adapter("eth0", 1, Addresses(1))};
        for (int I = 0; I < C.Servers; ++I)
            Fake.Adapters[0].DnsServers.push_back("192.0.2." + std::to_string(50 + I));
        std::int32_t Count = 0;
        TAdaptorRows Rows;
        ASSERT_EQ(Read(Count, Rows), 0u);
        EXPECT_EQ(Rows[0].DNSServerTot, C.Expected) << C.Servers;
    }
}

TEST(ReadAdaptorRows_IPv6, EachAdapterGetsItsOwnEntriesByName) {
    FakeIpHelper Fake;
    Fake.Adapters = {FakeIpHelper::Adapter("{A}", 3, Addresses(1)),
                     FakeIpHelper::Adapter("{B}", 4, Addresses(1))};
    Fake.Adapters[1].IPv6Addresses = {{"2001:DB8:0:0::7", 64, true}, {"fe80::1", 64, false}};
    Fake.Adapters[1].IPv6Gateways = {"fe80::fe"};
    Fake.Adapters[1].IPv6DnsServers = {"2001:db8::53", "2001:db8::54"};
    std::int32_t Count = 0;
    TAdaptorRows Rows;
    ASSERT_EQ(Read(Count, Rows), 0u);
    ASSERT_EQ(Count, 2);
    EXPECT_TRUE(Rows[0].IPv6AddressList.empty());
    EXPECT_EQ(Rows[1].IPv6AddressList,
              (std::vector<TIPv6AddressInfo>{{"2001:db8::7", 64, true}, {"fe80::1", 64, false}}));
    EXPECT_EQ(Rows[1].IPv6GatewayList, TStringArray{"fe80::fe"});
    EXPECT_EQ(Rows[1].IPv6DNSServerList, (TStringArray{"2001:db8::53", "2001:db8::54"}));
    // A library without the call: the IPv4 records stand alone.
    Fake.MissingNames = {"GetAdaptersAddresses"};
    Fake.Unload();
    ASSERT_EQ(Read(Count, Rows), 0u);
    EXPECT_TRUE(Rows[1].IPv6AddressList.empty());
}

TEST(ReadAdaptorRows_Failures, AnswerIsReturnedAndNothingRead) {
    struct Case {
        const char* What;
        bool Missing;
        std::uint32_t SizeAnswer;
        std::uint32_t FillAnswer;
        bool NoGetAdaptersInfo;
        std::uint32_t Expected;
        bool RowsTouched;
    } Cases[] = {
        {"library missing", true, 0, 0, false, 50, false},
        {"no entry point", false, 0, 0, true, 50, false},
        {"size query answers 1", false, 1, 0, false, 1, true},
        {"size query fails", false, 87, 0, false, 87, true},
        {"second call fails", false, 0, 8, false, 8, true},
    };
    for (const Case& C : Cases) {
        FakeIpHelper Fake;
        Fake.Adapters = {FakeIpHelper::Adapter("eth0", 1, Addresses(1))};
        Fake.LibraryMissing = C.Missing;
        Fake.SizeQueryAnswer = C.SizeAnswer;
        Fake.FillAnswer = C.FillAnswer;
        if (C.NoGetAdaptersInfo)
            Fake.MissingNames = {"GetAdaptersInfo"};
        std::int32_t Count = 9;
        TAdaptorRows Rows(1);
        EXPECT_EQ(Read(Count, Rows), C.Expected) << C.What;
        EXPECT_EQ(Count, C.RowsTouched ? 0 : 9) << C.What;
        EXPECT_EQ(Rows.size(), C.RowsTouched ? 4u : 1u) << C.What;
    }
}

TEST(LoadIpHelperLibrary_Binding, BindsTheNamesInOrderOnce) {
    FakeIpHelper Fake;
    Fake.MissingNames = {"GetTcpTable", "GetExtendedUdpTable"};
    EXPECT_TRUE(LoadIpHelperLibrary());
    EXPECT_TRUE(LoadIpHelperLibrary());
    EXPECT_EQ(Fake.Loads, 1);
    ASSERT_EQ(Fake.Lookups.size(), 23u);
    EXPECT_EQ(Fake.Lookups.front(), "GetAdaptersInfo");
    EXPECT_EQ(Fake.Lookups[15], "GetPerAdapterInfo");
    EXPECT_EQ(Fake.Lookups.back(), "GetOwnerModuleFromUdpEntry");
    EXPECT_EQ(IpHelperEntryPoint(2), nullptr);
    EXPECT_NE(IpHelperEntryPoint(3), nullptr);
    EXPECT_NE(BoundGetPerAdapterInfo(), nullptr);
}

TEST(LoadIpHelperLibrary_Binding, FailedLoadIsTriedAgain) {
    FakeIpHelper Fake;
    Fake.LibraryMissing = true;
    EXPECT_FALSE(LoadIpHelperLibrary());
    Fake.LibraryMissing = false;
    EXPECT_TRUE(LoadIpHelperLibrary());
    EXPECT_EQ(Fake.Loads, 2);
    EXPECT_EQ(Fake.Frees, 0);
    SetIpHelperLoader(nullptr);
    EXPECT_EQ(Fake.Frees, 1);
}

} // namespace
