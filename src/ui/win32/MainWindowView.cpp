#include "ui/win32/MainWindowView.h"

#include "base/Exception.h"
#include "base/StartTrace.h"
#include "base/win32/Guarded.h"
#include "base/win32/WideText.h"
#include "ipset/win32/Imagenes16x16.h"
#include "ipset/win32/Win32TreeView.h"
#include "tray/win32/Win32Menus.h"
#include "ui/f_main.h"
#include "ui/win32/DialogBase.h"
#include "ui/win32/MainCommands.h"
#include "ui/win32/MainToolBar.h"

#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <functional>
#include <memory>
#include <utility>

namespace {

const wchar_t* const ClassName = L"TFrmMain";
const int FormWidth = 798;
const int FormHeight = 548;
const DWORD Style =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME | WS_CLIPCHILDREN;
const COLORREF HeaderText = RGB(128, 128, 128);
const wchar_t* const Authors = L"Quelvano, por los autores de Quelvano";
const int StatusPanels[] = {340, 150, 50};

int Scale(int Value, UINT Dpi) {
    return MulDiv(Value, static_cast<int>(Dpi), 96);
}

// The window's DPI on systems that tell it per window, else the screen's.
UINT DpiOf(HWND Window) {
    using TGetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto Get = reinterpret_cast<TGetDpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32"), "GetDpiForWindow")));
    if (Get != nullptr && Window != nullptr)
        return Get(Window);
    const HDC Screen = GetDC(nullptr);
    const UINT Dpi = static_cast<UINT>(GetDeviceCaps(Screen, LOGPIXELSY));
    ReleaseDC(nullptr, Screen);
    return Dpi;
}

HFONT MakeFont(UINT Dpi, bool Bold) {
    NONCLIENTMETRICSW Metrics = {};
    Metrics.cbSize = sizeof Metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof Metrics, &Metrics, 0);
    LOGFONTW Font = Metrics.lfMessageFont;
    Font.lfHeight = -MulDiv(9, static_cast<int>(Dpi), 72);
    if (Bold)
        Font.lfWeight = FW_BOLD;
    return CreateFontIndirectW(&Font);
}

class TWin32MainView;
TWin32MainView* Current = nullptr;

// An item of the window's menu bar as the controller sees it. A grayed item's shortcut sends
// nothing either.
class TMenuCommandControl : public TControl {
public:
    TMenuCommandControl(HWND Window, UINT Command) : FWindow(Window), FCommand(Command) {}
    bool Enabled() const override {
        return (GetMenuState(GetMenu(FWindow), FCommand, MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    void SetEnabled(bool Value) override {
        EnableMenuItem(GetMenu(FWindow), FCommand, MF_BYCOMMAND | (Value ? MF_ENABLED : MF_GRAYED));
    }
    bool CanFocus() const override { return false; }
    void SetFocus() override {}

private:
    HWND FWindow;
    UINT FCommand;
};

// The two pages: a header and a tree each; only the chosen one shows.
class TPages : public TNotebook {
public:
    explicit TPages(TWin32MainView& AView) : View(AView) {}
    void SetPageIndex(int Value) override;

private:
    TWin32MainView& View;
};

class TWin32MainView : public TMainFormView {
public:
    explicit TWin32MainView(TFrmMain& AForm);
    ~TWin32MainView() override;
    TWin32MainView(const TWin32MainView&) = delete;
    TWin32MainView& operator=(const TWin32MainView&) = delete;

    HWND Handle() const { return FWindow; }
    HACCEL Shortcuts() const { return FShortcuts; }

    void SetCaption(const std::string& Value) override {
        SetWindowTextW(FWindow, ToWide(Value).c_str());
    }
    // Asynchronous, so the command that asked ends before the window goes.
    void Close() override { PostMessageW(FWindow, WM_CLOSE, 0, 0); }
    void Minimize() override { PostMessageW(FWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0); }
    void HideTaskbarButton() override { ShowWindow(FWindow, SW_HIDE); }
    // A dialog showing comes in front with it: the window alone would take no input.
    void Restore() override {
        ShowWindow(FWindow, SW_RESTORE);
        SetForegroundWindow(ModalOwner());
    }
    void AfterFirstPaint(std::function<void()> Step) override {
        FAfterFirstPaint = std::move(Step);
    }
    // Shows the window, lets it paint, then runs what waited for that.
    void Show();

    void ShowPage(int Index);
    LRESULT Dispatch(UINT Message, WPARAM WParam, LPARAM LParam);
    void Attach(HWND Window) { FWindow = Window; }

private:
    void CreateControls();
    HWND CreateHeader(const wchar_t* Caption);
    void SetDpi(UINT Dpi);
    void SetFonts();
    void Layout();
    void Command(int Id);
    LRESULT Notify(const NMHDR& Header);
    void TreeContextMenu(LPARAM Where);
    HWND VisibleTree() const;

    TFrmMain& Form;
    HWND FWindow = nullptr;
    HACCEL FShortcuts = nullptr;
    UINT FDpi = 96;
    HFONT FFont = nullptr;
    HFONT FBoldFont = nullptr;
    HIMAGELIST FTreeImages = nullptr;
    std::unique_ptr<TMainToolBar> FToolBar;
    HWND FBevel = nullptr;
    HWND FHeaders[2] = {};
    std::unique_ptr<TWin32TreeView> FTrees[2];
    HWND FTabs = nullptr;
    HWND FStatus = nullptr;
    int FPage = 0;
    TPages FPages{*this};
    std::unique_ptr<TToolButtonControl> FButtons[4];
    std::unique_ptr<TMenuCommandControl> FUndo;
    std::function<void()> FAfterFirstPaint;
};

void TWin32MainView::Show() {
    ShowWindow(FWindow, SW_SHOWNORMAL);
    UpdateWindow(FWindow);
    StartTrace("painted");
    if (FAfterFirstPaint) {
        const std::function<void()> Step = std::move(FAfterFirstPaint);
        FAfterFirstPaint = nullptr;
        Step();
    }
}

void TPages::SetPageIndex(int Value) {
    View.ShowPage(Value);
}

LRESULT CALLBACK MainWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_NCCREATE) {
        const auto* Create = reinterpret_cast<const CREATESTRUCTW*>(LParam);
        SetWindowLongPtrW(Window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(Create->lpCreateParams));
    }
    auto* View = reinterpret_cast<TWin32MainView*>(GetWindowLongPtrW(Window, GWLP_USERDATA));
    if (View == nullptr)
        return DefWindowProcW(Window, Message, WParam, LParam);
    if (Message == WM_NCCREATE)
        View->Attach(Window);
    return Guarded(LRESULT(0), [&] { return View->Dispatch(Message, WParam, LParam); });
}

TWin32MainView::TWin32MainView(TFrmMain& AForm) : Form(AForm) {
    const HINSTANCE Instance = GetModuleHandleW(nullptr);
    FShortcuts = LoadAcceleratorsW(Instance, MAKEINTRESOURCEW(IDR_SHORTCUTS));
    const HMENU Menu = LoadMenuW(Instance, MAKEINTRESOURCEW(IDR_MAINMENU));
    const UINT Dpi = DpiOf(nullptr);
    const int Width = Scale(FormWidth, Dpi);
    const int Height = Scale(FormHeight, Dpi);
    RECT Work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &Work, 0);
    const int Left = Work.left + (Work.right - Work.left - Width) / 2;
    const int Top = Work.top + (Work.bottom - Work.top - Height) / 2;
    if (CreateWindowExW(WS_EX_CONTROLPARENT, ClassName, L"", Style, Left, Top, Width, Height,
                        nullptr, Menu, Instance, this) == nullptr)
        throw EOutOfResources("No se puede crear la ventana principal");
    Current = this;
    SetMainWindow(FWindow);
    FDpi = DpiOf(FWindow);
    CreateControls();
    SetFonts();
    ShowPage(0);
}

TWin32MainView::~TWin32MainView() {
    if (Current == this) {
        Current = nullptr;
        SetMainWindow(nullptr);
    }
    for (auto& Tree : FTrees)
        Tree.reset();
    FToolBar.reset();
    if (IsWindow(FWindow)) {
        SetWindowLongPtrW(FWindow, GWLP_USERDATA, 0);
        DestroyWindow(FWindow);
    }
    for (HGDIOBJ Font : {FFont, FBoldFont})
        if (Font != nullptr)
            DeleteObject(Font);
    Form.TrayIconMenu.Images = 0;
    if (FTreeImages != nullptr)
        ImageList_Destroy(FTreeImages);
    if (FShortcuts != nullptr)
        DestroyAcceleratorTable(FShortcuts);
}

HWND TWin32MainView::CreateHeader(const wchar_t* Caption) {
    return CreateWindowExW(0, L"STATIC", Caption, WS_CHILD | SS_LEFT | SS_CENTERIMAGE, 0, 0, 0, 0,
                           FWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void TWin32MainView::CreateControls() {
    const HINSTANCE Instance = GetModuleHandleW(nullptr);
    FToolBar = std::make_unique<TMainToolBar>(FWindow, FDpi);
    FBevel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0, 0, 0,
                             FWindow, nullptr, Instance, nullptr);
    FHeaders[0] = CreateHeader(L"  [Mis configuraciones IP]");
    FHeaders[1] = CreateHeader(L"  [Conexiones a Red]");
    FTreeImages = CreateImagenes16x16();
    // The tray menu's items show the trees' pictures.
    Form.TrayIconMenu.Images = reinterpret_cast<std::uintptr_t>(FTreeImages);
    const RECT None = {0, 0, 0, 0};
    for (auto& Tree : FTrees) {
        Tree = std::make_unique<TWin32TreeView>(nullptr, FWindow, None);
        Tree->SetImageList(FTreeImages);
    }
    FTabs = CreateWindowExW(0, WC_TABCONTROLW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TCS_BOTTOM | TCS_FOCUSNEVER, 0, 0,
                            0, 0, FWindow, nullptr, Instance, nullptr);
    const wchar_t* const Tabs[] = {L"Mis configuraciones IP", L"Conexiones de Red"};
    for (int I = 0; I < 2; ++I) {
        TCITEMW Item = {};
        Item.mask = TCIF_TEXT;
        Item.pszText = const_cast<wchar_t*>(Tabs[I]);
        SendMessageW(FTabs, TCM_INSERTITEMW, static_cast<WPARAM>(I),
                     reinterpret_cast<LPARAM>(&Item));
    }
    FStatus = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, FWindow,
                              nullptr, Instance, nullptr);
    SendMessageW(FStatus, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Authors));

    const int Commands[] = {CM_ACTIVATE, CM_ADD, CM_EDIT, CM_DELETE};
    for (int I = 0; I < 4; ++I)
        FButtons[I] = std::make_unique<TToolButtonControl>(FToolBar->Handle(), Commands[I]);
    Form.tvConfiguracionesIP = FTrees[0].get();
    Form.tvAdaptadoresRed = FTrees[1].get();
    Form.nbPaginas = &FPages;
    Form.btnActivarConfIP = FButtons[0].get();
    Form.btnAgregarConfIP = FButtons[1].get();
    Form.btnEditarConfIP = FButtons[2].get();
    Form.btnEliminarConfIP = FButtons[3].get();
    FUndo = std::make_unique<TMenuCommandControl>(FWindow, CM_UNDO);
    Form.mnuDeshacer = FUndo.get();
}

void TWin32MainView::SetDpi(UINT Dpi) {
    FDpi = Dpi;
    FToolBar->SetDpi(Dpi);
    SetFonts();
}

// Fonts, status-bar parts and layout for the window's DPI.
void TWin32MainView::SetFonts() {
    const UINT Dpi = FDpi;
    for (HFONT* Font : {&FFont, &FBoldFont})
        if (*Font != nullptr)
            DeleteObject(*Font);
    FFont = MakeFont(Dpi, false);
    FBoldFont = MakeFont(Dpi, true);
    for (HWND Control : {FToolBar->Handle(), FTrees[0]->Handle(), FTrees[1]->Handle(), FTabs})
        SendMessageW(Control, WM_SETFONT, reinterpret_cast<WPARAM>(FFont), TRUE);
    for (HWND Header : FHeaders)
        SendMessageW(Header, WM_SETFONT, reinterpret_cast<WPARAM>(FBoldFont), TRUE);
    int Edges[3];
    int Edge = 0;
    for (int I = 0; I < 3; ++I)
        Edges[I] = Edge += Scale(StatusPanels[I], Dpi);
    SendMessageW(FStatus, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(Edges));
    Layout();
}

void TWin32MainView::Layout() {
    if (FStatus == nullptr)
        return;
    RECT Client;
    GetClientRect(FWindow, &Client);
    SendMessageW(FToolBar->Handle(), TB_AUTOSIZE, 0, 0);
    SendMessageW(FStatus, WM_SIZE, 0, 0);
    RECT Bar, Status;
    GetWindowRect(FToolBar->Handle(), &Bar);
    GetWindowRect(FStatus, &Status);
    const int Width = Client.right;
    int Top = Bar.bottom - Bar.top;
    MoveWindow(FBevel, 0, Top, Width, 2, TRUE);
    Top += 2;
    const int Bottom = Client.bottom - (Status.bottom - Status.top);
    const int TabHeight = Scale(26, FDpi);
    MoveWindow(FTabs, 0, Bottom - TabHeight, Width, TabHeight, TRUE);
    const int HeaderHeight = Scale(20, FDpi);
    const int TreeTop = Top + HeaderHeight;
    const int TreeHeight = Bottom - TabHeight - TreeTop;
    for (int I = 0; I < 2; ++I) {
        MoveWindow(FHeaders[I], 0, Top, Width, HeaderHeight, TRUE);
        MoveWindow(FTrees[I]->Handle(), 0, TreeTop, Width, TreeHeight > 0 ? TreeHeight : 0, TRUE);
    }
}

void TWin32MainView::ShowPage(int Index) {
    FPage = Index;
    // The keyboard follows to the tree that shows, rather than staying in the one now hidden.
    const bool TreeHadFocus =
        GetFocus() == FTrees[0]->Handle() || GetFocus() == FTrees[1]->Handle();
    for (int I = 0; I < 2; ++I) {
        const int Show = I == Index ? SW_SHOW : SW_HIDE;
        ShowWindow(FHeaders[I], Show);
        ShowWindow(FTrees[I]->Handle(), Show);
    }
    if (TreeHadFocus)
        SetFocus(VisibleTree());
    if (SendMessageW(FTabs, TCM_GETCURSEL, 0, 0) != Index)
        SendMessageW(FTabs, TCM_SETCURSEL, static_cast<WPARAM>(Index), 0);
}

HWND TWin32MainView::VisibleTree() const {
    return FTrees[FPage == 0 ? 0 : 1]->Handle();
}

void TWin32MainView::Command(int Id) {
    using TCommand = void (TFrmMain::*)();
    static const struct {
        int Id;
        TCommand Run;
    } Commands[] = {
        {CM_WIZARD, &TFrmMain::RunWizard},
        {CM_REFRESH, &TFrmMain::Refresh},
        {CM_EXIT, &TFrmMain::Exit1Click},
        {CM_ACTIVATE, &TFrmMain::ActivateSelectedIPSet},
        {CM_UNDO, &TFrmMain::UndoLastChange},
        {CM_ADD, &TFrmMain::AddNewIPConfigurationSet1Click},
        {CM_EDIT, &TFrmMain::EditSelectedIPSet},
        {CM_DELETE, &TFrmMain::DeleteSelectedIPSet},
        {CM_OPTIONS, &TFrmMain::ShowOptions},
        {CM_HELP, &TFrmMain::Help},
        {CM_ABOUT, &TFrmMain::ShowAboutBox},
    };
    for (const auto& C : Commands)
        if (C.Id == Id)
            (Form.*C.Run)();
}

LRESULT TWin32MainView::Notify(const NMHDR& Header) {
    if (Header.hwndFrom == FTabs && Header.code == TCN_SELCHANGE) {
        Form.tsPaginasChange(static_cast<int>(SendMessageW(FTabs, TCM_GETCURSEL, 0, 0)));
    } else if (Header.code == TTN_GETDISPINFOW) {
        auto& Info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(Header));
        if (const wchar_t* Hint = TMainToolBar::Hint(Header.idFrom))
            Info.lpszText = const_cast<wchar_t*>(Hint);
    }
    return 0;
}

// From the mouse, the node under it becomes the selection; from the keyboard (no point), the
// menu opens beside the selected node.
void TWin32MainView::TreeContextMenu(LPARAM Where) {
    const HWND Tree = FTrees[0]->Handle();
    POINT At = {GET_X_LPARAM(Where), GET_Y_LPARAM(Where)};
    HTreeNode UnderMouse = 0;
    if (Where == -1) {
        RECT Item = {};
        const HTreeNode Selected = FTrees[0]->Selected();
        // The message takes the item in the rectangle's first bytes.
        const HTREEITEM Handle = reinterpret_cast<HTREEITEM>(Selected);
        std::memcpy(&Item, &Handle, sizeof Handle);
        if (Selected == 0 ||
            !SendMessageW(Tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&Item)))
            GetClientRect(Tree, &Item);
        At = {Item.left, Item.bottom};
        ClientToScreen(Tree, &At);
    } else {
        TVHITTESTINFO Hit = {};
        Hit.pt = At;
        ScreenToClient(Tree, &Hit.pt);
        SendMessageW(Tree, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&Hit));
        if (Hit.flags & TVHT_ONITEM)
            UnderMouse = reinterpret_cast<HTreeNode>(Hit.hItem);
    }
    Form.tvConfiguracionesIPContextPopup(UnderMouse);
    Form.TreeViewPopUpMenuPopup();
    TrackMenu(FWindow, Form.TreeViewPopUpMenu, At);
}

LRESULT TWin32MainView::Dispatch(UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_COMMAND:
        Command(LOWORD(WParam));
        return 0;
    case WM_NOTIFY:
        return Notify(*reinterpret_cast<const NMHDR*>(LParam));
    case WM_CONTEXTMENU:
        if (FTrees[0] && reinterpret_cast<HWND>(WParam) == FTrees[0]->Handle()) {
            TreeContextMenu(LParam);
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(LParam) == FHeaders[0] ||
            reinterpret_cast<HWND>(LParam) == FHeaders[1]) {
            const HDC Dc = reinterpret_cast<HDC>(WParam);
            SetTextColor(Dc, HeaderText);
            SetBkColor(Dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        break;
    case WM_SIZE:
        if (WParam == SIZE_MINIMIZED)
            Form.ApplicationEvents1Minimize();
        else
            Layout();
        return 0;
    case WM_ACTIVATEAPP:
        if (WParam != FALSE)
            Form.ApplicationEvents1Activate();
        return 0;
    case WM_SETFOCUS:
        if (FStatus != nullptr)
            SetFocus(VisibleTree());
        return 0;
    case 0x02E0: { // WM_DPICHANGED
        const RECT& Suggested = *reinterpret_cast<const RECT*>(LParam);
        SetDpi(HIWORD(WParam));
        SetWindowPos(FWindow, nullptr, Suggested.left, Suggested.top,
                     Suggested.right - Suggested.left, Suggested.bottom - Suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(FWindow, Message, WParam, LParam);
}

} // namespace

void RegisterWin32MainWindow() {
    INITCOMMONCONTROLSEX Controls = {sizeof(Controls),
                                     ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&Controls);
    WNDCLASSEXW Class = {};
    Class.cbSize = sizeof(Class);
    Class.lpfnWndProc = MainWindowProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Class.hIcon = LoadIconW(Class.hInstance, L"MAINICON");
    Class.hIconSm = static_cast<HICON>(LoadImageW(Class.hInstance, L"MAINICON", IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), 0));
    Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Class.lpszClassName = ClassName;
    RegisterClassExW(&Class);
    TFrmMain::ViewFactory = [](TFrmMain& Form) { return std::make_unique<TWin32MainView>(Form); };
}

void ShowMainWindow() {
    if (Current != nullptr)
        Current->Show();
}

int RunMainWindow() {
    if (Current == nullptr)
        return 0;
    const HWND Main = Current->Handle();
    const HACCEL Shortcuts = Current->Shortcuts();
    StartTrace("loop");
    MSG Msg;
    while (GetMessageW(&Msg, nullptr, 0, 0) > 0) {
        // Shortcuts first: the dialog manager would otherwise take the keys of the window's
        // controls for itself.
        const bool Ours = Msg.hwnd == Main || IsChild(Main, Msg.hwnd);
        if (Ours && TranslateAcceleratorW(Main, Shortcuts, &Msg))
            continue;
        if (Ours && IsDialogMessageW(Main, &Msg))
            continue;
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    return static_cast<int>(Msg.wParam);
}
