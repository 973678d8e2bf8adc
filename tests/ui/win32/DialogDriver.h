#pragma once

// Drives a dialog of this process from a second thread, as a person would: finds fields by their
// labels, types into them, presses buttons and answers message boxes. The dialog's own thread is
// meanwhile inside its modal loop.
#include "base/win32/WideText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace driver {

// Polls until Done holds; false after ten seconds.
template <class Condition> bool WaitFor(Condition Done) {
    for (int Waited = 0; Waited < 10000; Waited += 10) {
        if (Done())
            return true;
        Sleep(10);
    }
    return Done();
}

inline std::string Text(HWND Window) {
    wchar_t Buffer[2048] = {};
    SendMessageW(Window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(Buffer));
    return FromWide(Buffer);
}

inline std::wstring ClassOf(HWND Window) {
    wchar_t Name[64] = {};
    GetClassNameW(Window, Name, 64);
    return Name;
}

// The visible dialog or message box with this caption; none when there is none.
inline HWND VisibleDialog(const std::string& Caption) {
    const std::wstring Wide = ToWide(Caption);
    HWND Found = nullptr;
    while ((Found = FindWindowExW(nullptr, Found, L"#32770", Wide.c_str())) != nullptr)
        if (IsWindowVisible(Found))
            return Found;
    return nullptr;
}

// The visible dialog or message box with this caption, once it is up.
inline HWND WaitForDialog(const std::string& Caption) {
    HWND Found = nullptr;
    WaitFor([&] { return (Found = VisibleDialog(Caption)) != nullptr; });
    return Found;
}

inline bool WaitUntilHidden(HWND Window) {
    return WaitFor([&] { return !IsWindow(Window) || !IsWindowVisible(Window); });
}

// The control that follows the label with this text, which is how screen readers find it too.
inline HWND Field(HWND Dialog, const std::string& Label) {
    for (HWND C = GetWindow(Dialog, GW_CHILD); C; C = GetWindow(C, GW_HWNDNEXT))
        if (ClassOf(C) == L"Static" && Text(C) == Label)
            return GetWindow(C, GW_HWNDNEXT);
    ADD_FAILURE() << "no label " << Label;
    return nullptr;
}

// A button, check box or radio button by its caption.
inline HWND Button(HWND Dialog, const std::string& Caption) {
    const HWND Found = FindWindowExW(Dialog, nullptr, L"Button", ToWide(Caption).c_str());
    if (Found == nullptr)
        ADD_FAILURE() << "no button " << Caption;
    return Found;
}

// Replaces the box's text by typing, one character at a time.
inline void Type(HWND Box, const std::string& Typed) {
    SendMessageW(Box, EM_SETSEL, 0, -1);
    SendMessageW(Box, WM_CHAR, VK_BACK, 0);
    for (const wchar_t C : ToWide(Typed))
        SendMessageW(Box, WM_CHAR, C, 0);
}

inline void Key(HWND Control, WPARAM VirtualKey) {
    SendMessageW(Control, WM_KEYDOWN, VirtualKey, 0);
}

// Posted, since a press may open a message box that waits for us.
inline void Press(HWND Button) {
    PostMessageW(Button, BM_CLICK, 0, 0);
}

inline HWND Focused(HWND Dialog) {
    GUITHREADINFO Info = {};
    Info.cbSize = sizeof Info;
    GetGUIThreadInfo(GetWindowThreadProcessId(Dialog, nullptr), &Info);
    return Info.hwndFocus;
}

inline bool WaitForFocus(HWND Dialog, HWND Control) {
    return WaitFor([&] { return Focused(Dialog) == Control; });
}

// Waits for the message box with this caption, returns its text and presses its button Id.
inline std::string Answer(const std::string& Caption, int Id = IDOK) {
    const HWND Box = WaitForDialog(Caption);
    if (Box == nullptr) {
        ADD_FAILURE() << "no message box " << Caption;
        return "";
    }
    const std::string Shown = Text(GetDlgItem(Box, 0xFFFF));
    Press(GetDlgItem(Box, Id));
    WaitUntilHidden(Box);
    return Shown;
}

// The background a control is painted with, as its dialog answers WM_CTLCOLOR*.
inline COLORREF PaintedBackground(HWND Control) {
    const HDC Dc = CreateCompatibleDC(nullptr);
    const UINT Message = IsWindowEnabled(Control) ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC;
    SendMessageW(GetParent(Control), Message, reinterpret_cast<WPARAM>(Dc),
                 reinterpret_cast<LPARAM>(Control));
    const COLORREF Colour = GetBkColor(Dc);
    DeleteDC(Dc);
    return Colour;
}

// What Tab walks through, in order: each field named by its label, each button by its caption.
inline std::vector<std::string> TabOrder(HWND Dialog) {
    std::vector<std::string> Names;
    const HWND First = GetNextDlgTabItem(Dialog, nullptr, FALSE);
    HWND C = First;
    do {
        const std::wstring Class = ClassOf(C);
        const HWND Before = GetWindow(C, GW_HWNDPREV);
        const bool Labelled = Class != L"Button" && Class != L"SysLink" && Before != nullptr &&
                              ClassOf(Before) == L"Static";
        Names.push_back(Text(Labelled ? Before : C));
        C = GetNextDlgTabItem(Dialog, C, FALSE);
    } while (C != nullptr && C != First && Names.size() < 50);
    return Names;
}

inline SIZE ClientSize(HWND Window) {
    RECT R = {};
    GetClientRect(Window, &R);
    return {R.right - R.left, R.bottom - R.top};
}

// Shows Form modally on this thread while User drives it from another; the modal result. A User
// that gives up with the dialog still open has it closed, so that a failing test never hangs.
template <class F>
int RunWithUser(F& Form, const std::string& Caption, std::function<void()> User) {
    std::thread Person([&] {
        User();
        if (!WaitFor([&] { return VisibleDialog(Caption) == nullptr; })) {
            ADD_FAILURE() << Caption << " is still open";
            PostMessageW(VisibleDialog(Caption), WM_CLOSE, 0, 0);
        }
    });
    const int Result = Form.ShowModal();
    Person.join();
    return Result;
}

} // namespace driver
