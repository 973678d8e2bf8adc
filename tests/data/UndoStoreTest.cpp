#include "data/UndoStore.h"
#include "base/Exception.h"
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

} // namespace
