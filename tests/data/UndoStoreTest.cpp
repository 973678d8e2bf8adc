#include "data/UndoStore.h"
#include "base/Exception.h"
#include "data/ExtrasStore.h"
#include "data/Migration.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/TempFolder.h"
#include "fakes/TempStore.h"

#include <gtest/gtest.h>

namespace {

int UserVersion(TDBConnection& Connection) {
    TStatement Version(Connection, "PRAGMA user_version");
    Version.Step();
    return static_cast<int>(Version.ColumnInteger(0));
}

// A file as earlier versions wrote it, the two tables without a version, gains the undo table on
// open and keeps its rows; one of a later version is refused and left byte for byte.
TEST(SchemaVersion, OlderFileIsMigratedOnOpenAndALaterOneRefusedUntouched) {
    TempFolder Folder;
    const std::string File = Folder.File("old.ipdb");
    CreateEmptyDatabase(File);
    {
        TDBConnection Old(nullptr);
        Old.Open(File);
        EXPECT_EQ(UserVersion(Old), SchemaVersion); // as the template is made now
        TStatement(Old, "DROP TABLE UndoRecords").Step();
        TStatement(Old, "DROP TABLE IPSetExtras").Step(); // its trigger is on IPSets
        TStatement(Old, "DROP TRIGGER IPSetExtrasOfDeletedSet").Step();
        TStatement(Old, "PRAGMA user_version = 0").Step();
    }
    {
        TgtIPDBManager Db(nullptr);
        Db.OpenDatabase(File);
        EXPECT_EQ(UserVersion(*Db.AdoConnection()), SchemaVersion);
        PostIPSet(Db, "Casa", PostConnection(Db, "LAN 1"), true, {});
        SaveUndoRecord(*Db.AdoConnection(), {"LAN 1", true, "", "", "", "", ""});
    }
    {
        TgtIPDBManager Db(nullptr);
        Db.OpenDatabase(File); // opened again: nothing to migrate, the rows are there
        EXPECT_EQ(Db.IPSets()->RecordCount(), 1);
        EXPECT_TRUE(FindUndoRecord(*Db.AdoConnection(), "").has_value());
        TStatement(*Db.AdoConnection(), "DROP TABLE IPSetExtras").Step();
        TStatement(*Db.AdoConnection(), "DROP TRIGGER IPSetExtrasOfDeletedSet").Step();
        TStatement(*Db.AdoConnection(), "PRAGMA user_version = 1").Step();
    }
    {
        TgtIPDBManager Db(nullptr);
        Db.OpenDatabase(File); // a version 1 file gains the extras and keeps its undo record
        EXPECT_EQ(UserVersion(*Db.AdoConnection()), SchemaVersion);
        EXPECT_TRUE(FindUndoRecord(*Db.AdoConnection(), "").has_value());
        EXPECT_TRUE(LoadIPSetExtras(*Db.AdoConnection(), 1).Empty());
        TStatement(*Db.AdoConnection(), "PRAGMA user_version = 7").Step();
    }
    const std::string Before = ReadWholeFile(File);
    TgtIPDBManager Db(nullptr);
    try {
        Db.OpenDatabase(File);
        ADD_FAILURE() << "a later version opened";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), "El archivo de base de datos \"" + File +
                                   "\" es de una version posterior de Quelvano (esquema 7) y esta "
                                   "version no puede abrirlo.");
    }
    EXPECT_EQ(ReadWholeFile(File), Before);
}

TEST(UndoRecords, OnePerConnectionAndTheLastAppliedFirst) {
    TempStore Store;
    TDBConnection& C = *Store.Db.AdoConnection();
    EXPECT_FALSE(FindUndoRecord(C, "").has_value());
    SaveUndoRecord(C,
                   {"LAN 1", false, "192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53", ""});
    SaveUndoRecord(C, {"Wi-Fi", true, "", "", "", "", ""});
    EXPECT_EQ(FindUndoRecord(C, "")->Connection, "Wi-Fi");
    EXPECT_EQ(FindUndoRecord(C, "LAN 1")->Gateway, "192.0.2.1");
    SaveUndoRecord(C, {"LAN 1", true, "", "", "", "", ""});
    EXPECT_EQ(FindUndoRecord(C, "")->Connection, "LAN 1");
    EXPECT_TRUE(FindUndoRecord(C, "LAN 1")->Dhcp);
    EXPECT_FALSE(FindUndoRecord(C, "LAN 2").has_value());
}

// Every list keeps its order, the IPv6 part its mode, and a deleted set takes its rows with it.
TEST(IPSetExtras, RoundTripInOrderAndGoneWithTheirSet) {
    TempStore Store;
    TDBConnection& C = *Store.Db.AdoConnection();
    const int Set = PostIPSet(Store.Db, "Oficina", PostConnection(Store.Db, "LAN 1"), false, {});
    TIPSetExtras E;
    E.Addresses = {{"192.0.2.11", "255.255.255.0"}, {"198.51.100.2", "255.255.0.0"}};
    E.Gateways = {{"192.0.2.254", 20}};
    E.Dns = {"192.0.2.54", "192.0.2.55", "192.0.2.56"};
    E.IPv6 = TIPv6Mode::Static;
    E.IPv6Addresses = {{"2001:db8::10", 64}, {"2001:db8:1::10", 48}};
    E.IPv6Gateway = "2001:db8::1";
    E.IPv6Dns = {"2001:db8::53"};
    SaveIPSetExtras(C, Set, E);
    EXPECT_TRUE(LoadIPSetExtras(C, Set) == E);
    E.Dns = {"192.0.2.56"};
    E.IPv6 = TIPv6Mode::Automatic;
    SaveIPSetExtras(C, Set, E);
    EXPECT_TRUE(LoadIPSetExtras(C, Set) == E);
    TStatement(C, "DELETE FROM IPSets WHERE ID = " + std::to_string(Set)).Step();
    TStatement Left(C, "SELECT COUNT(*) FROM IPSetExtras");
    Left.Step();
    EXPECT_EQ(Left.ColumnInteger(0), 0);
}

} // namespace
