#include "adapters/o_AdapterInformation.h"

#include "base/Exception.h"
#include "base/SysError.h"
#include "base/TApplication.h"
#include "fakes/FakeIpHelper.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

void ClearLastError() {
#ifdef _WIN32
    SetLastError(0);
#else
    errno = 0;
#endif
}

TAdaptorInfo Record(std::uint32_t Dhcp, std::int32_t Wins) {
    TAdaptorInfo R;
    R.AdapterName = u"{A1}";
    R.Description = u"Red \u00f1";
    R.DHCPEnabled = Dhcp;
    R.HasWINS = Wins;
    R.IPAddressTot = 1;
    R.IPAddressList = {"192.0.2.10", ""};
    R.IPMaskList = {"255.255.255.0", ""};
    R.Luid = 77;
    R.NetworkGuid[15] = 9;
    R.TunnelType = 3;
    return R;
}

TEST(TgtNetworkAdapter_Flags, DhcpOnlyForOneWinsForAnyNonZero) {
    struct Case {
        std::uint32_t Dhcp;
        std::int32_t Wins;
        bool DhcpEnabled;
        bool HasWins;
    } Cases[] = {
        {1, 0, true, false}, {2, 1, false, true}, {0, -1, false, true}, {3, 0, false, false}};
    for (const Case& C : Cases) {
        TgtNetworkAdapter A;
        A.LoadFromAdaptorInfo(Record(C.Dhcp, C.Wins));
        EXPECT_EQ(A.DHCPEnabled(), C.DhcpEnabled) << C.Dhcp;
        EXPECT_EQ(A.HasWINS(), C.HasWins) << C.Wins;
    }
}

TEST(TgtNetworkAdapter_Load, KeepsSpareSlotsAndTexts) {
    TgtNetworkAdapter A;
    A.LoadFromAdaptorInfo(Record(1, 0));
    EXPECT_EQ(A.AdapterName(), "{A1}");
    EXPECT_EQ(A.Description(), "Red \xc3\xb1");
    EXPECT_EQ(A.IPAddressTot(), 1);
    EXPECT_EQ(A.IPAddressList(), (TStringList{"192.0.2.10", ""}));
    EXPECT_EQ(A.IPMaskList(), (TStringList{"255.255.255.0", ""}));
    EXPECT_TRUE(A.AnycastIPAddrList().empty());
    EXPECT_TRUE(A.FriendlyName().empty());

    TgtNetworkAdapter Copy;
    Copy.CopyFrom(A);
    EXPECT_EQ(Copy.IPAddressList(), A.IPAddressList());
    EXPECT_EQ(Copy.Luid(), 77u);
    EXPECT_EQ(Copy.NetworkGuid()[15], 9);
    EXPECT_EQ(Copy.TunnelType(), 3);
    EXPECT_TRUE(Copy.DHCPEnabled());
}

TEST(TgtNetworkAdapterManager_Refresh, ListsTheAdaptersInOrder) {
    FakeIpHelper Fake;
    Fake.Adapters = {FakeIpHelper::Adapter("eth0", 4, {{"192.0.2.10", "255.255.255.0"}}),
                     FakeIpHelper::Adapter("eth1", 2, {{"192.0.2.20", "255.255.255.0"}})};
    TgtNetworkAdapterManager Manager(nullptr);
    EXPECT_EQ(Manager.Adapters().Count(), 0);
    Manager.RefreshAdapters();
    ASSERT_EQ(Manager.Adapters().Count(), 2);
    EXPECT_EQ(Manager.Adapters().Items(0)->AdapterName(), "eth0");
    EXPECT_EQ(Manager.Adapters().Items(1)->AdaptorIndex(), 2u);
    EXPECT_EQ(Manager.Adapters().Items(1)->IPAddressList(), (TStringList{"192.0.2.20", ""}));

    Fake.Adapters.pop_back();
    Manager.RefreshAdapters();
    EXPECT_EQ(Manager.Adapters().Count(), 1);
}

TEST(TgtNetworkAdapterManager_Refresh, FailureRaisesAndEmptiesTheList) {
    struct Case {
        const char* What;
        bool Missing;
        std::uint32_t FillAnswer;
    } Cases[] = {{"library missing", true, 0}, {"enumeration fails", false, 8}};
    for (const Case& C : Cases) {
        FakeIpHelper Fake;
        Fake.Adapters = {FakeIpHelper::Adapter("eth0", 1, {{"192.0.2.10", "255.255.255.0"}})};
        TgtNetworkAdapterManager Manager(nullptr);
        Manager.RefreshAdapters();
        ASSERT_EQ(Manager.Adapters().Count(), 1);

        Fake.Unload();
        Fake.LibraryMissing = C.Missing;
        Fake.FillAnswer = C.FillAnswer;
        ClearLastError();
        try {
            Manager.RefreshAdapters();
            ADD_FAILURE() << C.What << ": no exception";
        } catch (const Exception& E) {
            // With no last error set, the message must not be the system's text for success.
            EXPECT_FALSE(E.Message().empty()) << C.What;
            EXPECT_NE(E.Message(), SysErrorMessage(0)) << C.What;
        }
        EXPECT_EQ(Manager.Adapters().Count(), 0) << C.What;
    }
}

TEST(AdapterManager_Instance, OneObjectOwnedByTheApplication) {
    TgtNetworkAdapterManager* First = AdapterManager();
    EXPECT_EQ(AdapterManager(), First);
    EXPECT_EQ(First->Owner(), &Application());
    EXPECT_EQ(First->Adapters().Count(), 0);
}

} // namespace
