// The smallest Win32 program that shows a window: the yardstick for the program's start.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
    if (Message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(Window, Message, WParam, LParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE Instance, HINSTANCE, PWSTR, int) {
    WNDCLASSEXW Class = {};
    Class.cbSize = sizeof Class;
    Class.lpfnWndProc = Proc;
    Class.hInstance = Instance;
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    Class.lpszClassName = L"BareWindow";
    RegisterClassExW(&Class);
    const HWND Window =
        CreateWindowExW(0, L"BareWindow", L"Bare", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                        CW_USEDEFAULT, 798, 548, nullptr, nullptr, Instance, nullptr);
    ShowWindow(Window, SW_SHOWNORMAL);
    UpdateWindow(Window);
    MSG Msg;
    while (GetMessageW(&Msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
    return 0;
}
