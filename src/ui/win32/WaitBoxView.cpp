#include "ui/win32/WaitBoxView.h"

#include "base/win32/WideText.h"
#include "ui/f_WaitBox.h"

#include <windows.h>

#include <commctrl.h>

namespace {

const wchar_t* const ClassName = L"TFrmWaitBox";
const int ClientWidth = 307;
const int ClientHeight = 110;
const COLORREF LabelColour = RGB(62, 62, 62);
const DWORD Style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
const DWORD ExStyle = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;

class TWin32WaitBoxView : public TWaitBoxView {
public:
    TWin32WaitBoxView() {
        RECT Frame = {0, 0, ClientWidth, ClientHeight};
        AdjustWindowRectEx(&Frame, Style, FALSE, ExStyle);
        const int Width = Frame.right - Frame.left;
        const int Height = Frame.bottom - Frame.top;
        const int Left = (GetSystemMetrics(SM_CXSCREEN) - Width) / 2;
        const int Top = (GetSystemMetrics(SM_CYSCREEN) - Height) / 2;
        FWindow = CreateWindowExW(ExStyle, ClassName, ToWide(TFrmWaitBox::Caption).c_str(), Style,
                                  Left, Top, Width, Height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        if (FWindow == nullptr)
            return;
        const HFONT Font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        FLabel = CreateWindowExW(0, L"STATIC", ToWide(TFrmWaitBox::Text).c_str(),
                                 WS_CHILD | WS_VISIBLE | SS_LEFT, 12, 8, ClientWidth - 24, 70,
                                 FWindow, nullptr, nullptr, nullptr);
        SendMessageW(FLabel, WM_SETFONT, reinterpret_cast<WPARAM>(Font), FALSE);
        FBar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE | PBS_SMOOTH, 12, 84,
                               ClientWidth - 24, 16, FWindow, nullptr, nullptr, nullptr);
        SendMessageW(FBar, PBM_SETRANGE32, 0, 100);
        SendMessageW(FBar, PBM_SETPOS, 0, 0);
    }

    ~TWin32WaitBoxView() override {
        if (FWindow != nullptr)
            DestroyWindow(FWindow);
    }

    TWin32WaitBoxView(const TWin32WaitBoxView&) = delete;
    TWin32WaitBoxView& operator=(const TWin32WaitBoxView&) = delete;

    void Show() override {
        // The apply blocks the thread right after this, so paint now rather than later.
        ShowWindow(FWindow, SW_SHOW);
        UpdateWindow(FWindow);
    }

    void SetProgress(int Position) override {
        SendMessageW(FBar, PBM_SETPOS, static_cast<WPARAM>(Position), 0);
        UpdateWindow(FBar);
    }

private:
    HWND FWindow = nullptr;
    HWND FLabel = nullptr;
    HWND FBar = nullptr;
};

LRESULT CALLBACK WaitBoxProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    switch (Message) {
    case WM_CTLCOLORSTATIC:
        SetTextColor(reinterpret_cast<HDC>(WParam), LabelColour);
        SetBkColor(reinterpret_cast<HDC>(WParam), RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_CLOSE:
        return 0; // only HideWaitBox removes the box
    default:
        return DefWindowProcW(Window, Message, WParam, LParam);
    }
}

} // namespace

void RegisterWin32WaitBox() {
    INITCOMMONCONTROLSEX Controls = {sizeof(Controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&Controls);
    WNDCLASSEXW Class = {};
    Class.cbSize = sizeof(Class);
    Class.lpfnWndProc = WaitBoxProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    Class.lpszClassName = ClassName;
    RegisterClassExW(&Class);
    WaitBoxViewFactory = [] { return std::make_unique<TWin32WaitBoxView>(); };
}
