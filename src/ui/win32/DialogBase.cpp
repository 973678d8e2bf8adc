#include "ui/win32/DialogBase.h"

#include "base/Exception.h"
#include "base/SysError.h"
#include "base/TApplication.h"
#include "base/win32/WideText.h"

#include <cstdint>
#include <exception>

namespace {

const wchar_t* const ColourProperty = L"Quelvano.Colour";
HWND MainWindow = nullptr;
HWND InnermostModal = nullptr;

// Colours of the system's scheme carry their index in the low byte.
COLORREF ToColorRef(TColor Colour) {
    return (Colour & 0xFF000000) != 0 ? GetSysColor(static_cast<int>(Colour & 0xFF)) : Colour;
}

} // namespace

HWND ModalOwner() {
    if (InnermostModal != nullptr)
        return InnermostModal;
    return MainWindow != nullptr ? MainWindow : GetActiveWindow();
}

void SetMainWindow(HWND Window) {
    MainWindow = Window;
}

// The property holds the colour plus one, so that a control without one reads as 0.
void SetControlColour(HWND Control, TColor Colour) {
    SetPropW(Control, ColourProperty, reinterpret_cast<HANDLE>(std::uintptr_t(Colour) + 1));
    InvalidateRect(Control, nullptr, TRUE);
}

std::optional<TColor> ControlColour(HWND Control) {
    const auto Value = reinterpret_cast<std::uintptr_t>(GetPropW(Control, ColourProperty));
    if (Value == 0)
        return std::nullopt;
    return static_cast<TColor>(Value - 1);
}

TDialog::TDialog(int TemplateId, HWND Parent) {
    if (CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(TemplateId), Parent,
                           DialogProc, reinterpret_cast<LPARAM>(this)) == nullptr)
        throw Exception("CreateDialogParamW: " + SysErrorMessage(GetLastError()));
}

TDialog::~TDialog() {
    // Whatever the destruction still sends must not reach a half-destroyed view.
    SetWindowLongPtrW(FHandle, DWLP_USER, 0);
    for (HWND Child = GetWindow(FHandle, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
        RemovePropW(Child, ColourProperty);
    DestroyWindow(FHandle);
    for (const auto& [Colour, Brush] : FBrushes)
        DeleteObject(Brush);
    for (const auto& [Key, Font] : FFonts)
        DeleteObject(Font);
}

HWND TDialog::Item(int Id) const {
    const HWND Control = GetDlgItem(FHandle, Id);
    if (Control == nullptr)
        throw Exception("The dialog has no control " + std::to_string(Id) + ".");
    return Control;
}

void TDialog::SetItemFont(int Id, const std::wstring& Face, int Percent, bool Bold) {
    HFONT& Font = FFonts[{Face, Percent, Bold}];
    if (Font == nullptr) {
        LOGFONTW Log = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)), sizeof Log,
                   &Log);
        Log.lfHeight = MulDiv(Log.lfHeight, Percent, 100);
        if (Bold)
            Log.lfWeight = FW_BOLD;
        if (!Face.empty()) {
            lstrcpynW(Log.lfFaceName, Face.c_str(), LF_FACESIZE);
            Log.lfPitchAndFamily = DEFAULT_PITCH;
        }
        Font = CreateFontIndirectW(&Log);
    }
    SendMessageW(Item(Id), WM_SETFONT, reinterpret_cast<WPARAM>(Font), TRUE);
}

INT_PTR CALLBACK TDialog::DialogProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_INITDIALOG) {
        auto* const Self = reinterpret_cast<TDialog*>(LParam);
        Self->FHandle = Window;
        SetWindowLongPtrW(Window, DWLP_USER, LParam);
        return TRUE;
    }
    auto* const Self = reinterpret_cast<TDialog*>(GetWindowLongPtrW(Window, DWLP_USER));
    if (Self == nullptr)
        return FALSE;
    INT_PTR Result = FALSE;
    RunHandler([&] { Result = Self->HandleMessage(Message, WParam, LParam); });
    return Result;
}

INT_PTR TDialog::HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_COMMAND:
        OnCommand(LOWORD(WParam), HIWORD(WParam));
        return TRUE;
    case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(LParam)) ? TRUE : FALSE;
    case WM_CLOSE:
        OnCloseBox();
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        return PaintControl(Message, reinterpret_cast<HDC>(WParam), reinterpret_cast<HWND>(LParam));
    default:
        return FALSE;
    }
}

// Edit boxes keep the system's white unless given a colour; labels, check boxes and the face take
// the dialog's background when it has one. Disabled and read-only boxes ask as statics.
INT_PTR TDialog::PaintControl(UINT Message, HDC Dc, HWND Control) {
    std::optional<TColor> Colour = ControlColour(Control);
    if (!Colour && Message != WM_CTLCOLOREDIT)
        Colour = FBackground;
    if (!Colour)
        return FALSE;
    SetBkColor(Dc, ToColorRef(*Colour));
    return reinterpret_cast<INT_PTR>(Brush(*Colour));
}

HBRUSH TDialog::Brush(TColor Colour) {
    HBRUSH& Result = FBrushes[Colour];
    if (Result == nullptr)
        Result = CreateSolidBrush(ToColorRef(Colour));
    return Result;
}

TModalDialog::TModalDialog(int TemplateId, TPlacement Placement)
    : TDialog(TemplateId, ModalOwner()), FPlacement(Placement) {}

void TModalDialog::SetCaption(const std::string& Value) {
    SetWindowTextW(Handle(), ToWide(Value).c_str());
}

void TModalDialog::ShowModal() {
    const HWND Owner = GetWindow(Handle(), GW_OWNER);
    Place(Owner);
    if (Owner != nullptr)
        EnableWindow(Owner, FALSE);
    FEnded = false;
    const HWND Outer = InnermostModal;
    InnermostModal = Handle();
    ShowWindow(Handle(), SW_SHOW);
    RunHandler([this] { OnShow(); });
    MSG Msg;
    while (!FEnded) {
        const BOOL Got = GetMessageW(&Msg, nullptr, 0, 0);
        if (Got <= 0) {
            if (Got == 0)
                PostQuitMessage(static_cast<int>(Msg.wParam));
            break;
        }
        if (!IsDialogMessageW(Handle(), &Msg)) {
            TranslateMessage(&Msg);
            DispatchMessageW(&Msg);
        }
    }
    InnermostModal = Outer;
    // The owner comes back first, so that it is the one activated when the dialog goes.
    if (Owner != nullptr)
        EnableWindow(Owner, TRUE);
    ShowWindow(Handle(), SW_HIDE);
}

// A message sent from another thread or program (a WM_CLOSE from a task list) is handled inside
// GetMessageW, which then waits on for the next posted one: the loop must be woken to see the end.
void TModalDialog::EndModal() {
    FEnded = true;
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TModalDialog::Place(HWND Owner) {
    RECT Area = {};
    if (FPlacement == TPlacement::Owner && Owner != nullptr && IsWindowVisible(Owner) &&
        !IsIconic(Owner)) {
        GetWindowRect(Owner, &Area);
    } else {
        MONITORINFO Monitor = {};
        Monitor.cbSize = sizeof Monitor;
        GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &Monitor);
        Area = Monitor.rcWork;
    }
    RECT Own = {};
    GetWindowRect(Handle(), &Own);
    const int Width = Own.right - Own.left;
    const int Height = Own.bottom - Own.top;
    SetWindowPos(Handle(), nullptr, (Area.left + Area.right - Width) / 2,
                 (Area.top + Area.bottom - Height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
