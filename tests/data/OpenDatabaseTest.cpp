#include "base/Exception.h"
#include "base/FilePath.h"
#include "base/TApplication.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/TempFolder.h"
#include "fakes/TempStore.h"
#include "shell/Provisioning.h"

#include <gtest/gtest.h>

namespace {

std::string JetHeader() {
    std::string Bytes(4096, '\0');
    Bytes.replace(4, 15, "Standard Jet DB");
    return Bytes;
}

std::string ValidFile(const TempFolder& Folder) {
    const std::string Name = Folder.File("valid.ipdb");
    CreateEmptyDatabase(Name);
    return ReadWholeFile(Name);
}

struct BadFileCase {
    const char* Label;
    std::string (*Make)(const std::string& Valid);
    const char* Cause;
};

class OpenBadFile : public ::testing::TestWithParam<BadFileCase> {};

TEST_P(OpenBadFile, FailsNamingTheFileAndTheCauseAndLeavesItAlone) {
    TempFolder Folder;
    const std::string FileName = Folder.File("quelvano.ipdb");
    const std::string Bytes = GetParam().Make(ValidFile(Folder));
    WriteWholeFile(FileName, Bytes);
    TgtIPDBManager Manager(nullptr);
    try {
        Manager.OpenDatabase(FileName);
        FAIL() << "opened " << GetParam().Label;
    } catch (const Exception& E) {
        EXPECT_NE(E.Message().find("\"" + FileName + "\""), std::string::npos) << E.Message();
        EXPECT_NE(E.Message().find(GetParam().Cause), std::string::npos) << E.Message();
    }
    EXPECT_FALSE(Manager.IPSets()->Active());
    EXPECT_EQ(ReadWholeFile(FileName), Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    StoreFile, OpenBadFile,
    ::testing::Values(
        BadFileCase{"empty", [](const std::string&) { return std::string(); }, "esta vacio"},
        BadFileCase{"jet", [](const std::string&) { return JetHeader(); }, "formato Jet"},
        BadFileCase{"text", [](const std::string&) { return std::string("hola, mundo\n"); },
                    "no es una base de datos"},
        BadFileCase{"truncated", [](const std::string& V) { return V.substr(0, V.size() / 2); },
                    "danado"},
        BadFileCase{"scrambled",
                    [](const std::string& V) {
                        std::string S = V;
                        for (std::size_t I = 100; I < S.size(); ++I)
                            S[I] = static_cast<char>(S[I] ^ 0x5A);
                        return S;
                    },
                    "danado"}),
    [](const ::testing::TestParamInfo<BadFileCase>& Info) {
        return std::string(Info.param.Label);
    });

TEST(StoreFile, OpenOfAMissingFile_FailsAndCreatesNothing) {
    TempFolder Folder;
    const std::string FileName = Folder.File("quelvano.ipdb");
    TgtIPDBManager Manager(nullptr);
    EXPECT_THROW(Manager.OpenDatabase(FileName), Exception);
    EXPECT_FALSE(std::filesystem::exists(FilePath(FileName)));
}

TEST(StoreFile, OpenOfAnotherDatabase_NamesTheMissingTable) {
    TempFolder Folder;
    const std::string FileName = Folder.File("other.ipdb");
    CreateEmptyDatabase(FileName);
    {
        TgtIPDBManager Manager(nullptr);
        Manager.OpenDatabase(FileName);
        TStatement Drop(*Manager.AdoConnection(), "DROP TABLE Connections");
        Drop.Step();
    }
    TgtIPDBManager Manager(nullptr);
    try {
        Manager.OpenDatabase(FileName);
        FAIL();
    } catch (const Exception& E) {
        EXPECT_NE(E.Message().find("Connections"), std::string::npos) << E.Message();
    }
}

// Users keep programs in folders named after themselves: the name reaches every file call whole.
TEST(StoreFile, FolderWithAccentedLetters_IsProvisionedOpenedAndKeepsItsRows) {
    TempFolder Folder;
    const std::string Dir = Folder.File("Año 2026/José Ñandú");
    std::filesystem::create_directories(FilePath(Dir));
    const std::string FileName = Dir + "/quelvano.ipdb";
    ASSERT_TRUE(ProvisionFile(FileName, ValidFile(Folder)));
    const std::string Name = "Begoña";
    {
        TgtIPDBManager Manager(nullptr);
        Manager.OpenDatabase(FileName);
        PostIPSet(Manager, Name, 0, true, {});
    }
    TgtIPDBManager Manager(nullptr);
    Manager.OpenDatabase(FileName);
    EXPECT_EQ(ColumnValues(*Manager.IPSets(), "IPSET_NAME"), std::vector<std::string>{Name});
}

TEST(StoreFile, SharedManager_IsOwnedByTheApplication) {
    TgtIPDBManager* M = GetIPDBManager();
    EXPECT_EQ(M, GetIPDBManager());
    EXPECT_EQ(M->Owner(), &Application());
    EXPECT_FALSE(M->IPSets()->Active());
}

} // namespace
