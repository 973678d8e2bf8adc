#include "ui/win32/DlgControls.h"

#include "base/win32/WideText.h"
#include "shell/GlobalUnit.h"

#include <commctrl.h>

namespace {

const UINT_PTR SubclassId = 1;
const int AddressLength = 15;
const int NameLength = 128;

std::wstring WindowText(HWND Window) {
    std::wstring Text(static_cast<std::size_t>(GetWindowTextLengthW(Window)) + 1, L'\0');
    Text.resize(static_cast<std::size_t>(GetWindowTextW(Window, Text.data(), int(Text.size()))));
    return Text;
}

void UpperCaseLetters(std::wstring& Text) {
    for (wchar_t& C : Text)
        if (C >= L'a' && C <= L'z')
            C = static_cast<wchar_t>(C - L'a' + L'A');
}

std::wstring ClipboardText(HWND Owner) {
    std::wstring Text;
    if (!OpenClipboard(Owner))
        return Text;
    if (const HANDLE Data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* Chars = static_cast<const wchar_t*>(GlobalLock(Data))) {
            Text = Chars;
            GlobalUnlock(Data);
        }
    }
    CloseClipboard();
    return Text;
}

LRESULT CALLBACK AddressBoxProc(HWND Box, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                DWORD_PTR) {
    switch (Message) {
    case WM_CHAR: {
        const auto Passed = AddressKeyFilter(FromWide(WindowText(Box)), char32_t(WParam));
        if (!Passed)
            return 0;
        return DefSubclassProc(Box, Message, *Passed, LParam);
    }
    // The key filter is the only way in, and right-clicking offers nothing.
    case WM_PASTE:
    case WM_CONTEXTMENU:
        return 0;
    case WM_NCDESTROY:
        RemoveWindowSubclass(Box, AddressBoxProc, SubclassId);
        break;
    }
    return DefSubclassProc(Box, Message, WParam, LParam);
}

// Typed, pasted or set, the text goes in through one of these messages.
LRESULT CALLBACK NameBoxProc(HWND Box, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR,
                             DWORD_PTR) {
    switch (Message) {
    case WM_CHAR:
        if (WParam >= 'a' && WParam <= 'z')
            WParam = WParam - 'a' + 'A';
        break;
    case WM_SETTEXT:
    case EM_REPLACESEL: {
        if (LParam == 0)
            break;
        std::wstring Text = reinterpret_cast<const wchar_t*>(LParam);
        UpperCaseLetters(Text);
        return DefSubclassProc(Box, Message, WParam, reinterpret_cast<LPARAM>(Text.c_str()));
    }
    case WM_PASTE: {
        const std::wstring Text = ClipboardText(Box);
        if (!Text.empty())
            SendMessageW(Box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(Text.c_str()));
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(Box, NameBoxProc, SubclassId);
        break;
    }
    return DefSubclassProc(Box, Message, WParam, LParam);
}

LRESULT CALLBACK LookupListProc(HWND List, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR,
                                DWORD_PTR) {
    if (Message == WM_KEYDOWN && WParam == VK_DELETE) {
        SendMessageW(List, CB_SETCURSEL, WPARAM(-1), 0);
        const int Id = GetDlgCtrlID(List);
        SendMessageW(GetParent(List), WM_COMMAND, MAKEWPARAM(Id, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(List));
        return 0;
    }
    if (Message == WM_NCDESTROY)
        RemoveWindowSubclass(List, LookupListProc, SubclassId);
    return DefSubclassProc(List, Message, WParam, LParam);
}

} // namespace

TDlgEdit::TDlgEdit(const TDialog& Dialog, int Id, TEditKind Kind) : TDlgControl(Dialog, Id) {
    if (Kind == TEditKind::Address) {
        SendMessageW(Handle(), EM_LIMITTEXT, AddressLength, 0);
        SetWindowSubclass(Handle(), AddressBoxProc, SubclassId, 0);
    } else if (Kind == TEditKind::Name) {
        SendMessageW(Handle(), EM_LIMITTEXT, NameLength, 0);
        SetWindowSubclass(Handle(), NameBoxProc, SubclassId, 0);
    }
}

std::string TDlgEdit::Text() const {
    return FromWide(WindowText(Handle()));
}

void TDlgEdit::SetText(const std::string& Value) {
    SetWindowTextW(Handle(), ToWide(Value).c_str());
}

bool TDlgCheck::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TDlgCheck::SetChecked(bool Value) {
    SendMessageW(Handle(), BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TDlgButton::SetCaption(const std::string& Value) {
    SetWindowTextW(Handle(), ToWide(Value).c_str());
}

void TDlgListBox::SetItems(const std::vector<std::string>& Texts) {
    SendMessageW(Handle(), LB_RESETCONTENT, 0, 0);
    for (const std::string& Text : Texts)
        SendMessageW(Handle(), LB_INSERTSTRING, WPARAM(-1),
                     reinterpret_cast<LPARAM>(ToWide(Text).c_str()));
}

int TDlgListBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(Handle(), LB_GETCURSEL, 0, 0));
}

void TDlgListBox::SetItemIndex(int Value) {
    SendMessageW(Handle(), LB_SETCURSEL, WPARAM(Value), 0);
}

TDlgCombo::TDlgCombo(const TDialog& Dialog, int Id) : TDlgControl(Dialog, Id) {
    SetWindowSubclass(Handle(), LookupListProc, SubclassId, 0);
}

void TDlgCombo::SetItems(const std::vector<std::string>& Texts) {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
    for (const std::string& Text : Texts)
        SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(ToWide(Text).c_str()));
}

int TDlgCombo::Count() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

int TDlgCombo::ItemData(int Index) const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETITEMDATA, WPARAM(Index), 0));
}

void TDlgCombo::SetItemData(int Index, int Value) {
    SendMessageW(Handle(), CB_SETITEMDATA, WPARAM(Index), LPARAM(Value));
}

int TDlgCombo::ItemIndex() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TDlgCombo::SetItemIndex(int Value) {
    SendMessageW(Handle(), CB_SETCURSEL, WPARAM(Value), 0);
}

std::string TDlgCombo::Text() const {
    const int Index = ItemIndex();
    if (Index < 0)
        return "";
    const auto Length = SendMessageW(Handle(), CB_GETLBTEXTLEN, WPARAM(Index), 0);
    std::wstring Text(static_cast<std::size_t>(Length) + 1, L'\0');
    SendMessageW(Handle(), CB_GETLBTEXT, WPARAM(Index), reinterpret_cast<LPARAM>(Text.data()));
    Text.resize(static_cast<std::size_t>(Length));
    return FromWide(Text);
}
