#include "ui/win32/MainWindowView.h"

#include "base/Exception.h"
#include "base/win32/WideText.h"
#include "connections/o_SystemConnections.h"
#include "data/DBConnection.h"
#include "fakes/FakeControls.h"
#include "fakes/FakeIpHelper.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeTray.h"
#include "fakes/TempStore.h"
#include "shell/GlobalUnit.h"
#include "ui/f_WaitBox.h"
#include "ui/f_main.h"
#include "ui/win32/MainCommands.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// The shortcut text of a menu item as the resource spells it, for each accelerator key.
std::wstring KeyText(const ACCEL& Key) {
    std::wstring Text = (Key.fVirt & FCONTROL) ? L"Ctrl+" : L"";
    if (Key.key == VK_INSERT)
        return Text + L"Ins";
    return Text + static_cast<wchar_t>(Key.key);
}

TEST(MainMenu, EveryShortcutMatchesTheTextOfItsMenuItem) {
    const HINSTANCE Instance = GetModuleHandleW(nullptr);
    const HACCEL Table = LoadAcceleratorsW(Instance, MAKEINTRESOURCEW(IDR_SHORTCUTS));
    const HMENU Menu = LoadMenuW(Instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    ASSERT_NE(Table, nullptr);
    ASSERT_NE(Menu, nullptr);
    ACCEL Keys[32];
    const int Count = CopyAcceleratorTableW(Table, Keys, 32);
    EXPECT_EQ(Count, 8);
    std::map<UINT, std::wstring> Shown; // command -> text after the tab of its item
    for (int Top = 0; Top < GetMenuItemCount(Menu); ++Top) {
        const HMENU Sub = GetSubMenu(Menu, Top);
        for (int I = 0; I < GetMenuItemCount(Sub); ++I) {
            wchar_t Text[128] = {};
            GetMenuStringW(Sub, static_cast<UINT>(I), Text, 128, MF_BYPOSITION);
            const std::wstring Caption = Text;
            const auto Tab = Caption.find(L'\t');
            if (Tab != std::wstring::npos)
                Shown[GetMenuItemID(Sub, I)] = Caption.substr(Tab + 1);
        }
    }
    EXPECT_EQ(Shown.size(), std::size_t(Count)); // no menu text without its key, nor the reverse
    for (int I = 0; I < Count; ++I) {
        EXPECT_EQ(Keys[I].fVirt & ~(FVIRTKEY | FNOINVERT), Keys[I].key == VK_INSERT ? 0 : FCONTROL);
        EXPECT_EQ(Shown[Keys[I].cmd], KeyText(Keys[I])) << Keys[I].cmd;
    }
    DestroyMenu(Menu);
    DestroyAcceleratorTable(Table);
}

// The pixels of an icon at 24 pixels: one of the program's, by name, or one given.
std::vector<DWORD> Pixels(const wchar_t* Name, HICON Given = nullptr) {
    const HICON Icon = Given ? Given
                             : static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), Name,
                                                             IMAGE_ICON, 24, 24, LR_DEFAULTCOLOR));
    std::vector<DWORD> Bits(24 * 24);
    ICONINFO Info = {};
    if (Icon == nullptr || !GetIconInfo(Icon, &Info))
        return {};
    BITMAPINFO Format = {};
    Format.bmiHeader = {sizeof(BITMAPINFOHEADER), 24, -24, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const HDC Screen = GetDC(nullptr);
    GetDIBits(Screen, Info.hbmColor, 0, 24, Bits.data(), &Format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, Screen);
    DeleteObject(Info.hbmColor);
    DeleteObject(Info.hbmMask);
    DestroyIcon(Icon);
    return Bits;
}

// Icons of two resource scripts share image numbers and overwrite each other at the link.
TEST(ProgramIcons, EachPictureIsItsOwn) {
    std::vector<std::vector<DWORD>> Seen = {Pixels(L"MAINICON")};
    for (int Id = IDI_TB_ACTIVATE; Id <= IDI_TB_ABOUT; ++Id)
        Seen.push_back(Pixels(MAKEINTRESOURCEW(Id)));
    for (std::size_t I = 0; I < Seen.size(); ++I) {
        EXPECT_FALSE(Seen[I].empty()) << I;
        for (std::size_t J = 0; J < I; ++J)
            EXPECT_NE(Seen[I], Seen[J]) << I << " and " << J;
    }
}

// The real window over a fresh database holding one set whose connection is gone.
class MainWindowView : public ::testing::Test {
protected:
    void SetUp() override {
        DataPath = FromWide(Folder.Path().wstring()) + "\\";
        CreateEmptyDatabase(DatabaseFileName());
        GetIPDBManager()->OpenDatabase();
        PostIPSet(*GetIPDBManager(), "Sin conexion", 999, true, {});
        IpHelper.Adapters.push_back(FakeIpHelper::Adapter("{A1}", 7, {}));
        GetIPSystemConnections()->SetRegistryReaderFactory(Registry.Factory());
        Application().Title = "Quelvano v1.47";
        RegisterWin32MainWindow();
        Form = std::make_unique<TFrmMain>(nullptr, Tray.Services());
        Main = FindWindowW(L"TFrmMain", nullptr);
        ASSERT_NE(Main, nullptr);
        ShowWindow(Main, SW_SHOWNOACTIVATE);
    }
    void TearDown() override {
        Form.reset();
        TFrmMain::ViewFactory = nullptr;
    }

    // The child windows of the main window with this class, in creation order.
    std::vector<HWND> Children(const wchar_t* Class) const {
        std::vector<HWND> Found;
        for (HWND C = GetWindow(Main, GW_CHILD); C != nullptr; C = GetWindow(C, GW_HWNDNEXT)) {
            wchar_t Name[64] = {};
            GetClassNameW(C, Name, 64);
            if (lstrcmpiW(Name, Class) == 0)
                Found.push_back(C);
        }
        return Found;
    }

    static std::wstring Text(HWND Window) {
        wchar_t Buffer[256] = {};
        GetWindowTextW(Window, Buffer, 256);
        return Buffer;
    }

    TempFolder Folder;
    FakeIpHelper IpHelper;
    FakeRegistry Registry;
    FakeTray Tray;
    FakeMessages Messages;
    std::unique_ptr<TFrmMain> Form;
    HWND Main = nullptr;
};

TEST_F(MainWindowView, FrameToolbarHeadersTabsAndStatusBarAreThoseOfTheForm) {
    EXPECT_EQ(Text(Main), L"Quelvano v1.47 build 351");
    RECT Frame;
    GetWindowRect(Main, &Frame);
    EXPECT_EQ(Frame.right - Frame.left, 798);
    EXPECT_EQ(Frame.bottom - Frame.top, 548);
    const LONG_PTR Style = GetWindowLongPtrW(Main, GWL_STYLE);
    EXPECT_TRUE(Style & WS_MINIMIZEBOX);
    EXPECT_FALSE(Style & WS_MAXIMIZEBOX);

    const HWND Bar = Children(TOOLBARCLASSNAMEW).at(0);
    std::vector<std::wstring> Captions;
    for (int I = 0; I < SendMessageW(Bar, TB_BUTTONCOUNT, 0, 0); ++I) {
        TBBUTTON Button = {};
        SendMessageW(Bar, TB_GETBUTTON, static_cast<WPARAM>(I), reinterpret_cast<LPARAM>(&Button));
        wchar_t Caption[64] = {};
        if (!(Button.fsStyle & BTNS_SEP))
            SendMessageW(Bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(Button.idCommand),
                         reinterpret_cast<LPARAM>(Caption));
        Captions.push_back(Button.fsStyle & BTNS_SEP ? L"|" : Caption);
    }
    EXPECT_EQ(Captions,
              (std::vector<std::wstring>{L"|", L"Activar IP", L"|", L"Agregar IP", L"Editar IP",
                                         L"Eliminar IP", L"|", L"Refrescar", L"|", L"Wizard",
                                         L"Opciones", L"|", L"Ayuda", L"Acerca"}));
    int Width = 0, Height = 0;
    const auto Pictures = reinterpret_cast<HIMAGELIST>(SendMessageW(Bar, TB_GETIMAGELIST, 0, 0));
    ImageList_GetIconSize(Pictures, &Width, &Height);
    EXPECT_EQ(Width, 24);
    // Each button shows its own icon's picture, whichever way the list was made.
    for (int Id = IDI_TB_ACTIVATE; Id <= IDI_TB_ABOUT; ++Id)
        EXPECT_EQ(Pixels(nullptr, ImageList_GetIcon(Pictures, Id - IDI_TB_ACTIVATE, ILD_NORMAL)),
                  Pixels(MAKEINTRESOURCEW(Id)))
            << Id;
    NMTTDISPINFOW Tip = {};
    Tip.hdr.code = TTN_GETDISPINFOW;
    Tip.hdr.idFrom = CM_WIZARD;
    SendMessageW(Main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Tip));
    ASSERT_NE(Tip.lpszText, nullptr);
    EXPECT_STREQ(Tip.lpszText,
                 L"Iniciar Wizard\r\n(Iniciar tutor para agregar configuracion de red)");

    const HWND Status = Children(STATUSCLASSNAMEW).at(0);
    int Edges[3] = {};
    EXPECT_EQ(SendMessageW(Status, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(Edges)), 3);
    EXPECT_EQ(std::vector<int>(Edges, Edges + 3), (std::vector<int>{340, 490, 540}));

    // Each page shows its header (two leading blanks kept) and its tree; the tab follows.
    const std::vector<HWND> Statics = Children(L"Static");
    const std::vector<HWND> Trees = Children(WC_TREEVIEWW);
    const HWND Tabs = Children(WC_TABCONTROLW).at(0);
    ASSERT_EQ(Trees.size(), 2u);
    for (int Page : {1, 0}) {
        SendMessageW(Tabs, TCM_SETCURSEL, static_cast<WPARAM>(Page), 0);
        NMHDR Change = {Tabs, 0, TCN_SELCHANGE};
        SendMessageW(Main, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&Change));
        std::vector<std::wstring> Shown;
        for (HWND S : Statics)
            if (IsWindowVisible(S) && !Text(S).empty())
                Shown.push_back(Text(S));
        EXPECT_EQ(Shown, std::vector<std::wstring>{Page == 0 ? L"  [Mis configuraciones IP]"
                                                             : L"  [Conexiones a Red]"});
        EXPECT_NE(IsWindowVisible(Trees[0]), Page == 1);
        EXPECT_EQ(IsWindowVisible(Trees[1]) != FALSE, Page == 1);
        EXPECT_EQ(SendMessageW(Bar, TB_ISBUTTONENABLED, CM_EDIT, 0) != 0, Page == 0);
        EXPECT_NE(SendMessageW(Bar, TB_ISBUTTONENABLED, CM_WIZARD, 0), 0);
    }
}

TEST_F(MainWindowView, ErrorOfACommandIsShownAndTheWindowGoesOn) {
    const HWND Tree = Children(WC_TREEVIEWW).at(0);
    const LPARAM Root = SendMessageW(Tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    SendMessageW(Tree, TVM_SELECTITEM, TVGN_CARET, Root);
    SendMessageW(Main, WM_COMMAND, CM_ACTIVATE, 0);
    ASSERT_EQ(Messages.Boxes.size(), 1u);
    EXPECT_EQ(Messages.Boxes[0].Caption, "Quelvano v1.47");
    EXPECT_EQ(Messages.Boxes[0].Flags, MsgBox::OK | MsgBox::IconError);
    EXPECT_EQ(Messages.Boxes[0].Text.back(), '.');
    EXPECT_TRUE(IsWindow(Main));
    HideWaitBox();
}

} // namespace
