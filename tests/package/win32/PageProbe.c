// Reads and presses the controls of a shown top-level window, for the setup's page test.
//   PageProbe TITLE          prints the text of each visible control, one a line (UTF-8)
//   PageProbe TITLE TEXT     clicks the visible control whose text is TEXT, or whose ID is N
//                            for #N (a message box's buttons are in the system's language)
// TITLE is the start of the window's caption (the setup adds to it on some pages). Exits 1 when
// there is no such window or control.
#include <windows.h>

#include <stdio.h>

static const wchar_t* Wanted;
static HWND Found;

static BOOL CALLBACK VisitTopLevel(HWND Window, LPARAM Title) {
    wchar_t Text[512];
    const wchar_t* Start = (const wchar_t*)Title;
    if (IsWindowVisible(Window) && GetWindowTextW(Window, Text, 512) > 0 &&
        wcsncmp(Text, Start, wcslen(Start)) == 0) {
        Found = Window;
        return FALSE;
    }
    return TRUE;
}

static BOOL CALLBACK Visit(HWND Control, LPARAM Unused) {
    (void)Unused;
    wchar_t Text[512];
    if (!IsWindowVisible(Control) || GetWindowTextW(Control, Text, 512) == 0)
        return TRUE;
    if (Wanted == NULL) {
        char Utf8[1024];
        WideCharToMultiByte(CP_UTF8, 0, Text, -1, Utf8, sizeof Utf8, NULL, NULL);
        printf("%s\n", Utf8);
    } else if (Wanted[0] == L'#' ? GetDlgCtrlID(Control) == _wtoi(Wanted + 1)
                                 : wcscmp(Text, Wanted) == 0) {
        Found = Control;
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 1;
    EnumWindows(VisitTopLevel, (LPARAM)argv[1]);
    const HWND Window = Found;
    if (Window == NULL)
        return 1;
    Found = NULL;
    Wanted = argc > 2 ? argv[2] : NULL;
    EnumChildWindows(Window, Visit, 0);
    if (Wanted == NULL)
        return 0;
    if (Found == NULL)
        return 1;
    SendMessageW(Found, BM_CLICK, 0, 0);
    return 0;
}
