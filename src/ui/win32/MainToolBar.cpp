#include "ui/win32/MainToolBar.h"

#include "base/Exception.h"
#include "ui/win32/MainCommands.h"

#include <cstring>

namespace {

struct TToolBarEntry {
    int Command; // 0: a separator
    int Picture;
    const wchar_t* Caption;
    const wchar_t* Hint;
};

const TToolBarEntry Buttons[] = {
    {0, 0, nullptr, nullptr},
    {CM_ACTIVATE, IDI_TB_ACTIVATE, L"Activar IP", L"Activar la configuracion IP seleccionada"},
    {0, 0, nullptr, nullptr},
    {CM_ADD, IDI_TB_ADD, L"Agregar IP", L"Agregar configuracion IP seleccionada"},
    {CM_EDIT, IDI_TB_EDIT, L"Editar IP", L"Editar la configuracion IP seleccionada"},
    {CM_DELETE, IDI_TB_DELETE, L"Eliminar IP", L"Eliminar la configuracion IP seleccionada"},
    {0, 0, nullptr, nullptr},
    {CM_REFRESH, IDI_TB_REFRESH, L"Refrescar", L"Refrescar lista de configuraciones/conexiones"},
    {0, 0, nullptr, nullptr},
    {CM_WIZARD, IDI_TB_WIZARD, L"Wizard",
     L"Iniciar Wizard\r\n(Iniciar tutor para agregar configuracion de red)"},
    {CM_OPTIONS, IDI_TB_OPTIONS, L"Opciones", L"Opciones del sistema"},
    {0, 0, nullptr, nullptr},
    {CM_HELP, IDI_TB_HELP, L"Ayuda", L"Ayuda del sistema"},
    {CM_ABOUT, IDI_TB_ABOUT, L"Acerca", L"Acerca de Quelvano"},
};

int Scale(int Value, UINT Dpi) {
    return MulDiv(Value, static_cast<int>(Dpi), 96);
}

const int PictureCount = 9;

// The 32-bit image of exactly Size pixels among the pictures of an icon resource; null when the
// icon has none.
const BITMAPINFOHEADER* IconImage(int Picture, int Size) {
    const HMODULE Module = GetModuleHandleW(nullptr);
    const HRSRC Group = FindResourceW(Module, MAKEINTRESOURCEW(Picture), RT_GROUP_ICON);
    auto* const Directory =
        Group ? static_cast<BYTE*>(LockResource(LoadResource(Module, Group))) : nullptr;
    const int Id =
        Directory ? LookupIconIdFromDirectoryEx(Directory, TRUE, Size, Size, LR_DEFAULTCOLOR) : 0;
    const HRSRC Image = Id ? FindResourceW(Module, MAKEINTRESOURCEW(Id), RT_ICON) : nullptr;
    const auto* Header =
        Image ? static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Module, Image)))
              : nullptr;
    const bool Fits = Header && Header->biSize == sizeof(BITMAPINFOHEADER) &&
                      Header->biWidth == Size && Header->biHeight == 2 * Size &&
                      Header->biBitCount == 32 && Header->biCompression == BI_RGB;
    return Fits ? Header : nullptr;
}

// All the buttons' pictures side by side in one bitmap, copied from the icons' own images: no
// icon is made, so the list costs one bitmap rather than a round of icon handles per picture.
// Null when an icon has no image of that size, which the icons' own scaling then serves.
HBITMAP PictureStrip(int Size) {
    BITMAPINFO Info = {};
    BITMAPINFOHEADER& Format = Info.bmiHeader;
    Format.biSize = sizeof Format;
    Format.biWidth = Size * PictureCount;
    Format.biHeight = Size;
    Format.biPlanes = 1;
    Format.biBitCount = 32;
    Format.biCompression = BI_RGB;
    void* Bits = nullptr;
    const HBITMAP Strip = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    if (Strip == nullptr)
        return nullptr;
    int Index = 0;
    for (const TToolBarEntry& B : Buttons) {
        if (B.Command == 0)
            continue;
        const BITMAPINFOHEADER* Header = IconImage(B.Picture, Size);
        if (Header == nullptr) {
            DeleteObject(Strip);
            return nullptr;
        }
        // Both bottom-up; the icon's colour rows come first, its mask after them.
        const auto* From = reinterpret_cast<const DWORD*>(Header + 1);
        auto* To = static_cast<DWORD*>(Bits) + Index++ * Size;
        for (int Row = 0; Row < Size; ++Row)
            std::memcpy(To + Row * Size * PictureCount, From + Row * Size, Size * sizeof(DWORD));
    }
    return Strip;
}

// The pictures one icon at a time, scaled by the system from the nearest size.
void AddIcons(HIMAGELIST Images, int Size) {
    for (const TToolBarEntry& B : Buttons) {
        if (B.Command == 0)
            continue;
        const HICON Icon =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(B.Picture),
                                          IMAGE_ICON, Size, Size, LR_DEFAULTCOLOR));
        ImageList_AddIcon(Images, Icon);
        if (Icon != nullptr)
            DestroyIcon(Icon);
    }
}

} // namespace

TMainToolBar::TMainToolBar(HWND Parent, UINT Dpi) {
    const DWORD Style = WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP |
                        CCS_NODIVIDER | TBSTYLE_WRAPABLE;
    FHandle = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", Style, 0, 0, 0, 0, Parent, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (FHandle == nullptr)
        throw EOutOfResources("No se puede crear la barra de herramientas");
    SendMessageW(FHandle, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    int Image = 0;
    for (const TToolBarEntry& B : Buttons) {
        TBBUTTON Button = {};
        if (B.Command == 0) {
            Button.fsStyle = BTNS_SEP;
        } else {
            Button.iBitmap = Image++;
            Button.idCommand = B.Command;
            Button.fsState = TBSTATE_ENABLED;
            Button.fsStyle = BTNS_BUTTON;
            Button.iString = reinterpret_cast<INT_PTR>(B.Caption);
        }
        SendMessageW(FHandle, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&Button));
    }
    // Lets the wizard's hint break at its CR LF.
    const HWND Tips = reinterpret_cast<HWND>(SendMessageW(FHandle, TB_GETTOOLTIPS, 0, 0));
    if (Tips != nullptr)
        SendMessageW(Tips, TTM_SETMAXTIPWIDTH, 0, 600);
    SetDpi(Dpi);
}

TMainToolBar::~TMainToolBar() {
    if (IsWindow(FHandle))
        DestroyWindow(FHandle);
    if (FImages != nullptr)
        ImageList_Destroy(FImages);
}

void TMainToolBar::SetDpi(UINT Dpi) {
    const int Size = Scale(24, Dpi);
    const HIMAGELIST Images = ImageList_Create(Size, Size, ILC_COLOR32 | ILC_MASK, PictureCount, 0);
    if (const HBITMAP Strip = PictureStrip(Size)) {
        ImageList_Add(Images, Strip, nullptr);
        DeleteObject(Strip);
    } else {
        AddIcons(Images, Size);
    }
    SendMessageW(FHandle, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(Images));
    if (FImages != nullptr)
        ImageList_Destroy(FImages);
    FImages = Images;
    // At least the form's 57 pixels; wider where a caption needs it, so none is cut.
    SendMessageW(FHandle, TB_SETBUTTONWIDTH, 0, MAKELPARAM(Scale(57, Dpi), Scale(120, Dpi)));
    SendMessageW(FHandle, TB_AUTOSIZE, 0, 0);
}

const wchar_t* TMainToolBar::Hint(UINT_PTR Command) {
    for (const TToolBarEntry& B : Buttons)
        if (B.Command != 0 && static_cast<UINT_PTR>(B.Command) == Command)
            return B.Hint;
    return nullptr;
}

bool TToolButtonControl::Enabled() const {
    return SendMessageW(FBar, TB_ISBUTTONENABLED, static_cast<WPARAM>(FCommand), 0) != 0;
}

void TToolButtonControl::SetEnabled(bool Value) {
    SendMessageW(FBar, TB_ENABLEBUTTON, static_cast<WPARAM>(FCommand), MAKELPARAM(Value, 0));
}
