// Drives the whole program as a person would: the window's menus and shortcuts, the tree and its
// pop-up menu, the dialogs by their labels, the tray icon's menu, and what the program shows in
// return (trees, message boxes, balloons). netsh is the fake one in the prefix's system32, which
// writes down every command line it gets.
#include "adapters/o_AdapterInformation.h"
#include "data/ExtrasStore.h"
#include "data/o_DatabaseConnection.h"
#include "e2e/win32/Driver.h"
#include "fakes/NetshState.h"
#include "fakes/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const std::wstring ClassPath =
    L"SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
const std::wstring Connection = L"Conexion de prueba";
// Wine's settings for the program alone.
const std::wstring WineAppDefaults = L"Software\\Wine\\AppDefaults\\quelvano.exe";
const unsigned TrayCallback = WM_USER + 1;

// A tree view of the program, read through a buffer in the program's own memory.
class TRemoteTree {
public:
    TRemoteTree(HANDLE Process, HWND Tree) : FProcess(Process), FTree(Tree) {
        FRemote = static_cast<char*>(
            VirtualAllocEx(Process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~TRemoteTree() { VirtualFreeEx(FProcess, FRemote, 0, MEM_RELEASE); }
    TRemoteTree(const TRemoteTree&) = delete;
    TRemoteTree& operator=(const TRemoteTree&) = delete;

    // Every node's text in tree order.
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> Result;
        for (HTREEITEM Item : Items())
            Result.push_back(Text(Item));
        return Result;
    }

    HTREEITEM Find(const std::wstring& Wanted) const {
        for (HTREEITEM Item : Items())
            if (Text(Item) == Wanted)
                return Item;
        return nullptr;
    }

    // As a click on the node's button does.
    void Expand(HTREEITEM Item) const {
        SendMessageW(FTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Item));
    }

    // The middle of the node's text on the screen.
    POINT ScreenPointOf(HTREEITEM Item) const {
        RECT Rect = {};
        WriteProcessMemory(FProcess, FRemote, &Item, sizeof Item, nullptr);
        SendMessageW(FTree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(FRemote));
        ReadProcessMemory(FProcess, FRemote, &Rect, sizeof Rect, nullptr);
        POINT P = {(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2};
        ClientToScreen(FTree, &P);
        return P;
    }

private:
    HTREEITEM Next(HTREEITEM Item, UINT Relation) const {
        return reinterpret_cast<HTREEITEM>(
            SendMessageW(FTree, TVM_GETNEXTITEM, Relation, reinterpret_cast<LPARAM>(Item)));
    }

    std::vector<HTREEITEM> Items() const {
        std::vector<HTREEITEM> Order;
        std::vector<HTREEITEM> Stack = {Next(nullptr, TVGN_ROOT)};
        while (!Stack.empty()) {
            HTREEITEM Item = Stack.back();
            Stack.pop_back();
            if (Item == nullptr)
                continue;
            Order.push_back(Item);
            Stack.push_back(Next(Item, TVGN_NEXT));
            Stack.push_back(Next(Item, TVGN_CHILD));
        }
        return Order;
    }

    std::wstring Text(HTREEITEM Item) const {
        TVITEMW Query = {};
        Query.mask = TVIF_TEXT;
        Query.hItem = Item;
        Query.pszText = reinterpret_cast<wchar_t*>(FRemote + sizeof Query);
        Query.cchTextMax = 256;
        WriteProcessMemory(FProcess, FRemote, &Query, sizeof Query, nullptr);
        SendMessageW(FTree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(FRemote));
        wchar_t Buffer[256] = {};
        ReadProcessMemory(FProcess, FRemote + sizeof Query, Buffer, sizeof Buffer - 2, nullptr);
        return Buffer;
    }

    HANDLE FProcess;
    HWND FTree;
    char* FRemote;
};

// Opens a menu with Open, then picks an item with the keys a person would press.
bool ChooseFromMenu(const std::function<void()>& Open, const std::vector<UINT>& Keys) {
    Open();
    HWND Menu = nullptr;
    if (!WaitFor([&] {
            return (Menu = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(Menu);
        }))
        return false;
    for (UINT Key : Keys)
        PostMessageW(Menu, WM_KEYDOWN, Key, 0);
    return WaitFor([] {
        const HWND M = FindWindowW(L"#32768", nullptr);
        return M == nullptr || !IsWindowVisible(M);
    });
}

// The control of a dialog, or of one of its pages, that shows this text.
HWND ChildWithText(HWND Dialog, const std::wstring& Text) {
    struct Search {
        const std::wstring& Text;
        HWND Found;
    } S = {Text, nullptr};
    EnumChildWindows(
        Dialog,
        [](HWND Child, LPARAM Param) -> BOOL {
            auto& Self = *reinterpret_cast<Search*>(Param);
            if (WindowText(Child) != Self.Text)
                return TRUE;
            Self.Found = Child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&S));
    return S.Found;
}

// The field that follows its label.
HWND FieldAfter(HWND Dialog, const std::wstring& Label) {
    const HWND Found = ChildWithText(Dialog, Label);
    return Found != nullptr ? GetWindow(Found, GW_HWNDNEXT) : nullptr;
}

// Picks the first entry of a drop-down list, as a click on it does.
void PickFirst(HWND List) {
    SendMessageW(List, CB_SETCURSEL, 0, 0);
    SendMessageW(GetParent(List), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(List), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(List));
}

// Presses the button with this caption and lets the dialog act on it.
void Press(HWND Dialog, const std::wstring& Caption) {
    const HWND Button = ChildWithText(Dialog, Caption);
    EXPECT_NE(Button, nullptr) << FromWide(Caption);
    SendMessageW(Button, BM_CLICK, 0, 0);
}

// The first control after From (in tab order) that shows this text.
HWND NextWithText(HWND From, const std::wstring& Text) {
    HWND Control = GetWindow(From, GW_HWNDNEXT);
    while (Control != nullptr && WindowText(Control) != Text)
        Control = GetWindow(Control, GW_HWNDNEXT);
    return Control;
}

// Types into a box key by key, so its own filter sees every character.
void Type(HWND Box, const std::wstring& Text) {
    SendMessageW(Box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    for (wchar_t C : Text)
        SendMessageW(Box, WM_CHAR, C, 0);
}

// The tray icon's tooltip as the desktop's notification area keeps it: the first tool's text of
// the tooltip control that starts with the title, read through a buffer in that control's process.
std::wstring TrayTip() {
    for (HWND T = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); T != nullptr;
         T = FindWindowExW(nullptr, T, TOOLTIPS_CLASSW, nullptr)) {
        DWORD Pid = 0;
        GetWindowThreadProcessId(T, &Pid);
        const HANDLE Process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, Pid);
        char* Remote = static_cast<char*>(
            VirtualAllocEx(Process, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
        TTTOOLINFOW Info{};
        Info.cbSize = sizeof Info;
        WriteProcessMemory(Process, Remote, &Info, sizeof Info, nullptr);
        wchar_t Text[1000] = {};
        if (SendMessageW(T, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(Remote))) {
            ReadProcessMemory(Process, Remote, &Info, sizeof Info, nullptr);
            Info.lpszText = reinterpret_cast<wchar_t*>(Remote + 1024);
            WriteProcessMemory(Process, Remote, &Info, sizeof Info, nullptr);
            SendMessageW(T, TTM_GETTEXTW, 1000, reinterpret_cast<LPARAM>(Remote));
            ReadProcessMemory(Process, Remote + 1024, Text, sizeof Text - sizeof(wchar_t), nullptr);
        }
        VirtualFreeEx(Process, Remote, 0, MEM_RELEASE);
        CloseHandle(Process);
        if (std::wstring(Text).rfind(L"Quelvano v1.47", 0) == 0)
            return Text;
    }
    return {};
}

// The visible pop-up menus, the one opened last first.
std::vector<HWND> OpenMenus() {
    std::vector<HWND> Menus;
    for (HWND M = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); M != nullptr;
         M = FindWindowExW(nullptr, M, L"#32768", nullptr))
        if (IsWindowVisible(M))
            Menus.push_back(M);
    return Menus;
}

// Whether the check-mark square of a menu's first item, left of its picture, shows anything but
// its background; false until the item has been drawn.
bool FirstItemChecked(HWND Menu, bool& Drawn) {
    RECT R;
    GetWindowRect(Menu, &R);
    const HDC Screen = GetDC(nullptr);
    const int Top = R.top + 3, Left = R.left + 3, Check = GetSystemMetrics(SM_CXMENUCHECK);
    const COLORREF Background = GetPixel(Screen, Left, Top);
    bool Marked = false;
    Drawn = false;
    for (int Y = Top; Y < Top + Check; ++Y)
        for (int X = Left; X < Left + 40; ++X)
            if (GetPixel(Screen, X, Y) != Background) {
                Drawn = true;
                Marked = Marked || X < Left + Check;
            }
    ReleaseDC(nullptr, Screen);
    return Marked;
}

// Every visible balloon or tooltip on the desktop, by its text.
std::vector<std::wstring> ShownTips() {
    std::vector<std::wstring> Tips;
    EnumWindows(
        [](HWND Window, LPARAM Param) -> BOOL {
            // Asked with the message: reading another process's caption gives the window's
            // title, which a tooltip does not keep.
            wchar_t Text[512] = {};
            DWORD_PTR Length = 0;
            if (IsWindowVisible(Window) && ClassOf(Window) == TOOLTIPS_CLASSW &&
                SendMessageTimeoutW(Window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(Text),
                                    SMTO_ABORTIFHUNG, 1000, &Length))
                reinterpret_cast<std::vector<std::wstring>*>(Param)->push_back(Text);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&Tips));
    return Tips;
}

// The whole text of the balloon that shows Part, once one does.
std::wstring BalloonWith(const std::wstring& Part) {
    std::wstring Found;
    WaitFor([&] {
        for (const std::wstring& Tip : ShownTips())
            if (Tip.find(Part) != std::wstring::npos)
                Found = Tip;
        return !Found.empty();
    });
    return Found;
}

::testing::AssertionResult BalloonSays(const std::wstring& Part) {
    if (!BalloonWith(Part).empty())
        return ::testing::AssertionSuccess();
    std::string Seen;
    for (const std::wstring& Tip : ShownTips())
        Seen += "[" + FromWide(Tip) + "] ";
    return ::testing::AssertionFailure() << "balloons shown: " << Seen;
}

class MainWindowE2E : public ::testing::Test {
protected:
    void SetUp() override {
        Exe = Folder.Path() / "quelvano.exe";
        ASSERT_TRUE(std::filesystem::copy_file(FilePath(QUELVANO_EXE), Exe));
        SetEnvironmentVariableW(L"FAKE_NETSH_LOG", (Folder.Path() / "netsh.log").c_str());
        SeedConnectionOfFirstAdapter();
    }
    void TearDown() override {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassPath.c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, WineAppDefaults.c_str());
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Quelvano147", L"StartMinimizado");
        SetEnvironmentVariableW(L"FAKE_NETSH_LOG", nullptr);
        SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", nullptr);
        SetEnvironmentVariableW(L"FAKE_NETSH_PARENTS", nullptr);
        SetEnvironmentVariableW(L"FAKE_NETSH_INERT", nullptr);
        SetEnvironmentVariableW(L"FAKE_NETSH_NO_LEASE", nullptr);
        SetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", nullptr);
    }

    // The machine's first adapter gets a connection name, as Windows gives each one.
    static void SeedConnectionOfFirstAdapter() {
        AdapterManager()->RefreshAdapters();
        ASSERT_GT(AdapterManager()->Adapters().Count(), 0);
        const std::wstring Adapter = ToWide(AdapterManager()->Adapters().Items(0)->AdapterName());
        HKEY Key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                                  (ClassPath + L"\\" + Adapter + L"\\Connection").c_str(), 0,
                                  nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(Key, L"Name", 0, REG_SZ, reinterpret_cast<const BYTE*>(Connection.c_str()),
                       static_cast<DWORD>((Connection.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(Key);
    }

    // Starts a copy; unless it starts minimized, waits for its window to show.
    void Start(bool Minimized = false) {
        Copy = std::make_unique<TRunningCopy>(Exe, Folder.Path());
        // Going to the tray is the last thing a start does: its balloon says it happened.
        if (Minimized && BalloonSays(L"Para restaurar la pantalla"))
            Main = Copy->FindWindowOf(L"TFrmMain", false);
        else
            Main = Copy->WaitForMainWindow();
        ASSERT_NE(Main, nullptr);
        Trees.clear();
        for (HWND C = GetWindow(Main, GW_CHILD); C; C = GetWindow(C, GW_HWNDNEXT))
            if (ClassOf(C) == WC_TREEVIEWW)
                Trees.push_back(std::make_unique<TRemoteTree>(Copy->Process(), C));
        ASSERT_EQ(Trees.size(), 2u);
        IPSetTree = GetWindow(Main, GW_CHILD);
        while (ClassOf(IPSetTree) != WC_TREEVIEWW)
            IPSetTree = GetWindow(IPSetTree, GW_HWNDNEXT);
        TrayWindow = Copy->FindWindowOf(L"QuelvanoTrayWindow", false);
        ASSERT_NE(TrayWindow, nullptr);
    }

    // Right-clicks the node with this text and picks a pop-up item by its keys.
    bool FromTreePopUp(const std::wstring& Node, const std::vector<UINT>& Keys) {
        const HTREEITEM Item = Trees[0]->Find(Node);
        if (Item == nullptr)
            return false;
        const POINT At = Trees[0]->ScreenPointOf(Item);
        return ChooseFromMenu(
            [&] {
                PostMessageW(IPSetTree, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(IPSetTree),
                             MAKELPARAM(At.x, At.y));
            },
            Keys);
    }

    // Alt and the menu's letter, then the keys.
    bool FromMainMenu(wchar_t Letter, const std::vector<UINT>& Keys) {
        return ChooseFromMenu([&] { PostMessageW(Main, WM_SYSCOMMAND, SC_KEYMENU, Letter); }, Keys);
    }

    bool FromTrayMenu(const std::vector<UINT>& Keys) {
        return ChooseFromMenu([&] { PostMessageW(TrayWindow, TrayCallback, 0, WM_RBUTTONUP); },
                              Keys);
    }

    // Opens the tray's submenu of sets, reads whether its first item shows its check, closes it.
    bool TraySubmenuChecksTheFirstSet() {
        PostMessageW(TrayWindow, TrayCallback, 0, WM_RBUTTONUP);
        EXPECT_TRUE(WaitFor([&] { return OpenMenus().size() == 1; }));
        for (UINT Key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT})
            PostMessageW(OpenMenus()[0], WM_KEYDOWN, Key, 0);
        bool Checked = false, Drawn = false;
        EXPECT_TRUE(WaitFor([&] {
            const std::vector<HWND> Menus = OpenMenus();
            return Menus.size() == 2 && ((Checked = FirstItemChecked(Menus[0], Drawn)), Drawn);
        }));
        for (std::size_t Open = OpenMenus().size(); Open > 0; --Open) {
            PostMessageW(OpenMenus()[0], WM_KEYDOWN, VK_ESCAPE, 0);
            EXPECT_TRUE(WaitFor([&] { return OpenMenus().size() < Open; }));
        }
        return Checked;
    }

    // Fills the editor that has the caption and accepts it.
    void FillEditor(const std::wstring& Caption, const std::wstring& Name,
                    const std::vector<std::wstring>& Addresses, bool Dhcp = false) {
        const HWND Editor = Copy->WaitForWindow(L"#32770", Caption);
        ASSERT_NE(Editor, nullptr) << FromWide(Caption);
        Type(FieldAfter(Editor, L"Descripcion :"), Name);
        const wchar_t* const Labels[] = {L"Direccion IP :", L"Subnet Mask :", L"Puerta de enlace :",
                                         L"DNS preferido :", L"DNS alternativo :"};
        for (std::size_t I = 0; I < Addresses.size(); ++I)
            Type(FieldAfter(Editor, Labels[I]), Addresses[I]);
        if (Dhcp)
            Press(Editor, L"Habilitar DHCP");
        PickFirst(FieldAfter(Editor, L"Adaptador de Red :"));
        PostMessageW(ChildWithText(Editor, L"&Aceptar"), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(Editor); }));
    }

    // The lines netsh was started with since the last call, once there are Count of them.
    Lines NetshLines(std::size_t Count = 3) {
        WaitFor([&] {
            const std::string Log = ReadWholeFile(Folder.File("netsh.log"));
            return std::size_t(std::count(Log.begin(), Log.end(), '\n')) >= Count;
        });
        return TakeLines("netsh.log");
    }

    // The lines of a file in the folder, which goes.
    Lines TakeLines(const std::string& Name) {
        const std::string All = ReadWholeFile(Folder.File(Name));
        Lines Result;
        std::size_t Start = 0;
        for (std::size_t End; (End = All.find('\n', Start)) != std::string::npos; Start = End + 1)
            Result.push_back(All.substr(Start, End - Start));
        std::filesystem::remove(FilePath(Folder.File(Name)));
        return Result;
    }

    // Waits for an apply to end: its netsh lines, the wait box gone, then its balloon, which
    // comes after the trees are rebuilt. Returns the lines.
    Lines AppliedWith(const std::wstring& Balloon, std::size_t LineCount = 3) {
        const Lines Run = NetshLines(LineCount);
        EXPECT_TRUE(WaitFor([&] { return Copy->FindWindowOf(L"TFrmWaitBox") == nullptr; }));
        EXPECT_TRUE(BalloonSays(Balloon));
        return Run;
    }

    // Answers the message box with this caption and returns its text.
    std::string Answer(const std::wstring& Caption, int Button) {
        const HWND Box = Copy->WaitForWindow(L"#32770", Caption);
        if (Box == nullptr)
            return "(no box)";
        return ReadAndDismiss(Box, Button).Text;
    }

    TempFolder Folder;
    std::filesystem::path Exe;
    std::unique_ptr<TRunningCopy> Copy;
    HWND Main = nullptr;
    HWND IPSetTree = nullptr;
    HWND TrayWindow = nullptr;
    std::vector<std::unique_ptr<TRemoteTree>> Trees;
};

const Lines StaticLines = {
    "netsh interface ip set address \"Conexion de prueba\"  static 192.0.2.10 255.255.255.0 "
    "192.0.2.1 1",
    "netsh interface ip set dns \"Conexion de prueba\"  static 192.0.2.53 primary",
    "netsh interface ip add dns \"Conexion de prueba\" 198.51.100.53 2"};

TEST_F(MainWindowE2E, AddApplyEditDeleteFromWindowTreeAndTray) {
    Start();
    EXPECT_TRUE(Trees[0]->Texts().empty());
    EXPECT_FALSE(Trees[1]->Texts().empty());

    // Ins opens the editor; the new set shows in the tree.
    PostMessageW(Main, WM_KEYDOWN, VK_INSERT, 0);
    FillEditor(L"Agregar nueva IP", L"Oficina",
               {L"192.0.2.10", L"255.255.255.0", L"192.0.2.1", L"192.0.2.53", L"198.51.100.53"});
    EXPECT_TRUE(WaitFor([&] { return Trees[0]->Find(L"OFICINA") != nullptr; }));
    const std::vector<std::wstring> Shown = Trees[0]->Texts();
    EXPECT_NE(std::find(Shown.begin(), Shown.end(), L"Nombre Conexion : " + Connection),
              Shown.end());

    // Activar from the pop-up of a detail line, once the set is opened.
    Trees[0]->Expand(Trees[0]->Find(L"OFICINA"));
    ASSERT_TRUE(FromTreePopUp(L"IP : 192.0.2.10", {VK_DOWN, VK_RETURN}));
    EXPECT_EQ(AppliedWith(L"IP: 192.0.2.10"), StaticLines);

    // Herramientas, "Deshacer ultimo cambio" brings back what the connection had before: the
    // fake IP Helper shows it again (the success balloon). From the tray, the set again.
    ASSERT_TRUE(FromMainMenu(L'h', {VK_DOWN, VK_RETURN}));
    EXPECT_EQ(AppliedWith(L"IP: 10.0.2.15\rMascara de subred: 255.255.255.0\rGateway: 10.0.2.2")[0],
              "netsh interface ip set address \"Conexion de prueba\"  static 10.0.2.15 "
              "255.255.255.0 10.0.2.2 1");
    ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_EQ(AppliedWith(L"IP: 192.0.2.10"), StaticLines);

    // From the tray: its submenu offers the new set.
    ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
    EXPECT_EQ(AppliedWith(L"IP: 192.0.2.10"), StaticLines);

    // The set applied is checked in the tray's submenu and named in the tooltip.
    EXPECT_TRUE(TraySubmenuChecksTheFirstSet());
    EXPECT_EQ(TrayTip(), L"Quelvano v1.47\nConexion de prueba: OFICINA (192.0.2.10)");
    // Changed behind the program's back: IP Helper tells, the adapter tree shows it within a
    // second.
    TNetshState State = LoadNetshState(ReadWholeFile(Folder.File("netsh-state.txt")));
    State[FromWide(Connection)].Address = "192.0.2.77";
    WriteWholeFile(Folder.File("netsh-state.txt"), SaveNetshState(State));
    EXPECT_TRUE(WaitFor([&] { return Trees[1]->Find(L"192.0.2.77") != nullptr; }, 1000));
    EXPECT_FALSE(TraySubmenuChecksTheFirstSet());
    EXPECT_EQ(TrayTip(), L"Quelvano v1.47");

    // Editar from the pop-up renames the set.
    ASSERT_TRUE(FromTreePopUp(L"OFICINA", {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    FillEditor(L"Editar la Configuracion IP", L"Casa", {});
    EXPECT_TRUE(WaitFor([&] { return Trees[0]->Find(L"CASA") != nullptr; }));

    // Minimize goes to the tray with the first balloon; a double click brings the window back.
    PostMessageW(Main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(Main); }));
    EXPECT_TRUE(BalloonSays(L"Para restaurar la pantalla"));
    PostMessageW(TrayWindow, TrayCallback, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(Main) && !IsIconic(Main); }));

    // Eliminar asks first: No keeps it, Yes removes it.
    ASSERT_TRUE(FromTreePopUp(L"CASA", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_EQ(Answer(L"Quelvano", IDNO),
              "\u00bfEstas seguro que deseas eliminar la Configuracion IP...?");
    EXPECT_NE(Trees[0]->Find(L"CASA"), nullptr);
    ASSERT_TRUE(FromTreePopUp(L"CASA", {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    Answer(L"Quelvano", IDYES);
    EXPECT_TRUE(WaitFor([&] { return Trees[0]->Texts().empty(); }));

    // Salir from the tray asks, then ends the program.
    ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_EQ(Answer(L"Salir", IDYES), "\u00bfDesea salir de la aplicacion...?");
    EXPECT_EQ(Copy->ExitCode(), 0);
}

// The extras go in through "Opciones avanzadas" only, as a person fills it: each entry typed and
// added (the DNS server with Enter), the IPv6 part switched to static.
TEST_F(MainWindowE2E, ExtrasFromOpcionesAvanzadasAreStoredAndApplied) {
    Start();
    PostMessageW(Main, WM_KEYDOWN, VK_INSERT, 0);
    const HWND Editor = Copy->WaitForWindow(L"#32770", L"Agregar nueva IP");
    ASSERT_NE(Editor, nullptr);
    PostMessageW(ChildWithText(Editor, L"A&vanzado..."), BM_CLICK, 0, 0);
    const HWND Advanced = Copy->WaitForWindow(L"#32770", L"Opciones avanzadas");
    ASSERT_NE(Advanced, nullptr);
    auto AddEntry = [&](const std::wstring& Label, const std::wstring& Value,
                        const std::wstring& Second = {}) {
        const HWND Box = FieldAfter(Advanced, Label);
        Type(Box, Value);
        if (!Second.empty())
            Type(GetWindow(GetWindow(Box, GW_HWNDNEXT), GW_HWNDNEXT), Second);
        SendMessageW(NextWithText(Box, L"Agregar"), BM_CLICK, 0, 0);
    };
    AddEntry(L"Direccion IP :", L"192.0.2.11", L"255.255.255.0");
    Press(Advanced, L"Estatica");
    AddEntry(L"Direccion IPv6 :", L"2001:DB8:0::10", L"64");
    Type(FieldAfter(Advanced, L"Puerta de enlace IPv6 :"), L"2001:db8::1");
    AddEntry(L"Servidor DNS IPv6 :", L"2001:db8::53");
    const HWND Dns = FieldAfter(Advanced, L"Servidor DNS :");
    Type(Dns, L"192.0.2.54");
    SendMessageW(Advanced, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Dns), TRUE);
    PostMessageW(Dns, WM_KEYDOWN, VK_RETURN, 0);
    const HWND DnsList = GetWindow(NextWithText(Dns, L"Agregar"), GW_HWNDNEXT);
    EXPECT_TRUE(WaitFor([&] { return SendMessageW(DnsList, LB_GETCOUNT, 0, 0) == 1; }));
    PostMessageW(ChildWithText(Advanced, L"&Aceptar"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(Advanced); }));
    FillEditor(L"Agregar nueva IP", L"Oficina",
               {L"192.0.2.10", L"255.255.255.0", L"192.0.2.1", L"192.0.2.53", L"198.51.100.53"});
    ASSERT_TRUE(WaitFor([&] { return Trees[0]->Find(L"OFICINA") != nullptr; }));

    TgtIPDBManager Stored(nullptr);
    Stored.OpenDatabase(Folder.File("quelvano.ipdb"));
    TIPSetExtras Expected;
    Expected.Addresses = {{"192.0.2.11", "255.255.255.0"}};
    Expected.Dns = {"192.0.2.54"};
    Expected.IPv6 = TIPv6Mode::Static;
    Expected.IPv6Addresses = {{"2001:db8::10", 64}};
    Expected.IPv6Gateway = "2001:db8::1";
    Expected.IPv6Dns = {"2001:db8::53"};
    EXPECT_TRUE(LoadIPSetExtras(*Stored.AdoConnection(), 1) == Expected);

    ASSERT_TRUE(FromTreePopUp(L"OFICINA", {VK_DOWN, VK_RETURN}));
    Lines ExpectedLines = StaticLines;
    const std::string C = "\"Conexion de prueba\"";
    for (const std::string& Extra :
         {"netsh interface ip add address " + C + " 192.0.2.11 255.255.255.0",
          "netsh interface ip add dns " + C + " 192.0.2.54 index=3",
          "netsh interface ipv6 add address " + C + " 2001:db8::10/64",
          "netsh interface ipv6 add route ::/0 " + C + " 2001:db8::1",
          "netsh interface ipv6 set dnsservers " + C + " static 2001:db8::53 primary"})
        ExpectedLines.push_back(Extra);
    EXPECT_EQ(NetshLines(ExpectedLines.size()), ExpectedLines);
}

TEST_F(MainWindowE2E, FailingNetshShowsTheErrorBalloon) {
    SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", L"1");
    Start();
    PostMessageW(Main, WM_KEYDOWN, VK_INSERT, 0);
    FillEditor(L"Agregar nueva IP", L"Oficina",
               {L"192.0.2.10", L"255.255.255.0", L"192.0.2.1", L"192.0.2.53", L"198.51.100.53"});
    ASSERT_TRUE(WaitFor([&] { return Trees[0]->Find(L"OFICINA") != nullptr; }));
    ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
    EXPECT_EQ(AppliedWith(L"Paso 1 de 3: netsh termino con el codigo 1"), StaticLines);
    // Archivo, Salir (Alt+A, S) closes at once.
    ASSERT_TRUE(ChooseFromMenu([&] { PostMessageW(Main, WM_SYSCOMMAND, SC_KEYMENU, 'a'); }, {'S'}));
    EXPECT_EQ(Copy->ExitCode(), 0);
}

// The balloon says what the adapter shows once the lines have run (the fake IP Helper shows what
// the fake netsh took), not what netsh answered.
TEST_F(MainWindowE2E, BalloonTellsWhatTheAdapterShowsAfterTheLines) {
    const struct {
        const char* Label;
        const wchar_t *Exit, *Inert, *NoLease;
        bool Dhcp, InForceBefore, AdapterGone;
        std::wstring Balloon;
    } Cases[] = {
        {"already in force, netsh says 1", L"1", nullptr, nullptr, false, true, false,
         L"IP: 192.0.2.10\rMascara de subred: 255.255.255.0\rGateway: 192.0.2.1\r"
         L"DNS preferido: 192.0.2.53\rDNS alternativo: 198.51.100.53\rDHCP: No"},
        {"netsh says 0 and changes nothing", nullptr, L"1", nullptr, false, false, false,
         L"IP: se esperaba 192.0.2.10/255.255.255.0, el adaptador tiene 10.0.2.15/255.255.255.0\r"
         L"Gateway: se esperaba 192.0.2.1, el adaptador tiene 10.0.2.2\r"
         L"DNS: se esperaba 192.0.2.53, 198.51.100.53; el adaptador tiene 10.0.2.3"},
        {"DHCP without a server", nullptr, nullptr, L"1", true, false, false,
         L"DHCP: Si\rSin respuesta del servidor DHCP todavia."},
        {"adapter gone", nullptr, nullptr, nullptr, false, false, true,
         L"No se encontro el adaptador de la conexion \"Conexion de prueba\"."},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Label);
        SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", C.Exit);
        SetEnvironmentVariableW(L"FAKE_NETSH_INERT", C.Inert);
        SetEnvironmentVariableW(L"FAKE_NETSH_NO_LEASE", C.NoLease);
        TNetshState State;
        if (C.InForceBefore)
            State["Conexion de prueba"] = {
                false, "192.0.2.10", "255.255.255.0", "192.0.2.1", {"192.0.2.53", "198.51.100.53"},
                true};
        WriteWholeFile(Folder.File("netsh-state.txt"), SaveNetshState(State));
        std::filesystem::remove(FilePath(Folder.File("quelvano.ipdb")));
        Start();
        PostMessageW(Main, WM_KEYDOWN, VK_INSERT, 0);
        if (C.Dhcp)
            FillEditor(L"Agregar nueva IP", L"Oficina", {}, true);
        else
            FillEditor(
                L"Agregar nueva IP", L"Oficina",
                {L"192.0.2.10", L"255.255.255.0", L"192.0.2.1", L"192.0.2.53", L"198.51.100.53"});
        ASSERT_TRUE(WaitFor([&] { return Trees[0]->Find(L"OFICINA") != nullptr; }));
        if (C.AdapterGone)
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, ClassPath.c_str());
        ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
        AppliedWith(C.Balloon, C.Dhcp ? 2 : 3);
        ASSERT_TRUE(FromMainMenu(L'a', {'S'}));
        EXPECT_EQ(Copy->ExitCode(), 0);
        SeedConnectionOfFirstAdapter();
    }
}

// Told it has no administrator rights, the program hands each apply to a second quelvano.exe in
// helper mode; netsh gets the same lines, their codes come back into the same balloons. The
// first copy adds the sets in a fresh folder, the second one, with the rights, applies them again.
// Beside them lies a marker DLL under the name of each DLL the program imports or loads, which
// Wine is told to prefer, as Windows does for every name that is not a known DLL: none is loaded.
TEST_F(MainWindowE2E, WithoutAdministratorRightsAHelperAppliesAsTheProgramItselfDoes) {
    std::vector<std::string> Planted = ImportedDlls(Exe);
    for (const std::string Name : {"iphlpapi.dll", "bcrypt.dll"})
        Planted.push_back(Name);
    for (const std::string& Name : Planted) {
        ASSERT_TRUE(
            std::filesystem::copy_file(FilePath(QUELVANO_MARKER_DLL), Folder.Path() / Name));
        const wchar_t Preferred[] = L"native,builtin";
        if (!IsKnownDll(Name))
            RegSetKeyValueW(HKEY_CURRENT_USER, (WineAppDefaults + L"\\DllOverrides").c_str(),
                            ToWide(Name.substr(0, Name.size() - 4)).c_str(), REG_SZ, Preferred,
                            sizeof Preferred);
    }
    SetEnvironmentVariableW(L"FAKE_NETSH_EXIT", L"0 0 3");
    SetEnvironmentVariableW(L"FAKE_NETSH_PARENTS", (Folder.Path() / "parents.log").c_str());
    const struct {
        std::wstring Set, Balloon;
        Lines Run;
    } Sets[] = {
        {L"OFICINA", L"Paso 3 de 3: netsh termino con el codigo 3", StaticLines},
        {L"MOVIL",
         L"DHCP: Si",
         {"netsh interface ip set address \"Conexion de prueba\"  dhcp ",
          "netsh interface ip set dns \"Conexion de prueba\"  dhcp "}},
    };
    std::vector<std::wstring> Balloons[2];
    std::vector<Lines> Parents[2];
    wchar_t System[MAX_PATH] = {};
    GetSystemDirectoryW(System, MAX_PATH);
    for (int Elevated : {0, 1}) {
        SetEnvironmentVariableW(L"QUELVANO_NOT_ELEVATED", Elevated ? nullptr : L"1");
        Start();
        if (!Elevated) {
            PostMessageW(Main, WM_KEYDOWN, VK_INSERT, 0);
            FillEditor(
                L"Agregar nueva IP", L"Oficina",
                {L"192.0.2.10", L"255.255.255.0", L"192.0.2.1", L"192.0.2.53", L"198.51.100.53"});
            PostMessageW(Main, WM_KEYDOWN, VK_INSERT, 0);
            FillEditor(L"Agregar nueva IP", L"Movil", {}, true);
        }
        for (const auto& S : Sets) {
            SCOPED_TRACE(FromWide(S.Set) + (Elevated ? " in process" : " through the helper"));
            ASSERT_TRUE(WaitFor([&] { return Trees[0]->Find(S.Set) != nullptr; }));
            ASSERT_TRUE(FromTreePopUp(S.Set, {VK_DOWN, VK_RETURN}));
            EXPECT_EQ(NetshLines(S.Run.size()), S.Run);
            EXPECT_TRUE(WaitFor([&] { return Copy->FindWindowOf(L"TFrmWaitBox") == nullptr; }));
            Balloons[Elevated].push_back(BalloonWith(S.Balloon));
            // Who started each netsh: "<process id> <file name>".
            Parents[Elevated].push_back(TakeLines("parents.log"));
        }
        // netsh runs in the system folder, not in the program's.
        const std::string Self =
            std::to_string(GetProcessId(Copy->Process())) + " quelvano.exe " + FromWide(System);
        ASSERT_TRUE(FromMainMenu(L'a', {'S'}));
        EXPECT_EQ(Copy->ExitCode(), 0);
        for (const Lines& Apply : Parents[Elevated]) {
            ASSERT_FALSE(Apply.empty());
            EXPECT_EQ(Apply, Lines(Apply.size(), Apply[0]));
            EXPECT_EQ(Apply[0] == Self, bool(Elevated)) << Apply[0];
            EXPECT_NE(Apply[0].find(" quelvano.exe " + FromWide(System)), std::string::npos)
                << Apply[0];
        }
    }
    for (const auto& File : std::filesystem::directory_iterator(Folder.Path()))
        EXPECT_NE(File.path().extension(), ".loaded") << PathText(File.path());
    EXPECT_EQ(Balloons[0], Balloons[1]);
    EXPECT_FALSE(Balloons[0][0].empty() || Balloons[0][1].empty());
}

// Every dialog, from the tray or the window, is owned by the main window and holds it until it
// ends, in front of it; a WM_CLOSE that another program sends (a task list's "End task") ends it at
// once, with no input after it. Then the editor from the tray stores the set whole.
TEST_F(MainWindowE2E, DialogsHoldTheMainWindowAndGoWhenAnotherProgramClosesThem) {
    Start();
    const struct {
        wchar_t Menu; // of the window, by its letter; the tray's when none
        std::vector<UINT> Keys;
        const wchar_t* Caption;
    } Dialogs[] = {{0, {VK_DOWN, VK_DOWN, VK_RETURN}, L"Agregar nueva IP"},
                   {L'a', {VK_RETURN}, L"Asistente de Configuracion de IP"},
                   {L'h', {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, L"Opciones"},
                   {0, {VK_DOWN, VK_RETURN}, L"Acerca de"}};
    for (const auto& D : Dialogs) {
        SCOPED_TRACE(FromWide(D.Caption));
        ASSERT_TRUE(D.Menu ? FromMainMenu(D.Menu, D.Keys) : FromTrayMenu(D.Keys));
        const HWND Dialog = Copy->WaitForWindow(L"#32770", D.Caption);
        ASSERT_NE(Dialog, nullptr);
        EXPECT_EQ(GetWindow(Dialog, GW_OWNER), Main);
        EXPECT_FALSE(IsWindowEnabled(Main)); // the system gives it no click and no key
        // Brought back from the tray, the window comes with the dialog in front of it.
        SendMessageW(TrayWindow, TrayCallback, 0, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == Dialog; }, 5000));
        SendNotifyMessageW(Dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(Dialog); }, 5000));
        EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(Main) != FALSE; }));
        // A menu opened while the ended dialog is still going away is closed by the activation
        // that follows it: the next one waits for the window to be active again.
        WaitFor([&] { return !IsWindow(Dialog) && GetForegroundWindow() == Main; }, 3000);
    }
    ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_DOWN, VK_RETURN}));
    FillEditor(L"Agregar nueva IP", L"oficina", {}, true);
    EXPECT_TRUE(WaitFor([&] { return Trees[0]->Find(L"OFICINA") != nullptr; }));
    EXPECT_NE(Trees[0]->Find(L"Nombre Conexion : " + Connection), nullptr);
    EXPECT_NE(Trees[0]->Find(L"DHCP : Si"), nullptr);
}

TEST_F(MainWindowE2E, WizardOptionsAboutAndStartMinimized) {
    Start();
    // Archivo, Iniciar Wizard: a DHCP set in five steps.
    ASSERT_TRUE(FromMainMenu(L'a', {VK_RETURN}));
    const HWND Wizard = Copy->WaitForWindow(L"#32770", L"Asistente de Configuracion de IP");
    ASSERT_NE(Wizard, nullptr);
    Press(Wizard, L"&Siguiente");
    PickFirst(FieldAfter(Wizard, L"Adaptador de Red :"));
    Press(Wizard, L"&Siguiente");
    Press(Wizard, L"Usar DHCP");
    Press(Wizard, L"&Siguiente");
    Type(FieldAfter(Wizard, L"Nombre de la configuracion IP :"), L"Movil");
    PostMessageW(ChildWithText(Wizard, L"&Finalizar"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return Trees[0]->Find(L"MOVIL") != nullptr; }));
    EXPECT_NE(Trees[0]->Find(L"DHCP : Si"), nullptr);

    // The tray submenu has it at once.
    ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}));
    EXPECT_EQ(AppliedWith(L"DHCP: Si", 2),
              (Lines{"netsh interface ip set address \"Conexion de prueba\"  dhcp ",
                     "netsh interface ip set dns \"Conexion de prueba\"  dhcp "}));

    // Acerca de... from the tray, then Herramientas, Opciones del sistema: start minimized.
    ASSERT_TRUE(FromTrayMenu({VK_DOWN, VK_RETURN}));
    const HWND About = Copy->WaitForWindow(L"#32770", L"Acerca de");
    ASSERT_NE(About, nullptr);
    PostMessageW(ChildWithText(About, L"&Aceptar"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(About); }));
    ASSERT_TRUE(FromMainMenu(L'h', {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}));
    const HWND Options = Copy->WaitForWindow(L"#32770", L"Opciones");
    ASSERT_NE(Options, nullptr);
    Press(Options, L"Iniciar Minimizado");
    PostMessageW(ChildWithText(Options, L"&Aceptar"), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(Options); }));
    ASSERT_TRUE(FromMainMenu(L'a', {'S'}));
    EXPECT_EQ(Copy->ExitCode(), 0);

    // The next start goes straight to the tray with its balloon; a double click shows it.
    Start(true);
    EXPECT_FALSE(IsWindowVisible(Main));
    PostMessageW(TrayWindow, TrayCallback, 0, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(Main) && !IsIconic(Main); }));
    EXPECT_NE(Trees[0]->Find(L"MOVIL"), nullptr);
    ASSERT_TRUE(FromMainMenu(L'a', {'S'}));
    EXPECT_EQ(Copy->ExitCode(), 0);
}

} // namespace
