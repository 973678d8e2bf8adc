#include "ipset/win32/Win32TreeView.h"

#include "base/Exception.h"
#include "base/win32/WideText.h"

namespace {

HTREEITEM ToItem(HTreeNode Node) {
    return reinterpret_cast<HTREEITEM>(Node);
}

// The control asks its parent for an image stored as -1 (I_IMAGECALLBACK); an index that names
// no picture draws nothing without that round trip.
int NativeImage(int Index) {
    return Index == -1 ? I_IMAGENONE : Index;
}

} // namespace

TWin32TreeView::TWin32TreeView(TComponent* AOwner, HWND Parent, const RECT& Bounds)
    : TTreeView(AOwner) {
    INITCOMMONCONTROLSEX Controls = {sizeof(Controls), ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&Controls);
    const DWORD Style =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
    FHandle = CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"", Style, Bounds.left, Bounds.top,
                              Bounds.right - Bounds.left, Bounds.bottom - Bounds.top, Parent,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    if (FHandle == nullptr)
        throw EOutOfResources("No se puede crear el arbol");
}

TWin32TreeView::~TWin32TreeView() {
    // The parent may have taken the control with it already.
    if (IsWindow(FHandle))
        DestroyWindow(FHandle);
}

void TWin32TreeView::SetImageList(HIMAGELIST Images) {
    SendMessageW(FHandle, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(Images));
}

void TWin32TreeView::Clear() {
    SendMessageW(FHandle, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    FOrderValid = false;
}

HTreeNode TWin32TreeView::Add(HTreeNode Parent, const TTreeItem& Item) {
    std::wstring Wide = ToWide(Item.Text);
    TVINSERTSTRUCTW Insert = {};
    Insert.hParent = Parent == 0 ? TVI_ROOT : ToItem(Parent);
    Insert.hInsertAfter = TVI_LAST;
    TVITEMW& Native = Insert.item;
    Native.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE;
    Native.pszText = &Wide[0];
    Native.iImage = NativeImage(Item.ImageIndex);
    Native.iSelectedImage = NativeImage(Item.SelectedIndex);
    Native.lParam = Item.Data;
    Native.stateMask = TVIS_BOLD | TVIS_EXPANDED;
    Native.state = (Item.Bold ? TVIS_BOLD : 0) | (Item.Expanded ? TVIS_EXPANDED : 0);
    const LRESULT Added =
        SendMessageW(FHandle, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&Insert));
    if (Added == 0)
        throw EOutOfResources("No se puede insertar un elemento");
    FOrderValid = false;
    return static_cast<HTreeNode>(Added);
}

std::intptr_t TWin32TreeView::Data(HTreeNode Node) const {
    TVITEMW Item = {};
    Item.mask = TVIF_HANDLE | TVIF_PARAM;
    Item.hItem = ToItem(Node);
    SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&Item));
    return Item.lParam;
}

int TWin32TreeView::Count() const {
    return static_cast<int>(Order().size());
}

HTreeNode TWin32TreeView::Item(int Index) const {
    return reinterpret_cast<HTreeNode>(Order().at(static_cast<std::size_t>(Index)));
}

int TWin32TreeView::Level(HTreeNode Node) const {
    int Result = 0;
    for (HTREEITEM P = Next(ToItem(Node), TVGN_PARENT); P != nullptr; P = Next(P, TVGN_PARENT))
        ++Result;
    return Result;
}

HTreeNode TWin32TreeView::Parent(HTreeNode Node) const {
    return reinterpret_cast<HTreeNode>(Next(ToItem(Node), TVGN_PARENT));
}

std::string TWin32TreeView::Text(HTreeNode Node) const {
    wchar_t Buffer[1024] = {};
    TVITEMW Item = {};
    Item.mask = TVIF_HANDLE | TVIF_TEXT;
    Item.hItem = ToItem(Node);
    Item.pszText = Buffer;
    Item.cchTextMax = 1024;
    SendMessageW(FHandle, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&Item));
    return FromWide(Item.pszText);
}

HTreeNode TWin32TreeView::Selected() const {
    return reinterpret_cast<HTreeNode>(Next(nullptr, TVGN_CARET));
}

void TWin32TreeView::SetSelected(HTreeNode Node) {
    SendMessageW(FHandle, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ToItem(Node)));
}

void TWin32TreeView::BeginUpdate() {
    if (FUpdateDepth++ == 0)
        SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
}

void TWin32TreeView::EndUpdate() {
    if (--FUpdateDepth == 0) {
        SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(FHandle, nullptr, TRUE);
    }
}

HTREEITEM TWin32TreeView::Next(HTREEITEM Item, UINT Relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(FHandle, TVM_GETNEXTITEM, Relation, reinterpret_cast<LPARAM>(Item)));
}

const std::vector<HTREEITEM>& TWin32TreeView::Order() const {
    if (FOrderValid)
        return FOrder;
    FOrder.clear();
    HTREEITEM Item = Next(nullptr, TVGN_ROOT);
    while (Item != nullptr) {
        FOrder.push_back(Item);
        HTREEITEM Following = Next(Item, TVGN_CHILD);
        while (Following == nullptr && Item != nullptr) {
            Following = Next(Item, TVGN_NEXT);
            if (Following == nullptr)
                Item = Next(Item, TVGN_PARENT);
        }
        Item = Following;
    }
    FOrderValid = true;
    return FOrder;
}
