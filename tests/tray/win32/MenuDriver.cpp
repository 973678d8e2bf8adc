// Waits for a pop-up menu to open, then chooses its first item with the keyboard. Exit code: 0
// chosen, 1 no menu appeared, 2 the menu shows no pure red (the test's item picture). (Under Wine a
// menu's captions cannot be read from another process, so the test checks the choice by the item's
// handler running.)
#include <windows.h>

namespace {

// Read from the screen: the menu belongs to another process.
bool ShowsRed(HWND Menu) {
    RECT Area{};
    GetWindowRect(Menu, &Area);
    const HDC Screen = GetDC(nullptr);
    bool Found = false;
    for (LONG Y = Area.top; Y < Area.bottom && !Found; ++Y)
        for (LONG X = Area.left; X < Area.right && !Found; ++X)
            Found = GetPixel(Screen, X, Y) == RGB(255, 0, 0);
    ReleaseDC(nullptr, Screen);
    return Found;
}

} // namespace

int wmain() {
    HWND Menu = nullptr;
    for (int I = 0; I < 500 && Menu == nullptr; ++I) {
        Menu = FindWindowW(L"#32768", nullptr);
        if (Menu == nullptr || !IsWindowVisible(Menu)) {
            Menu = nullptr;
            Sleep(20);
        }
    }
    if (Menu == nullptr)
        return 1;
    Sleep(200); // drawn after it shows
    const bool Red = ShowsRed(Menu);
    PostMessageW(Menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(Menu, WM_KEYDOWN, VK_RETURN, 0);
    return Red ? 0 : 2;
}
