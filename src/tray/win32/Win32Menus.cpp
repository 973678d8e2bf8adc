#include "tray/win32/Win32Menus.h"

#include "base/win32/WideText.h"

#include <map>
#include <string>

namespace {

void AppendItems(HMENU Menu, const TMenuItem& Parent, std::map<UINT, TMenuItem*>& Ids) {
    for (int I = 0; I < Parent.Count(); ++I) {
        TMenuItem* Item = Parent.Items(I);
        const UINT State = Item->Enabled ? MF_ENABLED : MF_GRAYED;
        std::wstring Text = ToWide(Item->Caption);
        if (!Item->ShortCut.empty())
            Text += L"\t" + ToWide(Item->ShortCut);
        if (Item->Caption == "-") {
            AppendMenuW(Menu, MF_SEPARATOR, 0, nullptr);
        } else if (Item->Count() > 0) {
            HMENU Sub = CreatePopupMenu();
            AppendItems(Sub, *Item, Ids);
            AppendMenuW(Menu, MF_POPUP | State, reinterpret_cast<UINT_PTR>(Sub), Text.c_str());
        } else {
            const UINT Id = static_cast<UINT>(Ids.size()) + 1;
            Ids[Id] = Item;
            AppendMenuW(Menu, MF_STRING | State, Id, Text.c_str());
            if (Item->Default)
                SetMenuDefaultItem(Menu, Id, FALSE);
        }
    }
}

} // namespace

void TrackMenu(HWND Owner, TPopupMenu& Menu, POINT At) {
    std::map<UINT, TMenuItem*> Ids;
    HMENU H = CreatePopupMenu();
    AppendItems(H, Menu.Items(), Ids);
    const UINT Chosen = static_cast<UINT>(TrackPopupMenu(
        H, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, At.x, At.y, 0, Owner, nullptr));
    // Without it the menu of a background window fails to close on the next click.
    PostMessageW(Owner, WM_NULL, 0, 0);
    DestroyMenu(H);
    auto It = Ids.find(Chosen);
    if (It != Ids.end())
        It->second->Click();
}
