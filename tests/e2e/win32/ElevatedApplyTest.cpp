// Applies IP sets as a copy of the program without administrator rights does: the lines go to a
// copy of this program in helper mode (a helper serves only the file it runs itself, so this test
// is its own helper), started through ShellExecuteExW "runas" (under Wine, where every program is
// elevated, without a prompt), which runs them through the fake netsh.exe in the prefix's system
// folder.
#include "base/TApplication.h"
#include "base/win32/WideText.h"
#include "data/ExtrasStore.h"
#include "data/o_DatabaseConnection.h"
#include "fakes/FakeLiveAdapters.h"
#include "fakes/FakeTray.h"
#include "fakes/FakeTree.h"
#include "fakes/TempFolder.h"
#include "fakes/TempStore.h"
#include "ipset/o_IPSetManager.h"
#include "ipset/win32/ApplyHelper.h"
#include "ipset/win32/ElevatedRunner.h"
#include "ipset/win32/FakeNetshFiles.h"
#include "ipset/win32/HelperPipe.h"
#include "ipset/win32/NetshRunner.h"
#include "tray/ExtCtrlsX.h"
#include "ui/f_WaitBox.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <sddl.h>

#include <aclapi.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace {

[[maybe_unused]] const bool HelperStart =
    IsApplyHelperStart() && (std::exit(RunApplyHelper()), true);
std::wstring Program() {
    return ToWide(Application().ExeName());
}

const std::vector<std::string> Example = {"192.0.2.10", "255.255.255.0", "192.0.2.1", "192.0.2.53",
                                          "198.51.100.53"};

class RecordingView : public TWaitBoxView {
public:
    explicit RecordingView(std::vector<int>& Log) : FLog(Log) {}
    void Show() override {}
    void SetProgress(int Position) override { FLog.push_back(Position); }

private:
    std::vector<int>& FLog;
};

// What an apply left: the lines netsh was given, the wait box's positions, the balloon.
struct TOutcome {
    std::vector<std::string> Lines;
    std::vector<int> Progress;
    std::string Title;
    std::string Hint;
    TBalloonFlags Flags;
    auto Tied() const { return std::tie(Lines, Progress, Title, Hint, Flags); }
};

class ElevatedApply : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t Temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, Temp);
        FLog = std::wstring(Temp) + L"quelvano-helper-" + std::to_wstring(GetCurrentProcessId()) +
               L".log";
        SetEnvironmentVariableW(L"FAKE_NETSH_LOG", FLog.c_str());
        DeleteFileW(FakeNetshStatePath().c_str());
        // The adapter shows what the fake netsh was asked for, read from its file; the
        // verification's clock is the fake's, so a failed apply does not wait.
        auto Adapters = std::make_unique<FakeLiveAdapters>(Netsh);
        Adapters->BeforeRead = [this] {
            Netsh = LoadNetshState(ReadFakeFile(FakeNetshStatePath()));
        };
        Manager.SetLiveAdapters(std::move(Adapters));
        Manager.SetIPSetDataSet(Store.Db.IPSets());
        Manager.SetConnectionsDataSet(Store.Db.ConnectionNames());
        Manager.SetDatabase(Store.Db.AdoConnection());
        Manager.SetTrayIcon(&Tray);
        Manager.SetIPSetTreeView(&Tree);
        Manager.SetAdapterTreeview(&AdapterTree);
        Manager.AddListener(&WaitBox);
        WaitBoxViewFactory = [this] { return std::make_unique<RecordingView>(Progress); };
    }
    void TearDown() override {
        SetEnvironmentVariableW(L"FAKE_NETSH_LOG", nullptr);
        SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", nullptr);
        WaitBoxViewFactory = nullptr;
        Application().OnProcessMessages = nullptr;
        DeleteFileW(FLog.c_str());
        DeleteFileW(FakeNetshStatePath().c_str());
    }

    int AddSet(bool Dhcp) {
        return PostIPSet(Store.Db, "Casa", PostConnection(Store.Db, "Conexi\xC3\xB3n LAN"), Dhcp,
                         Example);
    }

    std::vector<std::string> Received() const {
        std::ifstream In(FLog.c_str(), std::ios::binary);
        std::vector<std::string> Lines;
        for (std::string Line; std::getline(In, Line);)
            Lines.push_back(Line);
        return Lines;
    }

    // The runner of a copy without administrator rights, with the real program as its helper.
    std::unique_ptr<TCommandRunner> HelperRunner(unsigned PauseMs) {
        return CreateElevatedRunner(PauseMs, [this](const std::wstring& Parameters) {
            TLaunch Launch = LaunchElevated(Program(), Parameters);
            ++Launches;
            Helper = Launch.Process.get();
            return Launch;
        });
    }

    TOutcome Apply(int ID, std::unique_ptr<TCommandRunner> Runner) {
        DeleteFileW(FLog.c_str());
        Progress.clear();
        Tray.SetBalloonTitle("");
        Tray.SetBalloonHint("");
        Manager.SetCommandRunner(std::move(Runner));
        Manager.ApplyIPSet(ID);
        return {Received(), Progress, Tray.BalloonTitle(), Tray.BalloonHint(), Tray.BalloonFlags()};
    }

    TempStore Store;
    FakeTray Fake;
    TTrayIcon Tray{nullptr, Fake.Services()};
    FakeTree Tree;
    // The IP-set tree stays as it is when its sets did not change; this one is read anew.
    FakeTree AdapterTree;
    TgtIPSetManager Manager{nullptr};
    TWaitBoxListener WaitBox;
    TNetshState Netsh;
    std::vector<int> Progress;
    std::wstring FLog;
    int Launches = 0;
    HANDLE Helper = nullptr; // the last helper started, while it is the runner's
};

// A set's extras go the same way, their lines after the set's own, and netsh keeps them.
TEST_F(ElevatedApply, HelperGivesTheSameLinesProgressAndBalloonsAsInProcess) {
    TIPSetExtras Extras, Automatic;
    Extras.Addresses = {{"192.0.2.11", "255.255.255.0"}};
    Extras.IPv6 = TIPv6Mode::Static;
    Extras.IPv6Addresses = {{"2001:db8::5", 64}};
    Automatic.IPv6 = TIPv6Mode::Automatic;
    const std::string Own = "IP: 192.0.2.10\rMascara de subred: 255.255.255.0\rGateway: 192.0.2.1\r"
                            "DNS preferido: 192.0.2.53\rDNS alternativo: 198.51.100.53\rDHCP: No";
    const struct {
        bool Dhcp;
        const wchar_t* ExitCodes;
        std::string Hint; // of the helper's outcome
        TIPSetExtras Extras = {};
        std::size_t Lines = Dhcp ? 2 : 3;
    } Cases[] = {
        {false, L"", Own},
        {true, L"", "DHCP: Si"},
        {false, L"0 3 -2",
         "Paso 2 de 3: netsh termino con el codigo 3\rPaso 3 de 3: netsh termino con el codigo -2"
         "\rDNS: se esperaba 192.0.2.53, 198.51.100.53; el adaptador tiene 10.0.2.3"},
        {true, L"7 0",
         "Paso 1 de 2: netsh termino con el codigo 7\rDHCP: se esperaba Si, el adaptador tiene No"},
        // Before the static IPv6 address is there: the first of the two applies would delete it.
        {true, L"", "DHCP: Si\rIPv6: Automatica", Automatic, 3},
        {false, L"", Own + "\rIP adicional: 192.0.2.11 255.255.255.0\rIPv6: 2001:db8::5/64", Extras,
         5},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Hint);
        const int ID = AddSet(C.Dhcp);
        SaveIPSetExtras(*Store.Db.AdoConnection(), ID, C.Extras);
        SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", C.ExitCodes);
        const TOutcome InProcess = Apply(ID, CreateNetshRunner(0));
        const int Before = Launches;
        const TOutcome ThroughHelper = Apply(ID, HelperRunner(0));
        EXPECT_EQ(Launches, Before + 1);
        EXPECT_TRUE(ThroughHelper.Tied() == InProcess.Tied())
            << testing::PrintToString(InProcess.Lines) << InProcess.Hint
            << testing::PrintToString(InProcess.Progress)
            << testing::PrintToString(ThroughHelper.Progress);
        EXPECT_EQ(ThroughHelper.Lines.size(), C.Lines);
        EXPECT_EQ(ThroughHelper.Hint, C.Hint);
        const TIPSetExtras Kept =
            LoadNetshState(ReadFakeFile(FakeNetshStatePath()))["Conexi\xC3\xB3n LAN"].Extras;
        EXPECT_TRUE(Kept.Addresses == C.Extras.Addresses);
        EXPECT_TRUE(C.Extras.IPv6 != TIPv6Mode::Static ||
                    Kept.IPv6Addresses == C.Extras.IPv6Addresses);
    }
}

// A helper that is gone, or was never there, leaves its lines failed and the apply unblocked.
// The helper ended early is ended once its second netsh has started (ending it inside its start
// could leave that netsh half made): it reports a line only after its pause, so the second
// result cannot be in.
TEST_F(ElevatedApply, LinesTheRightHelperDoesNotReportFail) {
    const int ID = AddSet(false);
    const std::string Lost = "no se pudo ejecutar netsh";
    Application().OnProcessMessages = [this] {
        if (Progress.size() != 2 || Helper == nullptr)
            return;
        for (int Waited = 0; Received().size() < 2 && Waited < 10000; Waited += 10)
            Sleep(10);
        TerminateProcess(Helper, 1);
        WaitForSingleObject(Helper, 10000);
    };
    THandle Posed; // the real helper, while another process poses as it
    const struct {
        const char* Label;
        std::function<std::unique_ptr<TCommandRunner>()> Runner;
        size_t LinesRun;
        std::string Hint;
    } Cases[] = {
        {"ended while running its second line", [this] { return HelperRunner(1000); }, 2,
         "Paso 2 de 3: " + Lost + "\rPaso 3 de 3: " + Lost},
        {"ended before connecting",
         [] {
             return CreateElevatedRunner(0, [](const std::wstring&) {
                 return LaunchElevated(Program(), L"--apply-helper");
             });
         },
         0, "Paso 1 de 3: " + Lost + "\rPaso 2 de 3: " + Lost + "\rPaso 3 de 3: " + Lost},
        {"another process connects",
         [&] {
             return CreateElevatedRunner(0, [&](const std::wstring& Parameters) {
                 Posed = LaunchElevated(Program(), Parameters).Process;
                 HANDLE Self = nullptr;
                 DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(),
                                 &Self, 0, FALSE, DUPLICATE_SAME_ACCESS);
                 return TLaunch{OwnHandle(Self), 0};
             });
         },
         0, "Paso 1 de 3: " + Lost + "\rPaso 2 de 3: " + Lost + "\rPaso 3 de 3: " + Lost},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Label);
        Helper = nullptr;
        const TOutcome O = Apply(ID, C.Runner());
        EXPECT_EQ(O.Lines.size(), C.LinesRun);
        EXPECT_EQ(O.Progress, (std::vector<int>{35, 50, 70, 90, 100}));
        // The failed steps' lines come first, then what the adapter shows otherwise.
        EXPECT_EQ(O.Hint.substr(0, C.Hint.size() + 1), C.Hint + "\r");
    }
    // Once the apply has let go of the pipe, the real helper gives up without running anything.
    DWORD Code = 0;
    ASSERT_EQ(WaitForSingleObject(Posed.get(), 20000), WAIT_OBJECT_0);
    GetExitCodeProcess(Posed.get(), &Code);
    EXPECT_EQ(Code, DWORD(THelperExit::LinesRefused));
}

TLocal Descriptor(const std::wstring& Sddl) {
    PSECURITY_DESCRIPTOR Made = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(Sddl.c_str(), SDDL_REVISION_1, &Made,
                                                         nullptr);
    return TLocal(Made);
}

// Gives the file or folder only the entries of this DACL, in SDDL.
void Protect(const std::filesystem::path& Path, const std::wstring& Dacl) {
    const TLocal Made = Descriptor(Dacl);
    BOOL Present = FALSE, Defaulted = FALSE;
    PACL Acl = nullptr;
    GetSecurityDescriptorDacl(Made.get(), &Present, &Acl, &Defaulted);
    ASSERT_EQ(SetNamedSecurityInfoW(const_cast<wchar_t*>(Path.c_str()), SE_FILE_OBJECT,
                                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                    nullptr, nullptr, Acl, nullptr),
              DWORD(ERROR_SUCCESS));
}

// A declined prompt, or a copy of the program that others may change, runs nothing, says why and
// refreshes the trees. Wine keeps no descriptors of files: it makes them from the Unix modes, in
// which "everyone" is the others' bits, so the real folders here differ in what Everyone may do.
TEST_F(ElevatedApply, RefusedRightsRunNothingAndSayWhy) {
    wchar_t* User = nullptr;
    std::vector<BYTE> Sid = UserSid();
    ASSERT_TRUE(ConvertSidToStringSidW(Sid.data(), &User));
    const std::wstring OnlyUser = L"D:P(A;OICI;FA;;;" + std::wstring(User) + L")";
    LocalFree(User);
    const std::wstring Everyone = L"D:P(A;OICI;FA;;;WD)";
    const std::string OpenFolder = "Otros usuarios pueden modificar la carpeta de Quelvano: "
                                   "muevala a una carpeta propia para aplicar configuraciones.";
    const struct {
        std::wstring Folder, File; // DACLs; none for the prompt declined
        std::string Hint;
    } Cases[] = {{L"", L"", "Se necesitan permisos de administrador"},
                 {Everyone, L"", OpenFolder},
                 {OnlyUser, Everyone, OpenFolder},
                 {OnlyUser, L"", "IP: 192.0.2.10"}};
    const int ID = AddSet(false);
    for (const auto& C : Cases) {
        SCOPED_TRACE(FromWide(C.Folder + L" " + C.File));
        TempFolder Folder;
        const std::filesystem::path Copy = Folder.Path() / "quelvano.exe";
        // The same file as this program unless it gets a DACL of its own.
        ASSERT_TRUE(C.File.empty() ? CreateHardLinkW(Copy.c_str(), Program().c_str(), nullptr)
                                   : CopyFileW(Program().c_str(), Copy.c_str(), TRUE));
        if (!C.File.empty())
            Protect(Copy, C.File);
        if (!C.Folder.empty())
            Protect(Folder.Path(), C.Folder);
        const int Clears = AdapterTree.Clears;
        const TOutcome O = Apply(ID, CreateElevatedRunner(0, [&](const std::wstring& Parameters) {
                                     return C.Folder.empty() ? TLaunch{nullptr, ERROR_CANCELLED}
                                                             : LaunchElevated(Copy, Parameters);
                                 }));
        EXPECT_EQ(O.Lines.size(), O.Flags == TBalloonFlags::bfError ? 0u : 3u);
        EXPECT_EQ(O.Hint.substr(0, C.Hint.size()), C.Hint);
        EXPECT_EQ(AdapterTree.Clears, Clears + 1);
    }
}

// What no real file has under Wine: no DACL at all, an owner not of the trusted, a right to change
// given to a group of users; entries only for what a folder will hold do not count.
TEST(Elevation, OnlyTheUserAdministratorsSystemAndInstallerMayChangeWhatRunsElevated) {
    for (const auto& [Sddl, Open] :
         {std::pair{L"O:BA", true},
          {L"O:WDD:P(A;;FA;;;BA)", true},
          {L"O:BAD:P(A;;FA;;;BA)(A;;0x4;;;BU)", true},
          {L"O:BAD:P(A;;FA;;;SY)(A;;FA;;;BA)(A;OICIIO;GA;;;WD)(A;;0x1200a9;;;BU)", false}})
        EXPECT_EQ(IsOpenToOthers(Descriptor(Sddl).get()), Open) << FromWide(Sddl);
}

// The exit code of Helper started in helper mode with these parameters, after Serve has had its
// way with the pipe.
DWORD HelperExit(const std::wstring& Helper, const std::wstring& Parameters,
                 const std::function<void(HANDLE)>& Serve) {
    std::wstring Line = L"\"" + Helper + L"\" " + Parameters;
    STARTUPINFOW Startup = {};
    Startup.cb = sizeof Startup;
    PROCESS_INFORMATION Info = {};
    if (!CreateProcessW(nullptr, Line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &Startup, &Info))
        return DWORD(-1);
    const THandle Process(Info.hProcess), Thread(Info.hThread);
    Serve(Info.hProcess);
    DWORD Code = DWORD(-1);
    if (WaitForSingleObject(Info.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(Info.hProcess, &Code);
    return Code;
}

TEST_F(ElevatedApply, HelperRefusesAPipeOrLinesNotMadeForItBeforeRunningAnything) {
    const std::vector<std::string> Apply = {"netsh interface ip set address \"LAN\"  dhcp ",
                                            "netsh interface ip set dns \"LAN\"  dhcp "};
    const std::wstring Foreign = L"Quelvano-00112233445566778899aabbccddeeff";
    const struct {
        const char* Label;
        std::function<std::wstring(THelperPipe&)> Parameters;
        std::vector<std::string> Lines;
        THelperExit Expected;
        std::wstring Helper = Program();
    } Cases[] = {
        {"no pipe named", [](THelperPipe&) { return std::wstring(L"--apply-helper"); }, Apply,
         THelperExit::BadCommandLine},
        {"pipe open to everyone",
         [&](THelperPipe&) { return ApplyHelperParameters(Foreign, GetCurrentProcessId(), 0); },
         Apply, THelperExit::UnverifiedPipe},
        {"pipe of another process",
         [](THelperPipe& P) {
             return ApplyHelperParameters(P.Name(), GetCurrentProcessId() + 4, 0);
         },
         Apply, THelperExit::UnverifiedPipe},
        {"other netsh command",
         nullptr,
         {"netsh advfirewall set allprofiles state off"},
         THelperExit::LinesRefused},
        {"a line more", nullptr, {Apply[0], Apply[1], Apply[1]}, THelperExit::LinesRefused},
        {"an IPv6 line of another shape",
         nullptr,
         {Apply[0], Apply[1], "netsh interface ipv6 reset"},
         THelperExit::LinesRefused},
        {"pipe of another program", nullptr, Apply, THelperExit::UnverifiedPipe,
         ToWide(QUELVANO_EXE)},
    };
    // The pipe a stranger could have made: the right kind of name, but anyone may open it.
    SECURITY_DESCRIPTOR Open = {};
    InitializeSecurityDescriptor(&Open, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&Open, TRUE, nullptr, FALSE);
    SECURITY_ATTRIBUTES Everyone = {sizeof Everyone, &Open, FALSE};
    const THandle Stranger =
        OwnHandle(CreateNamedPipeW((L"\\\\.\\pipe\\" + Foreign).c_str(), PIPE_ACCESS_DUPLEX,
                                   PIPE_TYPE_BYTE, 1, 4096, 4096, 0, &Everyone));
    ASSERT_TRUE(Stranger);
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Label);
        DeleteFileW(FLog.c_str());
        THelperPipe Pipe = THelperPipe::Create();
        ASSERT_TRUE(Pipe.Valid());
        const std::wstring Parameters =
            C.Parameters ? C.Parameters(Pipe)
                         : ApplyHelperParameters(Pipe.Name(), GetCurrentProcessId(), 0);
        const DWORD Code = HelperExit(C.Helper, Parameters, [&](HANDLE Process) {
            if (!C.Parameters && Pipe.Accept(Process))
                Pipe.SendLines(C.Lines);
        });
        EXPECT_EQ(Code, DWORD(C.Expected));
        EXPECT_TRUE(Received().empty());
    }
}

TEST(Elevation, ToldNotElevatedTheProgramHandsItsLinesToAHelper) {
    EXPECT_TRUE(IsProcessElevated()); // as everything under Wine
    SetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", L"1");
    EXPECT_FALSE(IsProcessElevated());
    // The helper's runner runs no line it was not handed at the start of an apply.
    EXPECT_EQ(CreateCommandRunner(0)->Run("netsh interface ip set dns \"LAN\"  dhcp ", SW_HIDE),
              -1);
    SetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", nullptr);
}

} // namespace
