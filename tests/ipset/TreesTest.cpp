#include "ipset/o_IPSetManager.h"

#include "base/Exception.h"
#include "base/TextUtils.h"
#include "data/DBConnection.h"
#include "data/ExtrasStore.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/FakeTree.h"
#include "fakes/TempStore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const Lines Example = {"192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53", "198.51.100.53"};

class Trees : public ::testing::Test {
protected:
    void SetUp() override {
        Manager.SetIPSetDataSet(Db.IPSets());
        Manager.SetConnectionsDataSet(Db.ConnectionNames());
        Manager.SetIPSetTreeView(&SetTree);
        Manager.SetAdapterTreeview(&AdapterTree);
    }

    int AddConnection(const std::string& Name) { return PostConnection(Db, Name); }

    int AddSet(const std::string& Name, int Connection, bool Dhcp, const Lines& A) {
        return PostIPSet(Db, Name, Connection, Dhcp, A);
    }

    TempStore Store;
    TgtIPDBManager& Db = Store.Db;
    FakeTree SetTree;
    FakeTree AdapterTree;
    FakeIpHelper Fake;
    TgtIPSetManager Manager{nullptr};
};

TEST_F(Trees, StaticSetShowsSevenLinesAndEveryNodeCarriesItsID) {
    const int ID = AddSet("Casa", AddConnection("LAN 1"), false, Example);
    Manager.FillIPSetTree();
    EXPECT_EQ(
        SetTree.Outline(),
        (Lines{"*CASA", "  IP : 192.0.2.10", "  Mascara de Red : 255.255.255.0",
               "  Def.Gateway : 192.0.2.1", "  DNS preferido : 192.0.2.53",
               "  DNS alternativo : 198.51.100.53", "  DHCP : No", "  Nombre Conexion : LAN 1"}));
    ASSERT_EQ(SetTree.Count(), 8);
    for (int I = 0; I < SetTree.Count(); ++I) {
        const FakeTree::Node& N = SetTree.At(SetTree.Item(I));
        EXPECT_EQ(N.Data, ID) << N.Text;
        EXPECT_EQ(N.ImageIndex, I == 0 ? 24 : -1) << N.Text;
        EXPECT_EQ(N.SelectedIndex, I == 0 ? 28 : -1) << N.Text;
        EXPECT_FALSE(N.Expanded) << N.Text;
    }
}

TEST_F(Trees, DhcpSetShowsOnlyTheFlagAndTheConnection) {
    const int Connection = AddConnection("Wi-Fi");
    AddSet("Movil", Connection, true, {"0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0"});
    Manager.FillIPSetTree();
    EXPECT_EQ(SetTree.Outline(), (Lines{"*MOVIL", "  DHCP : Si", "  Nombre Conexion : Wi-Fi"}));
}

TEST_F(Trees, ExtrasThatApplyFollowTheSetsLinesAndAChangeOfThemRebuilds) {
    Manager.SetDatabase(Db.AdoConnection());
    const int Connection = AddConnection("LAN 1");
    TIPSetExtras Extras;
    Extras.Addresses = {{"192.0.2.11", "255.255.255.0"}};
    Extras.Gateways = {{"192.0.2.254", 20}};
    Extras.Dns = {"192.0.2.54"};
    Extras.IPv6 = TIPv6Mode::Static;
    Extras.IPv6Addresses = {{"2001:db8::1", 64}};
    Extras.IPv6Gateway = "fe80::1";
    Extras.IPv6Dns = {"2001:db8::53"};
    SaveIPSetExtras(*Db.AdoConnection(), AddSet("Casa", Connection, false, Example), Extras);
    // A DHCP set keeps its IPv4 extras without applying them; its IPv6 part applies.
    const int Dhcp = AddSet("Movil", Connection, true, Lines(5, "0.0.0.0"));
    SaveIPSetExtras(*Db.AdoConnection(), Dhcp, Extras);
    Manager.FillIPSetTree();
    const Lines IPv6 = {"  IPv6 : Estatica", "  IPv6 direccion : 2001:db8::1/64",
                        "  IPv6 gateway : fe80::1", "  IPv6 DNS : 2001:db8::53"};
    Lines Expected = {"  Nombre Conexion : LAN 1", "  IP adicional : 192.0.2.11/255.255.255.0",
                      "  Gateway adicional : 192.0.2.254 (metrica 20)",
                      "  DNS adicional : 192.0.2.54"};
    Expected.insert(Expected.end(), IPv6.begin(), IPv6.end());
    Expected.insert(Expected.end(), {"*MOVIL", "  DHCP : Si", "  Nombre Conexion : LAN 1"});
    Expected.insert(Expected.end(), IPv6.begin(), IPv6.end());
    const auto Shown = [this] {
        const Lines All = SetTree.Outline();
        return Lines(All.begin() + 7, All.end()); // from CASA's connection line on
    };
    EXPECT_EQ(Shown(), Expected);

    const int Clears = SetTree.Clears;
    Extras.IPv6 = TIPv6Mode::Automatic;
    SaveIPSetExtras(*Db.AdoConnection(), Dhcp, Extras);
    Manager.UpdateIPSetTree();
    EXPECT_EQ(SetTree.Clears, Clears + 1);
    // "automatic" has no values to show: the mode alone replaces MOVIL's static IPv6 lines.
    Expected.erase(Expected.end() - 4, Expected.end());
    Expected.push_back("  IPv6 : Automatica");
    EXPECT_EQ(Shown(), Expected);
}

TEST_F(Trees, CaptionUpperCasesAsciiOnlyAndConnectionLineEndsInBlankWhenUnknown) {
    struct Case {
        std::string Name;
        bool KnownConnection;
        std::string Caption;
        std::string LastLine;
    } Cases[] = {
        {"ñandú café", true, "*ñANDú CAFé", "  Nombre Conexion : LAN 1"},
        {" Oficina 2 ", true, "* OFICINA 2 ", "  Nombre Conexion : LAN 1"},
        {"Casa", false, "*CASA", "  Nombre Conexion : "},
    };
    const int Connection = AddConnection("LAN 1");
    for (const Case& C : Cases) {
        TDataSet* Sets = Db.IPSets();
        while (Sets->RecordCount() > 0) {
            Sets->First();
            Sets->Delete();
        }
        AddSet(C.Name, C.KnownConnection ? Connection : Connection + 40, true,
               {"0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0", "0.0.0.0"});
        Manager.FillIPSetTree();
        const Lines Outline = SetTree.Outline();
        ASSERT_EQ(Outline.size(), 3u) << C.Name;
        EXPECT_EQ(Outline.front(), C.Caption);
        EXPECT_EQ(Outline.back(), C.LastLine);
    }
}

TEST_F(Trees, RebuildStartsEmptyAndFollowsTableOrder) {
    const int Connection = AddConnection("LAN 1");
    Manager.FillIPSetTree();
    EXPECT_EQ(SetTree.Count(), 0);

    const int First = AddSet("Casa", Connection, true, Example);
    const int Second = AddSet("Casa", Connection, false, Example);
    Manager.FillIPSetTree();
    Manager.FillIPSetTree();
    ASSERT_EQ(SetTree.Roots().size(), 2u);
    EXPECT_EQ(SetTree.At(SetTree.Roots()[0]).Data, First);
    EXPECT_EQ(SetTree.At(SetTree.Roots()[1]).Data, Second);
    EXPECT_EQ(SetTree.Count(), 3 + 8);
}

TEST_F(Trees, ErrorDuringFillResumesPaintingAndStopsTheAdapterTree) {
    AddSet("Casa", AddConnection("LAN 1"), false, Example);
    static_cast<TSqlTable*>(Db.ConnectionNames())->Close();
    EXPECT_THROW(Manager.RefreshTrees(), Exception);
    EXPECT_EQ(SetTree.UpdateDepth, 0);
    EXPECT_EQ(SetTree.Updates, 1);
    EXPECT_EQ(AdapterTree.Clears, 0);
}

TEST_F(Trees, FillsWithoutTreeOrTableDoNothing) {
    AddSet("Casa", AddConnection("LAN 1"), false, Example);
    Manager.SetIPSetTreeView(nullptr);
    Manager.SetAdapterTreeview(nullptr);
    Fake.LibraryMissing = true; // would raise if the adapter fill went on
    EXPECT_NO_THROW(Manager.RefreshTrees());

    Manager.SetIPSetTreeView(&SetTree);
    Manager.SetIPSetDataSet(nullptr);
    Manager.FillIPSetTree();
    EXPECT_EQ(SetTree.Clears, 0);
}

TAdapterDescription Ethernet() {
    TAdapterDescription A = FakeIpHelper::Adapter("{E1}", 7, {{"192.0.2.10", "255.255.255.0"}});
    A.Description = "Red Ethernet";
    return A;
}

TAdapterDescription Wireless() {
    TAdapterDescription A = FakeIpHelper::Adapter(
        "{W2}", 9, {{"198.51.100.7", "255.255.255.0"}, {"198.51.100.8", "255.255.0.0"}});
    A.Description = "Red inalambrica";
    A.DhcpEnabled = 1;
    A.Gateways = {"198.51.100.1"};
    A.DhcpServers = {"198.51.100.2"};
    A.HaveWins = 1;
    A.PrimaryWins = {"198.51.100.3"};
    A.DnsServers = {"198.51.100.53", "192.0.2.53"};
    return A;
}

TEST_F(Trees, AdapterShowsCaptionLinesAndNineGroupsWithTheirNonEmptyTexts) {
    Fake.Adapters = {Ethernet(), Wireless()};
    Manager.FillAdapterTree();
    const Lines Expected = {
        "* Red Ethernet",
        "  MacAddress   : 02-00-00-00-00-07",
        "  DHCP Enabled : False",
        "  WINS Enabled : False",
        "  *Direccion IP",
        "    192.0.2.10",
        "  *Mascara de Red",
        "    255.255.255.0",
        "  *Gateway",
        "  *Servidor DHCP",
        "  *Servidor DNS",
        "  *WINS Primary Server",
        "  *WINS Secondary Server",
        "  *Anycast IP Address List",
        "  *MultiCast IP Address List",
        "* Red inalambrica",
        "  MacAddress   : 02-00-00-00-00-09",
        "  DHCP Enabled : True",
        "  WINS Enabled : True",
        "  *Direccion IP",
        "    198.51.100.7",
        "    198.51.100.8",
        "  *Mascara de Red",
        "    255.255.255.0",
        "    255.255.0.0",
        "  *Gateway",
        "    198.51.100.1",
        "  *Servidor DHCP",
        "    198.51.100.2",
        "  *Servidor DNS",
        "    198.51.100.53",
        "    192.0.2.53",
        "  *WINS Primary Server",
        "    198.51.100.3",
        "  *WINS Secondary Server",
        "  *Anycast IP Address List",
        "  *MultiCast IP Address List",
    };
    EXPECT_EQ(AdapterTree.Outline(), Expected);
    for (int I = 0; I < AdapterTree.Count(); ++I) {
        const FakeTree::Node& N = AdapterTree.At(AdapterTree.Item(I));
        const bool Adapter = N.Parent == 0;
        EXPECT_EQ(N.ImageIndex, Adapter ? 20 : -1) << N.Text;
        EXPECT_EQ(N.SelectedIndex, Adapter ? 20 : -1) << N.Text;
        EXPECT_EQ(N.Data, 0) << N.Text;
    }
}

TEST_F(Trees, IPv6GroupsFollowTheIPv4OnesOnlyWhenTheyHaveEntries) {
    TAdapterDescription A = Ethernet();
    A.IPv6Addresses = {{"2001:db8::7", 64, true}, {"fe80::1", 10, false}};
    A.IPv6DnsServers = {"2001:db8::53"};
    Fake.Adapters = {A};
    Manager.FillAdapterTree();
    const Lines Outline = AdapterTree.Outline();
    ASSERT_GE(Outline.size(), 6u);
    EXPECT_EQ(Lines(Outline.end() - 6, Outline.end()),
              (Lines{"  *MultiCast IP Address List", "  *Direccion IPv6", "    2001:db8::7/64",
                     "    fe80::1/10", "  *Servidor DNS IPv6", "    2001:db8::53"}));
}

TEST_F(Trees, AdaptersEndCollapsedWithTheirGroupsOpenAfterEveryRebuild) {
    Fake.Adapters = {Ethernet(), Wireless()};
    Manager.FillAdapterTree();
    AdapterTree.At(AdapterTree.Roots()[0]).Expanded = true; // the user opened one
    Manager.FillAdapterTree();
    for (int I = 0; I < AdapterTree.Count(); ++I) {
        const FakeTree::Node& N = AdapterTree.At(AdapterTree.Item(I));
        const bool GroupWithLeaves = N.Parent != 0 && !N.Children.empty();
        EXPECT_EQ(N.Expanded, GroupWithLeaves) << N.Text;
    }
    EXPECT_EQ(AdapterTree.ChangesWhilePainting, 0);
    EXPECT_EQ(AdapterTree.UpdateDepth, 0);
}

TEST_F(Trees, EnumerationErrorKeepsTheAdapterTreeAfterTheIPSetTreeIsRebuilt) {
    Fake.Adapters = {Ethernet()};
    Manager.FillAdapterTree();
    const Lines Before = AdapterTree.Outline();

    AddSet("Casa", AddConnection("LAN 1"), false, Example);
    Fake.FillAnswer = 87;
    EXPECT_THROW(Manager.RefreshTrees(), Exception);
    EXPECT_EQ(SetTree.Roots().size(), 1u);
    EXPECT_EQ(AdapterTree.Outline(), Before);
    EXPECT_EQ(AdapterTree.Clears, 1);
    EXPECT_EQ(AdapterTree.UpdateDepth, 0);
}

// A refresh keeps the IP-set tree, and with it what the user opened, while every line it shows is
// what the store holds; the choice stays; the adapters are read and shown again every time.
TEST_F(Trees, RefreshRebuildsTheIPSetTreeOnlyWhenWhatItShowsChanged) {
    const struct {
        const char* Change;
        const char* Table;
        const char* Column;
        const char* Value;
        bool Rebuilt;
    } Cases[] = {
        {"nothing", nullptr, nullptr, nullptr, false},
        {"gateway", "IPSets", "GATEWAY", "192.0.2.254", true},
        {"name", "IPSets", "IPSET_NAME", "Casa 2", true},
        {"connection name", "Connections", "CONNECTIONNAME", "LAN 2", true},
    };
    Fake.Adapters = {Ethernet()};
    const int Connection = AddConnection("LAN 1");
    const int ID = AddSet("Casa", Connection, false, Example);
    for (const auto& C : Cases) {
        Manager.RefreshTrees();
        SetTree.SetSelected(SetTree.Roots().back());
        const int Clears = SetTree.Clears, AdapterClears = AdapterTree.Clears;
        if (C.Table != nullptr) {
            TDataSet& Table =
                C.Table == std::string("IPSets") ? *Db.IPSets() : *Db.ConnectionNames();
            ASSERT_TRUE(Table.Locate("ID", C.Table == std::string("IPSets") ? ID : Connection));
            Table.Edit();
            Table.FieldByName(C.Column).SetAsString(C.Value);
            Table.Post();
        }
        Manager.RefreshTrees();
        EXPECT_EQ(SetTree.Clears, Clears + (C.Rebuilt ? 1 : 0)) << C.Change;
        // Rebuilt or not, the line chosen shows the same set in the same place.
        EXPECT_EQ(SetTree.Selected(), SetTree.Roots().back()) << C.Change;
        EXPECT_EQ(AdapterTree.Clears, AdapterClears + 1) << C.Change;
        if (C.Value != nullptr) {
            const Lines Outline = SetTree.Outline();
            const auto Shown = [&](const std::string& L) {
                return L.find(UpperCaseAscii(C.Value)) != std::string::npos ||
                       L.find(C.Value) != std::string::npos;
            };
            EXPECT_NE(std::find_if(Outline.begin(), Outline.end(), Shown), Outline.end())
                << C.Change;
        }
    }
}

} // namespace
