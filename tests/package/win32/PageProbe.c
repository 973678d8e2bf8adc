// Reads and presses the controls of a shown top-level window, for the setup's page test.
//   PageProbe TITLE          prints the text of each visible control, one a line (UTF-8)
//   PageProbe TITLE TEXT     clicks the visible control whose text is TEXT
// Exits 1 when there is no such window or control.
#include <windows.h>

#include <stdio.h>

static const wchar_t* Wanted;
static HWND Found;

static BOOL CALLBACK Visit(HWND Control, LPARAM Unused) {
    (void)Unused;
    wchar_t Text[512];
    if (!IsWindowVisible(Control) || GetWindowTextW(Control, Text, 512) == 0)
        return TRUE;
    if (Wanted == NULL) {
        char Utf8[1024];
        WideCharToMultiByte(CP_UTF8, 0, Text, -1, Utf8, sizeof Utf8, NULL, NULL);
        printf("%s\n", Utf8);
    } else if (wcscmp(Text, Wanted) == 0) {
        Found = Control;
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    HWND Window = argc > 1 ? FindWindowW(NULL, argv[1]) : NULL;
    if (Window == NULL || !IsWindowVisible(Window))
        return 1;
    Wanted = argc > 2 ? argv[2] : NULL;
    EnumChildWindows(Window, Visit, 0);
    if (Wanted == NULL)
        return 0;
    if (Found == NULL)
        return 1;
    SendMessageW(Found, BM_CLICK, 0, 0);
    return 0;
}
