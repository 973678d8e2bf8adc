// Prints the time of one IP-set tree fill of 1,000 and of 10,000 sets into the real tree control,
// shown in a window, as the median of a few runs: the same fills as ipset_tree_1000_ms and
// ipset_tree_10000_ms, so the difference is the control's own cost, and the ratio of the two
// shows whether it grows linearly. Each run ends with the repaint the fill asks for. Each fill
// but the first empties the control of the one before; _clear_ms is that emptying alone, and
// _empty_ms one fill into the emptied control, as at the program's start.
#include "bench/TreeFill.h"
#include "ipset/win32/Imagenes16x16.h"
#include "ipset/win32/Win32TreeView.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>

namespace {

HWND CreateHost() {
    WNDCLASSEXW Class = {};
    Class.cbSize = sizeof(Class);
    Class.lpfnWndProc = DefWindowProcW;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    Class.lpszClassName = L"QuelvanoTreeFigure";
    RegisterClassExW(&Class);
    return CreateWindowExW(0, L"QuelvanoTreeFigure", L"Quelvano", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                           0, 0, 400, 540, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void Repaint(TTreeView& Tree) {
    UpdateWindow(static_cast<TWin32TreeView&>(Tree).Handle());
}

double Now() {
    LARGE_INTEGER Count, Frequency;
    QueryPerformanceCounter(&Count);
    QueryPerformanceFrequency(&Frequency);
    return 1000.0 * double(Count.QuadPart) / double(Frequency.QuadPart);
}

// The median fill of Sets sets, then the parts of it described above.
void PrintFigures(TTreeView& Tree, int Sets, int Runs) {
    const std::string Name = "ipset_tree_win32_" + std::to_string(Sets);
    std::printf("%s_ms: %.1f ms\n", Name.c_str(),
                MedianTreeFillMilliseconds(Tree, Sets, Runs, Repaint));
    const double Start = Now();
    Tree.BeginUpdate();
    Tree.Clear();
    Tree.EndUpdate();
    Repaint(Tree);
    std::printf("%s_clear_ms: %.1f ms\n", Name.c_str(), Now() - Start);
    std::printf("%s_empty_ms: %.1f ms\n", Name.c_str(),
                MedianTreeFillMilliseconds(Tree, Sets, 1, Repaint));
}

} // namespace

int main() {
    const HWND Host = CreateHost();
    const HIMAGELIST Images = CreateImagenes16x16();
    if (Host == nullptr || Images == nullptr) {
        std::fprintf(stderr, "figure_trees_win32: no window\n");
        return 1;
    }
    {
        TWin32TreeView Tree(nullptr, Host, {8, 8, 380, 500});
        Tree.SetImageList(Images);
        PrintFigures(Tree, 1000, 5);
        PrintFigures(Tree, 10000, 3);
    }
    DestroyWindow(Host);
    ImageList_Destroy(Images);
    return 0;
}
