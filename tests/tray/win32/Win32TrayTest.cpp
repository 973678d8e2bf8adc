#include "tray/win32/Win32Tray.h"
#include "base/Exception.h"
#include "tray/ExtCtrlsX.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// Passes every call to the real shell and keeps what was asked and what the shell answered.
class RecordingShell : public TNotifyShell {
public:
    explicit RecordingShell(TNotifyShell& AReal) : Real(AReal) {}

    struct Call {
        TNotifyMessage Message;
        bool Succeeded;
    };
    std::vector<Call> Calls;

    std::uintptr_t CreateHiddenWindow(TMessageHandler Handler) override {
        return Real.CreateHiddenWindow(std::move(Handler));
    }
    void DestroyHiddenWindow(std::uintptr_t Wnd) override { Real.DestroyHiddenWindow(Wnd); }
    bool NotifyIcon(TNotifyMessage Message, const TNotifyIconData& Data) override {
        const bool Ok = Real.NotifyIcon(Message, Data);
        Calls.push_back({Message, Ok});
        return Ok;
    }
    unsigned TaskbarCreatedMessage() const override { return Real.TaskbarCreatedMessage(); }
    TPoint CursorPos() const override { return Real.CursorPos(); }
    TShiftState KeyShiftState() const override { return Real.KeyShiftState(); }

    int Count(TNotifyMessage M) const {
        int N = 0;
        for (const Call& C : Calls)
            N += C.Message == M ? 1 : 0;
        return N;
    }

private:
    TNotifyShell& Real;
};

struct Win32Tray : ::testing::Test {
    TTrayServices Real = Win32TrayServices();
    RecordingShell Shell{Real.Shell};
    TTrayServices Services{Shell, Real.App};
};

TEST_F(Win32Tray, HiddenTopLevelWindowLivesWithTheComponent) {
    HWND Wnd = nullptr;
    {
        TTrayIcon Tray(nullptr, Services);
        Wnd = reinterpret_cast<HWND>(Tray.NotifyIconData().Wnd);
        ASSERT_TRUE(IsWindow(Wnd));
        EXPECT_EQ(GetAncestor(Wnd, GA_PARENT), GetDesktopWindow());
        EXPECT_FALSE(IsWindowVisible(Wnd));
    }
    EXPECT_FALSE(IsWindow(Wnd));
}

TEST_F(Win32Tray, TaskbarCreatedIsRegisteredByName) {
    EXPECT_EQ(Shell.TaskbarCreatedMessage(), RegisterWindowMessageW(L"TaskbarCreated"));
    EXPECT_GE(Shell.TaskbarCreatedMessage(), 0xC000u);
}

TEST_F(Win32Tray, BroadcastTaskbarCreatedAddsTheShownIconAgain) {
    TTrayIcon Tray(nullptr, Services);
    try {
        Tray.SetVisible(true);
    } catch (const EOutOfResources&) {
        // Without a notification area the shell refuses; the icon still counts as shown.
    }
    ASSERT_EQ(Shell.Count(nimAdd), 1);
    Tray.SetBalloonHint("Nueva conexion de red encontrada.");
    EXPECT_GE(Shell.Count(nimModify), 1);

    DWORD_PTR Answer = 0;
    SendMessageTimeoutW(HWND_BROADCAST, Shell.TaskbarCreatedMessage(), 0, 0, SMTO_ABORTIFHUNG, 2000,
                        &Answer);
    EXPECT_EQ(Shell.Count(nimAdd), 2);
}

TEST_F(Win32Tray, ShellAnswersAreReportedAsTheyCome) {
    Shell.Calls.clear();
    {
        TTrayIcon Tray(nullptr, Services);
        bool AddFailedRaised = false;
        try {
            Tray.SetVisible(true);
        } catch (const EOutOfResources& E) {
            AddFailedRaised = true;
            EXPECT_STREQ(E.what(), "Cannot create shell notification icon");
        }
        ASSERT_FALSE(Shell.Calls.empty());
        EXPECT_EQ(AddFailedRaised, !Shell.Calls.back().Succeeded);
        std::printf("shell answered the add with %s\n",
                    Shell.Calls.back().Succeeded ? "success" : "failure");
        const bool Balloon = Tray.ShowBalloonHint();
        EXPECT_EQ(Balloon, Shell.Calls.back().Succeeded);
    }
    EXPECT_EQ(Shell.Calls.back().Message, nimDelete);
}

// The path of a file beside the test executable.
std::wstring Beside(const wchar_t* Name) {
    wchar_t Path[MAX_PATH];
    GetModuleFileNameW(nullptr, Path, MAX_PATH);
    std::wstring P(Path);
    return P.substr(0, P.find_last_of(L"\\/") + 1) + Name;
}

// A picture of one colour with a transparent frame, the colour the menu driver looks for.
HIMAGELIST RedPicture() {
    const HIMAGELIST List = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 1, 0);
    const HDC Screen = GetDC(nullptr);
    const HBITMAP Picture = CreateCompatibleBitmap(Screen, 16, 16);
    const HDC Dc = CreateCompatibleDC(Screen);
    const HGDIOBJ Old = SelectObject(Dc, Picture);
    const RECT All{0, 0, 16, 16};
    const RECT Inside{2, 2, 14, 14};
    const HBRUSH Frame = CreateSolidBrush(RGB(255, 0, 255));
    const HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(Dc, &All, Frame);
    FillRect(Dc, &Inside, Red);
    SelectObject(Dc, Old);
    ImageList_AddMasked(List, Picture, RGB(255, 0, 255));
    for (HGDIOBJ O : {HGDIOBJ(Frame), HGDIOBJ(Red), HGDIOBJ(Picture)})
        DeleteObject(O);
    DeleteDC(Dc);
    ReleaseDC(nullptr, Screen);
    return List;
}

TEST_F(Win32Tray, RightButtonUpPopsTheMenuUpWithItsPicturesAndRunsTheChosenItem) {
    TTrayIcon Tray(nullptr, Services);
    TPopupMenu Menu;
    const HIMAGELIST Pictures = RedPicture();
    Menu.Images = reinterpret_cast<std::uintptr_t>(Pictures);
    int Chosen = 0;
    TMenuItem* First = Menu.Items().Add("Restaurar");
    First->ImageIndex = 0;
    First->OnClick = [&](TComponent*) { ++Chosen; };
    Menu.Items().Add("Salir");
    Tray.SetPopupMenu(&Menu);

    std::wstring Command = L"\"" + Beside(L"tray_menu_driver.exe") + L"\"";
    STARTUPINFOW Start{};
    Start.cb = sizeof(Start);
    PROCESS_INFORMATION Driver{};
    ASSERT_TRUE(CreateProcessW(nullptr, &Command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &Start, &Driver));

    // Returns once the driver has picked the item.
    SendMessageW(reinterpret_cast<HWND>(Tray.NotifyIconData().Wnd), 1025, 0, WM_RBUTTONUP);

    WaitForSingleObject(Driver.hProcess, 30000);
    DWORD Code = 99;
    GetExitCodeProcess(Driver.hProcess, &Code);
    CloseHandle(Driver.hThread);
    CloseHandle(Driver.hProcess);
    ImageList_Destroy(Pictures);
    EXPECT_EQ(Code, 0u);
    EXPECT_EQ(Chosen, 1);
    EXPECT_FALSE(Menu.AutoPopup);
}

} // namespace
