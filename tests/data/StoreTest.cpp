#include "base/Exception.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/TempFolder.h"
#include "fakes/TempStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class Store : public ::testing::Test {
protected:
    void SetUp() override {
        CreateEmptyDatabase(FileName);
        Reopen();
    }

    void Reopen() {
        Manager = std::make_unique<TgtIPDBManager>(nullptr);
        Manager->OpenDatabase(FileName);
    }

    TDataSet& Sets() { return *Manager->IPSets(); }
    TDataSet& Names() { return *Manager->ConnectionNames(); }

    int AddSet(const std::string& Name, int Connection = 0) {
        Sets().Insert();
        Sets().FieldByName("IPSET_NAME").SetAsString(Name);
        Sets().FieldByName("CONNECTION").SetAsInteger(Connection);
        Sets().Post();
        return Sets().FieldByName("ID").AsInteger();
    }

    std::string CurrentName() { return Sets().FieldByName("IPSET_NAME").AsString(); }

    TempFolder Folder;
    std::string FileName = Folder.File("quelvano.ipdb");
    std::unique_ptr<TgtIPDBManager> Manager;
};

TEST_F(Store, FreshFile_IsEmptyAndFirstPostedSetGetsIdOne) {
    EXPECT_EQ(Sets().RecordCount(), 0);
    EXPECT_TRUE(Sets().Eof());
    EXPECT_TRUE(Names().Eof());
    EXPECT_EQ(AddSet("Casa"), 1);
    EXPECT_EQ(AddSet("Oficina"), 2);
}

TEST_F(Store, Keys_AreNeverReusedAfterDelete) {
    AddSet("a");
    const int Second = AddSet("b");
    ASSERT_TRUE(Sets().Locate("ID", Second));
    Sets().Delete();
    Reopen();
    EXPECT_EQ(AddSet("c"), Second + 1);
}

TEST_F(Store, TwoSetsMayShareOneName) {
    const int A = AddSet("Casa");
    const int B = AddSet("Casa");
    EXPECT_NE(A, B);
    EXPECT_EQ(Sets().RecordCount(), 2);
    ASSERT_TRUE(Sets().Locate("IPSET_NAME", std::string("Casa")));
    EXPECT_EQ(Sets().FieldByName("ID").AsInteger(), A);
}

TEST_F(Store, SetWhoseConnectionMatchesNoRow_IsStoredAndItsNameIsNotFound) {
    const int Id = AddSet("Suelta", 7);
    Reopen();
    ASSERT_TRUE(Sets().Locate("ID", Id));
    EXPECT_EQ(Sets().FieldByName("CONNECTION").AsInteger(), 7);
    EXPECT_FALSE(Names().Locate("ID", 7));
}

TEST_F(Store, NewRow_StartsWithTheColumnDefaults) {
    Sets().Insert();
    EXPECT_TRUE(Sets().FieldByName("ID").IsNull());
    EXPECT_EQ(Sets().FieldByName("CONNECTION").AsInteger(), 0);
    EXPECT_FALSE(Sets().FieldByName("CONNECTION").IsNull());
    EXPECT_FALSE(Sets().FieldByName("DHCP").AsBoolean());
    EXPECT_FALSE(Sets().FieldByName("DHCP").IsNull());
    EXPECT_TRUE(Sets().FieldByName("DNS2").IsNull());
    Sets().Post();
    Reopen();
    EXPECT_EQ(Sets().FieldByName("DHCP").AsString(), "False");
    EXPECT_EQ(Sets().FieldByName("CONNECTION").AsString(), "0");
}

std::string Repeat(const std::string& S, int N) {
    std::string R;
    for (int I = 0; I < N; ++I)
        R += S;
    return R;
}

struct RuleCase {
    bool IPSetsTable;
    const char* Column;
    std::string Value;
    const char* Error; // empty when the value is accepted
};

class ColumnRules : public Store, public ::testing::WithParamInterface<RuleCase> {};

TEST_P(ColumnRules, WriteIsCheckedAndTheRowStaysOpen) {
    const RuleCase& C = GetParam();
    TDataSet& Table = C.IPSetsTable ? Sets() : Names();
    Table.Insert();
    if (*C.Error == '\0') {
        Table.FieldByName(C.Column).SetAsString(C.Value);
        Table.Post();
        Reopen();
        TDataSet& Again = C.IPSetsTable ? Sets() : Names();
        ASSERT_FALSE(Again.Eof());
        EXPECT_EQ(Again.FieldByName(C.Column).AsString(), C.Value);
        EXPECT_FALSE(Again.FieldByName(C.Column).IsNull());
        return;
    }
    try {
        Table.FieldByName(C.Column).SetAsString(C.Value);
        FAIL() << "accepted " << C.Value;
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), C.Error);
    }
    EXPECT_EQ(Table.State(), TDataSetState::dsInsert);
    Table.Cancel();
    EXPECT_EQ(Table.RecordCount(), 0);
}

TEST_F(Store, RefusedWrite_CanBeCorrectedAndPosted) {
    Sets().Insert();
    EXPECT_THROW(Sets().FieldByName("IPSET_NAME").SetAsString(Repeat("a", 51)), Exception);
    Sets().FieldByName("IPSET_NAME").SetAsString(Repeat("a", 50));
    Sets().Post();
    EXPECT_EQ(Sets().RecordCount(), 1);
    EXPECT_EQ(CurrentName(), Repeat("a", 50));
}

const char* const NameTooLong = "El campo IPSet_Name admite como maximo 50 caracteres.";

INSTANTIATE_TEST_SUITE_P(
    Store, ColumnRules,
    ::testing::Values(
        RuleCase{true, "IPSET_NAME", Repeat("a", 50), ""},
        RuleCase{true, "IPSET_NAME", Repeat("a", 51), NameTooLong},
        RuleCase{true, "IPSET_NAME", Repeat("\xC3\xB1", 50), ""},
        RuleCase{true, "IPSET_NAME", Repeat("\xC3\xB1", 51), NameTooLong},
        RuleCase{true, "IPSET_NAME", "",
                 "El campo IPSet_Name no admite una cadena de longitud cero."},
        RuleCase{true, "IPADDRESS", Repeat("1", 20), ""},
        RuleCase{true, "IPADDRESS", Repeat("1", 21),
                 "El campo IPAddress admite como maximo 20 caracteres."},
        RuleCase{true, "IPADDRESS", "",
                 "El campo IPAddress no admite una cadena de longitud cero."},
        RuleCase{true, "SUBNETMASK", "",
                 "El campo SubNetMask no admite una cadena de longitud cero."},
        RuleCase{true, "GATEWAY", "", "El campo Gateway no admite una cadena de longitud cero."},
        RuleCase{true, "DNS", "", "El campo Dns no admite una cadena de longitud cero."},
        RuleCase{true, "DNS2", "", ""},
        RuleCase{true, "DNS2", Repeat("2", 21), "El campo Dns2 admite como maximo 20 caracteres."},
        RuleCase{true, "CONNECTION", "12", ""},
        RuleCase{true, "CONNECTION", "doce", "El campo Connection solo admite numeros enteros."},
        RuleCase{true, "CONNECTION", "99999999999",
                 "El campo Connection solo admite numeros enteros."},
        RuleCase{true, "DHCP", "True", ""},
        RuleCase{true, "DHCP", "Si", "El campo DHCP solo admite los valores True o False."},
        RuleCase{true, "ID", "5", "El campo ID no puede modificarse."},
        RuleCase{false, "CONNECTIONNAME", Repeat("c", 100), ""},
        RuleCase{false, "CONNECTIONNAME", Repeat("c", 101),
                 "El campo ConnectionName admite como maximo 100 caracteres."},
        RuleCase{false, "CONNECTIONNAME", "",
                 "El campo ConnectionName no admite una cadena de longitud cero."},
        RuleCase{false, "DESCRIPTION", "", ""},
        RuleCase{false, "DESCRIPTION", Repeat("d", 51),
                 "El campo Description admite como maximo 50 caracteres."}));

TEST_F(Store, FieldNames_IgnoreLetterCase) {
    AddSet("Casa");
    for (const char* Name : {"IPSet_Name", "IPSET_NAME", "ipset_name", "iPsEt_NaMe"})
        EXPECT_EQ(Sets().FieldByName(Name).AsString(), "Casa") << Name;
    EXPECT_EQ(Names().FieldByName("connectionname").FieldName(), "ConnectionName");
    EXPECT_THROW(Sets().FieldByName("IPSetName"), Exception);
}

TEST_F(Store, WritingOutsideInsertOrEdit_Raises) {
    AddSet("Casa");
    EXPECT_THROW(Sets().FieldByName("IPSET_NAME").SetAsString("Otra"), Exception);
    EXPECT_EQ(CurrentName(), "Casa");
}

TEST_F(Store, CancelOfInsert_DiscardsTheRowAndReturnsToTheCurrentOne) {
    AddSet("a");
    const int B = AddSet("b");
    ASSERT_TRUE(Sets().Locate("ID", 1));
    Sets().Insert();
    Sets().FieldByName("IPSET_NAME").SetAsString("nueva");
    Sets().Cancel();
    EXPECT_EQ(Sets().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(CurrentName(), "a");
    EXPECT_EQ(Sets().RecordCount(), 2);
    EXPECT_EQ(AddSet("c"), B + 1);
}

TEST_F(Store, CancelOfEdit_KeepsTheStoredValue) {
    const int Id = AddSet("Casa");
    Sets().Edit();
    Sets().FieldByName("IPSET_NAME").SetAsString("Otra");
    EXPECT_EQ(CurrentName(), "Otra");
    Sets().Cancel();
    EXPECT_EQ(CurrentName(), "Casa");
    Reopen();
    ASSERT_TRUE(Sets().Locate("ID", Id));
    EXPECT_EQ(CurrentName(), "Casa");
}

TEST_F(Store, PostedEdit_IsStored) {
    const int Id = AddSet("Casa");
    Sets().Edit();
    Sets().FieldByName("DHCP").SetAsBoolean(true);
    Sets().FieldByName("IPADDRESS").SetAsString("0.0.0.0");
    Sets().Post();
    Reopen();
    ASSERT_TRUE(Sets().Locate("ID", Id));
    EXPECT_TRUE(Sets().FieldByName("DHCP").AsBoolean());
    EXPECT_EQ(Sets().FieldByName("IPADDRESS").AsString(), "0.0.0.0");
}

TEST_F(Store, EditOfARowAnotherConnectionDeleted_RaisesAndWritesNothing) {
    const int Kept = AddSet("otra"), Id = AddSet("Casa");
    Sets().Edit();
    Sets().FieldByName("IPSET_NAME").SetAsString("Nueva");
    TgtIPDBManager Other(nullptr);
    Other.OpenDatabase(FileName);
    ASSERT_TRUE(Other.IPSets()->Locate("ID", Id));
    Other.IPSets()->Delete();
    EXPECT_THROW(Sets().Post(), Exception);
    EXPECT_EQ(CurrentName(), "Casa"); // the change is cancelled
    Other.IPSets()->Refresh();
    EXPECT_EQ(ColumnValues(*Other.IPSets(), "ID"), std::vector<std::string>{std::to_string(Kept)});
}

struct DeleteCase {
    int Deleted;       // position among the sets a, b, c
    const char* After; // the name current afterwards
};

class DeleteMoves : public Store, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(DeleteMoves, CursorGoesToTheNextRowOrThePreviousAtTheEnd) {
    const int Ids[] = {AddSet("a"), AddSet("b"), AddSet("c")};
    ASSERT_TRUE(Sets().Locate("ID", Ids[GetParam().Deleted]));
    Sets().Delete();
    EXPECT_EQ(Sets().RecordCount(), 2);
    EXPECT_FALSE(Sets().Eof());
    EXPECT_EQ(CurrentName(), GetParam().After);
    EXPECT_FALSE(Sets().Locate("ID", Ids[GetParam().Deleted]));
}

INSTANTIATE_TEST_SUITE_P(Store, DeleteMoves,
                         ::testing::Values(DeleteCase{0, "b"}, DeleteCase{1, "c"},
                                           DeleteCase{2, "b"}));

TEST_F(Store, DeleteOfTheLastRow_LeavesAnEmptyTableAtItsEnd) {
    AddSet("solo");
    Sets().Delete();
    EXPECT_TRUE(Sets().Eof());
    EXPECT_EQ(Sets().RecordCount(), 0);
    EXPECT_THROW(Sets().Delete(), Exception);
}

TEST_F(Store, Listing_VisitsEveryRowInKeyOrderThenStaysAtTheEnd) {
    AddSet("a");
    AddSet("b");
    AddSet("c");
    std::string Seen;
    for (Sets().First(); !Sets().Eof(); Sets().Next())
        Seen += CurrentName();
    EXPECT_EQ(Seen, "abc");
    Sets().Next();
    EXPECT_TRUE(Sets().Eof());
    EXPECT_EQ(CurrentName(), "c");
}

// A move or a change part-way through a walk of more rows than one read brings ahead: what
// becomes current, and where the walk goes on from. Every step, including a write by another
// connection, must succeed: no read is left open between calls.
struct WalkCase {
    const char* Label;
    int At; // the action runs when this ID is current
    void (*Action)(TDataSet& Sets, const std::string& FileName);
    int Current; // then current (0: the row just inserted)
    int Next;    // current after one more Next (0: end of table)
};

class WalkChanges : public Store, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(WalkChanges, CursorAndTheRestOfTheWalkFollowTheStore) {
    const WalkCase& C = GetParam();
    TStatement(*Manager->AdoConnection(), "BEGIN").Step();
    for (int I = 1; I <= 300; ++I)
        AddSet("s" + std::to_string(I));
    TStatement(*Manager->AdoConnection(), "COMMIT").Step();
    std::vector<int> Seen;
    for (Sets().First(); !Sets().Eof() && Sets().FieldByName("ID").AsInteger() != C.At;
         Sets().Next())
        Seen.push_back(Sets().FieldByName("ID").AsInteger());
    ASSERT_EQ(Seen.size(), static_cast<std::size_t>(C.At - 1));
    for (int I = 0; I < C.At - 1; ++I)
        ASSERT_EQ(Seen[static_cast<std::size_t>(I)], I + 1);
    C.Action(Sets(), FileName);
    EXPECT_EQ(Sets().FieldByName("ID").AsInteger(), C.Current ? C.Current : 301);
    Sets().Next();
    EXPECT_EQ(Sets().Eof(), C.Next == 0);
    if (C.Next != 0) {
        EXPECT_EQ(Sets().FieldByName("ID").AsInteger(), C.Next);
    }
}

void InsertRow(TDataSet& Sets) {
    Sets.Insert();
    Sets.FieldByName("IPSET_NAME").SetAsString("nueva");
}

INSTANTIATE_TEST_SUITE_P(
    Store, WalkChanges,
    ::testing::Values(WalkCase{"LocateBack", 120,
                               [](TDataSet& S, const std::string&) { S.Locate("ID", 50); }, 50, 51},
                      WalkCase{"PostEdit", 200,
                               [](TDataSet& S, const std::string&) {
                                   S.Edit();
                                   S.FieldByName("IPSET_NAME").SetAsString("editada");
                                   S.Post();
                               },
                               200, 201},
                      WalkCase{"Delete", 128, [](TDataSet& S, const std::string&) { S.Delete(); },
                               129, 130},
                      WalkCase{"PostInsert", 10,
                               [](TDataSet& S, const std::string&) {
                                   InsertRow(S);
                                   S.Post();
                               },
                               0, 0},
                      WalkCase{"CancelInsert", 10,
                               [](TDataSet& S, const std::string&) {
                                   InsertRow(S);
                                   S.Cancel();
                               },
                               10, 11},
                      WalkCase{"OtherConnectionWrites", 140,
                               [](TDataSet& S, const std::string& F) {
                                   // A read that found its row has nothing more to give, yet must
                                   // not stay open either.
                                   S.Locate("IPSET_NAME", std::string("s141"));
                                   TgtIPDBManager Other(nullptr);
                                   Other.OpenDatabase(F);
                                   ASSERT_TRUE(Other.IPSets()->Locate("ID", 142));
                                   Other.IPSets()->Delete();
                               },
                               141, 143}),
    [](const ::testing::TestParamInfo<WalkCase>& Info) { return std::string(Info.param.Label); });

TEST_F(Store, AnotherConnectionsRows_AreFoundAtOnceAndItsChangesSeenAfterARefresh) {
    const int Id = AddSet("antes");
    ASSERT_TRUE(Sets().Locate("ID", Id));
    TgtIPDBManager Other(nullptr);
    Other.OpenDatabase(FileName);
    const int Added = PostConnection(Other, "LAN ajena");
    ASSERT_TRUE(Names().Locate("ID", Added));
    ASSERT_TRUE(Other.IPSets()->Locate("ID", Id));
    Other.IPSets()->Edit();
    Other.IPSets()->FieldByName("IPSET_NAME").SetAsString("despues");
    Other.IPSets()->Post();
    Names().Refresh(); // a re-read of either table
    ASSERT_TRUE(Sets().Locate("ID", Id));
    EXPECT_EQ(CurrentName(), "despues");
    Sets().Edit();
    Sets().FieldByName("IPSET_NAME").SetAsString("propia");
    Sets().Post();
    ASSERT_TRUE(Names().Locate("ID", Added));
    ASSERT_TRUE(Sets().Locate("ID", Id));
    EXPECT_EQ(CurrentName(), "propia");
}

TEST_F(Store, ConnectionOpenedAgainOnAnotherFile_IsWhatTheTablesRead) {
    AddSet("a");
    TempFolder Other;
    const std::string OtherFile = Other.File("otra.ipdb");
    CreateEmptyDatabase(OtherFile);
    Manager->AdoConnection()->Open(OtherFile);
    EXPECT_EQ(Sets().RecordCount(), 0);
    Sets().First();
    EXPECT_TRUE(Sets().Eof());
}

TEST_F(Store, Refresh_SeesRowsAndGoesToTheFirst) {
    AddSet("a");
    AddSet("b");
    Sets().Refresh();
    EXPECT_FALSE(Sets().Eof());
    EXPECT_EQ(CurrentName(), "a");
    EXPECT_EQ(Sets().RecordCount(), 2);
}

TEST_F(Store, Locate_MatchesWholeValuesAndStaysPutWhenNothingMatches) {
    AddSet("Casa");
    AddSet("Casa grande");
    ASSERT_TRUE(Sets().Locate("IPSET_NAME", std::string("Casa grande")));
    EXPECT_FALSE(Sets().Locate("IPSET_NAME", std::string("Cas")));
    EXPECT_FALSE(Sets().Locate("IPSET_NAME", std::string("casa")));
    EXPECT_FALSE(Sets().Locate("ID", 99));
    EXPECT_EQ(CurrentName(), "Casa grande");
    EXPECT_TRUE(Sets().Locate("ID", std::string("1")));
    EXPECT_EQ(CurrentName(), "Casa");
}

TEST_F(Store, MovingAwayFromAChange_SavesItFirst) {
    AddSet("a");
    Names().Insert();
    Names().FieldByName("CONNECTIONNAME").SetAsString("Conexion de area local");
    EXPECT_TRUE(Names().Locate("CONNECTIONNAME", std::string("Conexion de area local")));
    EXPECT_EQ(Names().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Names().FieldByName("ID").AsInteger(), 1);
}

} // namespace
