#include "ipset/win32/Imagenes16x16.h"

#include "base/Exception.h"

namespace {

const int Size = 16;
const int PictureCount = IPSetInForcePicture + 1;
// Never used in a picture, so it can stand for "transparent".
const COLORREF Transparent = RGB(255, 0, 255);

void Fill(HDC Dc, int Left, int Top, int Right, int Bottom, COLORREF Colour) {
    const RECT Area = {Left, Top, Right, Bottom};
    const HBRUSH Brush = CreateSolidBrush(Colour);
    FillRect(Dc, &Area, Brush);
    DeleteObject(Brush);
}

void Line(HDC Dc, const POINT* Points, int Count, int Width, COLORREF Colour) {
    const HPEN Pen = CreatePen(PS_SOLID, Width, Colour);
    const HGDIOBJ Old = SelectObject(Dc, Pen);
    Polyline(Dc, Points, Count);
    SelectObject(Dc, Old);
    DeleteObject(Pen);
}

// A network card: a green board with chips, gold contacts along its edge and a metal bracket.
void DrawAdapter(HDC Dc) {
    Fill(Dc, 0, 1, 2, 15, RGB(150, 150, 160));
    Fill(Dc, 2, 3, 16, 12, RGB(0, 90, 45));
    Fill(Dc, 3, 4, 15, 11, RGB(20, 140, 70));
    Fill(Dc, 5, 5, 10, 9, RGB(30, 30, 30));
    Fill(Dc, 11, 5, 14, 7, RGB(30, 30, 30));
    for (int X = 4; X < 15; X += 2)
        Fill(Dc, X, 12, X + 1, 14, RGB(230, 180, 40));
    Fill(Dc, 0, 6, 3, 10, RGB(60, 60, 70));
}

// A screen whose connection is set: a monitor on its stand; the chosen one lights up and shows
// a tick; the one in force on its adapter is green.
void DrawIPSet(HDC Dc, bool Selected, bool InForce) {
    Fill(Dc, 1, 1, 15, 12, RGB(60, 60, 70));
    Fill(Dc, 2, 2, 14, 11,
         InForce    ? RGB(40, 170, 80)
         : Selected ? RGB(110, 190, 255)
                    : RGB(30, 80, 190));
    Fill(Dc, 3, 3, 9, 4, RGB(255, 255, 255));
    Fill(Dc, 3, 5, 7, 6, RGB(200, 220, 255));
    Fill(Dc, 7, 12, 9, 14, RGB(60, 60, 70));
    Fill(Dc, 4, 14, 12, 15, RGB(60, 60, 70));
    if (Selected) {
        const POINT Tick[] = {{6, 8}, {8, 10}, {13, 5}};
        Line(Dc, Tick, 3, 2, RGB(0, 150, 40));
    }
}

void DrawPicture(HDC Dc, int Index) {
    Fill(Dc, 0, 0, Size, Size, Transparent);
    if (Index == AdapterPicture)
        DrawAdapter(Dc);
    else if (Index == IPSetPicture || Index == IPSetSelectedPicture || Index == IPSetInForcePicture)
        DrawIPSet(Dc, Index == IPSetSelectedPicture, Index == IPSetInForcePicture);
}

// All pictures side by side in one bitmap, added to the list at once: one pass through GDI
// instead of one per picture, which shows at start-up.
void AddPictures(HIMAGELIST List, HDC Dc) {
    const HBITMAP Strip = CreateCompatibleBitmap(Dc, Size * PictureCount, Size);
    const HDC Memory = CreateCompatibleDC(Dc);
    const HGDIOBJ Old = SelectObject(Memory, Strip);
    for (int I = 0; I < PictureCount; ++I) {
        SetViewportOrgEx(Memory, I * Size, 0, nullptr);
        DrawPicture(Memory, I);
    }
    SelectObject(Memory, Old);
    DeleteDC(Memory);
    const int Added = ImageList_AddMasked(List, Strip, Transparent);
    DeleteObject(Strip);
    if (Added != 0 || ImageList_GetImageCount(List) != PictureCount)
        throw EOutOfResources("No se puede crear la lista de imagenes");
}

} // namespace

HIMAGELIST CreateImagenes16x16() {
    const HIMAGELIST List = ImageList_Create(Size, Size, ILC_COLOR24 | ILC_MASK, PictureCount, 0);
    if (List == nullptr)
        throw EOutOfResources("No se puede crear la lista de imagenes");
    const HDC Screen = GetDC(nullptr);
    try {
        AddPictures(List, Screen);
    } catch (...) {
        ReleaseDC(nullptr, Screen);
        ImageList_Destroy(List);
        throw;
    }
    ReleaseDC(nullptr, Screen);
    return List;
}
