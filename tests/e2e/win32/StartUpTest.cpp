// Drives the real quelvano.exe: each test copies it into a folder of its own, starts it, and reads
// and answers its windows as a person would.
#include "base/FilePath.h"
#include "base/SysError.h"
#include "base/win32/WideText.h"
#include "data/o_DatabaseConnection.h"
#include "e2e/win32/Driver.h"
#include "fakes/TempFolder.h"
#include "shell/GlobalUnit.h"

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

// The program's entry in the start-up list, read straight from the registry; empty when absent.
std::wstring RunValue() {
    wchar_t Data[1024] = {};
    DWORD Size = sizeof Data - sizeof(wchar_t);
    RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                 L"Quelvano", RRF_RT_REG_SZ, nullptr, Data, &Size);
    return Data;
}

class StartUp : public ::testing::Test {
protected:
    void SetUp() override {
        Exe = Folder.Path() / "quelvano.exe";
        ASSERT_TRUE(std::filesystem::copy_file(FilePath(QUELVANO_EXE), Exe));
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

    // Answers the message box of a copy that must end without a window, and checks its exit code.
    static TMessageBox ReportOf(TRunningCopy& Copy, long ExitCode) {
        const HWND Box = Copy.WaitForWindow(L"#32770");
        EXPECT_NE(Box, nullptr) << "no message box";
        const TMessageBox Read = Box ? ReadAndDismiss(Box) : TMessageBox{};
        EXPECT_EQ(Copy.ExitCode(), ExitCode);
        EXPECT_EQ(Copy.FindWindowOf(L"TFrmMain"), nullptr);
        return Read;
    }

    // Starts a copy that must fail; returns what its report said.
    TMessageBox StartExpectingFailure() { return ReportOf(*Start(), 1); }

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
    const TMessageBox Read = ReportOf(*Second, 0);
    EXPECT_EQ(Read.Caption, "Quelvano");
    EXPECT_EQ(Read.Text, AlreadyRunning);

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
    std::filesystem::remove(FilePath(Database));
    auto Copy = Start();
    const HWND Main = Copy->WaitForMainWindow();
    ASSERT_NE(Main, nullptr);
    EXPECT_EQ(Close(*Copy, Main), 0);
}

TEST_F(StartUp, NameTakenByAFolder_EndsWithTheProvisioningReportAndExitCodeOne) {
    std::filesystem::create_directory(FilePath(Database));
    const TMessageBox Report = StartExpectingFailure();
    EXPECT_EQ(Report.Caption, "Application Error");
    const std::string Expected =
        "Cannot create file \"" + Database + "\". " + SysErrorMessage(ERROR_ALREADY_EXISTS);
    EXPECT_TRUE(EndsWith(Report.Text, Expected)) << Report.Text;
    EXPECT_TRUE(std::filesystem::is_directory(FilePath(Database)));
    EXPECT_EQ(Folder.Entries(), 2); // the program and that folder
}

// Users keep programs in folders named after themselves.
TEST_F(StartUp, FolderWithAccentedLetters_HoldsTheDatabaseTheGuardAndTheStartUpEntry) {
    const TempFolder Root(std::filesystem::path(L"C:\\Año 2026"));
    const std::filesystem::path Dir = Root.Path() / L"José Ñandú";
    ASSERT_TRUE(std::filesystem::create_directory(Dir));
    Exe = Dir / L"quelvano.exe";
    ASSERT_TRUE(std::filesystem::copy_file(FilePath(QUELVANO_EXE), Exe));

    auto First = Start();
    const HWND Main = First->WaitForMainWindow();
    ASSERT_NE(Main, nullptr);
    EXPECT_EQ(ReadWholeFile(PathText(Dir / L"quelvano.ipdb")), ReadWholeFile(QUELVANO_TEMPLATE));

    auto Second = Start();
    EXPECT_EQ(ReportOf(*Second, 0).Text, AlreadyRunning);

    SetRunAtStartup(PathText(Exe), RunValueName, true);
    EXPECT_EQ(RunValue(), Exe.wstring());
    SetRunAtStartup(PathText(Exe), RunValueName, false);
    EXPECT_EQ(RunValue(), L"");

    EXPECT_EQ(Close(*First, Main), 0);
}

// Any other DLL would be searched for in the program's folder before a line of its code runs;
// comctl32 comes from the side-by-side store that the manifest names.
TEST(Imports, OnlyDllsTheSystemTakesFromItsOwnFolder) {
    for (const char* Exe : {QUELVANO_EXE, QUELVANO_CTL_EXE}) {
        const std::vector<std::string> Names = ImportedDlls(FilePath(Exe));
        EXPECT_GT(Names.size(), 3u) << Exe;
        for (const std::string& Name : Names)
            EXPECT_TRUE(IsKnownDll(Name) || Name == "comctl32.dll") << Exe << ": " << Name;
    }
}

} // namespace
