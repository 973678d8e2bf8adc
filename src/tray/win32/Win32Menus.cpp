#include "tray/win32/Win32Menus.h"

#include "base/win32/WideText.h"

#include <commctrl.h>

#include <map>
#include <string>

namespace {

// The items' pictures are drawn when the menu asks (HBMMENU_CALLBACK): the system would draw a
// bitmap of its own without the pictures' transparency. The menu asks its owner window, which
// hears the questions through this while the menu is open.
LRESULT CALLBACK DrawPictures(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam, UINT_PTR,
                              DWORD_PTR Data) {
    const auto Images = reinterpret_cast<HIMAGELIST>(Data);
    int Width = 0;
    int Height = 0;
    ImageList_GetIconSize(Images, &Width, &Height);
    if (Message == WM_MEASUREITEM) {
        auto& Item = *reinterpret_cast<MEASUREITEMSTRUCT*>(LParam);
        if (Item.CtlType == ODT_MENU) {
            Item.itemWidth = static_cast<UINT>(Width);
            Item.itemHeight = static_cast<UINT>(Height);
            return TRUE;
        }
    } else if (Message == WM_DRAWITEM) {
        const auto& Item = *reinterpret_cast<const DRAWITEMSTRUCT*>(LParam);
        if (Item.CtlType == ODT_MENU) {
            const RECT& Area = Item.rcItem;
            ImageList_Draw(Images, static_cast<int>(Item.itemData), Item.hDC, Area.left,
                           Area.top + (Area.bottom - Area.top - Height) / 2, ILD_TRANSPARENT);
            return TRUE;
        }
    }
    return DefSubclassProc(Window, Message, WParam, LParam);
}

void SetPicture(HMENU Menu, UINT Id, HIMAGELIST Images, int Index) {
    if (Images == nullptr || Index < 0 || Index >= ImageList_GetImageCount(Images))
        return;
    MENUITEMINFOW Info = {};
    Info.cbSize = sizeof Info;
    Info.fMask = MIIM_BITMAP | MIIM_DATA;
    Info.hbmpItem = HBMMENU_CALLBACK;
    Info.dwItemData = static_cast<ULONG_PTR>(Index);
    SetMenuItemInfoW(Menu, Id, FALSE, &Info);
}

void AppendItems(HMENU Menu, const TMenuItem& Parent, std::map<UINT, TMenuItem*>& Ids,
                 HIMAGELIST Images) {
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
            AppendItems(Sub, *Item, Ids, Images);
            AppendMenuW(Menu, MF_POPUP | State, reinterpret_cast<UINT_PTR>(Sub), Text.c_str());
        } else {
            const UINT Id = static_cast<UINT>(Ids.size()) + 1;
            Ids[Id] = Item;
            AppendMenuW(Menu, MF_STRING | State | (Item->Checked ? MF_CHECKED : MF_UNCHECKED), Id,
                        Text.c_str());
            SetPicture(Menu, Id, Images, Item->ImageIndex);
            if (Item->Default)
                SetMenuDefaultItem(Menu, Id, FALSE);
        }
    }
}

} // namespace

void TrackMenu(HWND Owner, TPopupMenu& Menu, POINT At) {
    std::map<UINT, TMenuItem*> Ids;
    const auto Images = reinterpret_cast<HIMAGELIST>(Menu.Images);
    HMENU H = CreatePopupMenu();
    AppendItems(H, Menu.Items(), Ids, Images);
    const bool Pictures =
        Images != nullptr && SetWindowSubclass(Owner, DrawPictures, 1, Menu.Images);
    const UINT Chosen = static_cast<UINT>(TrackPopupMenu(
        H, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, At.x, At.y, 0, Owner, nullptr));
    // Without it the menu of a background window fails to close on the next click.
    PostMessageW(Owner, WM_NULL, 0, 0);
    if (Pictures)
        RemoveWindowSubclass(Owner, DrawPictures, 1);
    DestroyMenu(H);
    auto It = Ids.find(Chosen);
    if (It != Ids.end())
        It->second->Click();
}
