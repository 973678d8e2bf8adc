// Waits for a pop-up menu to open, then chooses its first item with the keyboard. Exit code: 0
// chosen, 1 no menu appeared. (Under Wine a menu's captions cannot be read from another process,
// so the test checks the choice by the item's handler running.)
#include <windows.h>

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
    PostMessageW(Menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(Menu, WM_KEYDOWN, VK_RETURN, 0);
    return 0;
}
