// Drives the real quelvano.exe: each test copies it into a folder of its own, starts it, and reads
// and answers its windows as a person would.
#include "base/win32/WideText.h"
#include "data/o_DatabaseConnection.h"
#include "e2e/win32/Driver.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const AlreadyRunning =
    "Quelvano ya se encuentra en ejecucion.\rRecuerde que cuando usted minimiza Quelvano la "
    "aplicacion se oculta al costado del reloj.";
bool EndsWith(const std::string& Text, const std::string& Tail) {
    return Text.size() >= Tail.size() &&
           Text.compare(Text.size() - Tail.size(), Tail.size(), Tail) == 0;
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        Exe = Folder.Path() / "quelvano.exe";
        ASSERT_TRUE(std::filesystem::copy_file(QUELVANO_EXE, Exe));
        Database = Folder.File("quelvano.ipdb");
    }

    // Starts the copy from another working folder, so the program must find its own.
    std::unique_ptr<TRunningCopy> Start() {
        return std::make_unique<TRunningCopy>(Exe, Elsewhere.Path());
    }

    // Closes the main window as its close box would and returns the exit code.
    static long Close(TRunningCopy& Copy, HWND Main) {
        PostMessageW(Main, WM_CLOSE, 0, 0);
        return Copy.ExitCode();
    }

    // Starts a copy that must fail; returns what its report said and checks the exit code.
    TMessageBox StartExpectingFailure() {
        auto Copy = Start();
        const HWND Box = Copy->WaitForWindow(L"#32770");
        EXPECT_NE(Box, nullptr) << "no error report";
        const TMessageBox Read = Box ? ReadAndDismiss(Box) : TMessageBox{};
        EXPECT_EQ(Copy->ExitCode(), 1);
        EXPECT_EQ(Copy->FindWindowOf(L"TFrmMain"), nullptr);
        return Read;
    }

    // The store's own message for the file beside the program, named as the program names it.
    std::string OpenError() const {
        try {
            TgtIPDBManager(nullptr).OpenDatabase(
                FromWide((Folder.Path() / "quelvano.ipdb").wstring()));
        } catch (const std::exception& E) {
            return E.what();
        }
        return "(the file opened)";
    }

    TempFolder Folder;
    TempFolder Elsewhere;
    std::filesystem::path Exe;
    std::string Database;
};

TEST_F(StartUp, FirstStart_WritesTheTemplateBesideTheProgramAndShowsTheWindow) {
    auto Copy = Start();
    const HWND Main = Copy->WaitForMainWindow();
    ASSERT_NE(Main, nullptr);
    EXPECT_EQ(ReadWholeFile(Database), ReadWholeFile(QUELVANO_TEMPLATE));
    EXPECT_FALSE(std::filesystem::exists(Elsewhere.Path() / "quelvano.ipdb"));
    // The wait box is made at start and waits hidden for the first apply.
    const HWND WaitBox = Copy->FindWindowOf(L"TFrmWaitBox", false);
    ASSERT_NE(WaitBox, nullptr);
    EXPECT_FALSE(IsWindowVisible(WaitBox));
    EXPECT_EQ(Close(*Copy, Main), 0);
}

TEST_F(StartUp, SecondStart_IsRefusedWithTheMessageAndTheFirstGoesOn) {
    auto First = Start();
    const HWND Main = First->WaitForMainWindow();
    ASSERT_NE(Main, nullptr);

    auto Second = Start();
    const HWND Box = Second->WaitForWindow(L"#32770");
    ASSERT_NE(Box, nullptr);
    const TMessageBox Read = ReadAndDismiss(Box);
    EXPECT_EQ(Read.Caption, "Quelvano");
    EXPECT_EQ(Read.Text, AlreadyRunning);
    EXPECT_EQ(Second->ExitCode(), 0);
    EXPECT_EQ(Second->FindWindowOf(L"TFrmMain"), nullptr);

    EXPECT_FALSE(First->Ended());
    EXPECT_TRUE(IsWindowVisible(Main));
    EXPECT_EQ(Close(*First, Main), 0);

    // The guard went with the first copy: the next start is not refused.
    auto Third = Start();
    const HWND Again = Third->WaitForMainWindow();
    ASSERT_NE(Again, nullptr);
    EXPECT_EQ(Close(*Third, Again), 0);
}

TEST_F(StartUp, ExistingFile_IsNeverReplacedAndAnUnreadableOneEndsTheStart) {
    struct Case {
        const char* Name;
        std::string Bytes;
    };
    std::string Jet(2048, '\0');
    Jet.replace(4, 15, "Standard Jet DB");
    const std::vector<Case> Cases = {{"empty", ""}, {"text", "not a database"}, {"jet", Jet}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        WriteWholeFile(Database, C.Bytes);
        const TMessageBox Report = StartExpectingFailure();
        EXPECT_EQ(Report.Caption, "Application Error");
        EXPECT_TRUE(EndsWith(Report.Text, OpenError())) << Report.Text;
        EXPECT_EQ(ReadWholeFile(Database), C.Bytes) << Report.Text;
    }
    // No guard is left behind by a failed start.
    std::filesystem::remove(Database);
    auto Copy = Start();
    const HWND Main = Copy->WaitForMainWindow();
    ASSERT_NE(Main, nullptr);
    EXPECT_EQ(Close(*Copy, Main), 0);
}

TEST_F(StartUp, NameTakenByAFolder_EndsWithTheReportAndExitCodeOne) {
    std::filesystem::create_directory(Database);
    const TMessageBox Report = StartExpectingFailure();
    EXPECT_EQ(Report.Caption, "Application Error");
    EXPECT_TRUE(std::filesystem::is_directory(Database));
    EXPECT_FALSE(std::filesystem::exists(Database + ".tmp"));
}

} // namespace
