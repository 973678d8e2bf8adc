#include "shell/Provisioning.h"
#include "base/Exception.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

namespace {

const std::string Template = std::string("SQLite format 3\0", 16) + std::string(5000, 'x');

TEST(Provisioning, MissingFile_GetsTheTemplateByteForByte) {
    TempFolder Folder;
    const std::string File = Folder.File("quelvano.ipdb");
    EXPECT_TRUE(ProvisionFile(File, Template));
    EXPECT_EQ(ReadWholeFile(File), Template);
    EXPECT_FALSE(std::filesystem::exists(File + ".tmp"));
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

TEST(Provisioning, FolderTakingTheName_IsLeftAlone) {
    TempFolder Folder;
    const std::string File = Folder.File("quelvano.ipdb");
    std::filesystem::create_directory(File);
    EXPECT_FALSE(ProvisionFile(File, Template));
    EXPECT_TRUE(std::filesystem::is_directory(File));
}

TEST(Provisioning, UnwritableFolder_RaisesNamingTheFileAndLeavesNothing) {
    TempFolder Folder;
    const std::string File = Folder.File("missing-folder/quelvano.ipdb");
    try {
        ProvisionFile(File, Template);
        FAIL();
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message().rfind("Cannot create file \"" + File + "\". ", 0), 0u) << E.Message();
    }
    EXPECT_FALSE(std::filesystem::exists(File));
    EXPECT_FALSE(std::filesystem::exists(File + ".tmp"));
}

} // namespace
