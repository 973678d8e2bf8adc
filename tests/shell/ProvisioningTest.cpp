#include "shell/Provisioning.h"
#include "base/DurableFile.h"
#include "base/Exception.h"
#include "base/FilePath.h"
#include "base/SysError.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

// The system's codes for a missing folder and for a name already taken.
#ifdef _WIN32
constexpr unsigned PathNotFound = 3;    // ERROR_PATH_NOT_FOUND
constexpr unsigned AlreadyExists = 183; // ERROR_ALREADY_EXISTS
#else
constexpr unsigned PathNotFound = ENOENT;
constexpr unsigned AlreadyExists = EEXIST;
#endif

const std::string Template = std::string("SQLite format 3\0", 16) + std::string(5000, 'x');

bool Exists(const std::string& File) {
    return std::filesystem::exists(FilePath(File));
}

TEST(Provisioning, MissingFile_GetsTheTemplateByteForByte) {
    TempFolder Folder;
    const std::string File = Folder.File("quelvano.ipdb");
    EXPECT_TRUE(ProvisionFile(File, Template));
    EXPECT_EQ(ReadWholeFile(File), Template);
    EXPECT_EQ(Folder.Entries(), 1);
}

class ExistingFile : public ::testing::TestWithParam<std::string> {};

TEST_P(ExistingFile, IsLeftUntouched) {
    TempFolder Folder;
    const std::string File = Folder.File("quelvano.ipdb");
    WriteWholeFile(File, GetParam());
    EXPECT_FALSE(ProvisionFile(File, Template));
    EXPECT_EQ(ReadWholeFile(File), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Provisioning, ExistingFile,
                         ::testing::Values(std::string(), std::string("basura"),
                                           std::string(4, '\0') + "Standard Jet DB"));

TEST(Provisioning, NameThatCannotBeWritten_RaisesTheSystemsReasonAndLeavesNothing) {
    const struct {
        const char* Name;
        bool FolderTakesName;
        unsigned Reason;
    } Cases[] = {{"missing-folder/quelvano.ipdb", false, PathNotFound},
                 {"quelvano.ipdb", true, AlreadyExists}};
    for (const auto& C : Cases) {
        TempFolder Folder;
        const std::string File = Folder.File(C.Name);
        if (C.FolderTakesName)
            std::filesystem::create_directory(FilePath(File));
        try {
            ProvisionFile(File, Template);
            ADD_FAILURE() << C.Name << " was written";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message(),
                      "Cannot create file \"" + File + "\". " + SysErrorMessage(C.Reason));
        }
        EXPECT_EQ(std::filesystem::is_directory(FilePath(File)), C.FolderTakesName) << C.Name;
        EXPECT_EQ(Exists(File), C.FolderTakesName) << C.Name;
        EXPECT_EQ(Folder.Entries(), C.FolderTakesName ? 1 : 0) << C.Name;
    }
}

TEST(DurableFile, TakenName_IsReplacedOnlyWhenAsked) {
    const struct {
        bool Taken;
        bool Replace;
        unsigned Result;
        const char* After;
    } Cases[] = {{false, false, 0, "new"},
                 {true, false, AlreadyExists, "old"},
                 {false, true, 0, "new"},
                 {true, true, 0, "new"}};
    for (const auto& C : Cases) {
        TempFolder Folder;
        const std::string File = Folder.File("settings.conf");
        if (C.Taken)
            WriteWholeFile(File, "old");
        WriteWholeFile(File + ".tmp", "mine"); // the user's own
        EXPECT_EQ(WriteFileDurably(File, "new", C.Replace), C.Result);
        EXPECT_EQ(ReadWholeFile(File), C.After) << C.Taken << C.Replace;
        EXPECT_EQ(ReadWholeFile(File + ".tmp"), "mine");
        EXPECT_EQ(Folder.Entries(), 2);
    }
}

} // namespace
