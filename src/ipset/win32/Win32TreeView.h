#pragma once

#include "ipset/TreeView.h"

#include <windows.h>

#include <commctrl.h>

#include <vector>

// TTreeView on a common-controls tree view, made as a child of Parent: read-only, no lines, with
// buttons, the selection kept visible without focus. The control goes with this object.
class TWin32TreeView : public TTreeView {
public:
    TWin32TreeView(TComponent* AOwner, HWND Parent, const RECT& Bounds);
    ~TWin32TreeView() override;
    TWin32TreeView(const TWin32TreeView&) = delete;
    TWin32TreeView& operator=(const TWin32TreeView&) = delete;

    HWND Handle() const { return FHandle; }
    // The list stays the caller's; it must outlive the control's use of it.
    void SetImageList(HIMAGELIST Images);

    void Clear() override;
    // One insert carries the node's text, pictures, data and state.
    HTreeNode Add(HTreeNode Parent, const TTreeItem& Item) override;
    std::intptr_t Data(HTreeNode Node) const override;
    int Count() const override;
    HTreeNode Item(int Index) const override;
    int Level(HTreeNode Node) const override;
    HTreeNode Parent(HTreeNode Node) const override;
    std::string Text(HTreeNode Node) const override;
    HTreeNode Selected() const override;
    void SetSelected(HTreeNode Node) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    HTREEITEM Next(HTREEITEM Item, UINT Relation) const;
    const std::vector<HTREEITEM>& Order() const;

    HWND FHandle = nullptr;
    int FUpdateDepth = 0;
    // The nodes in tree order, read from the control once after each change, so that walking
    // by index costs one pass rather than one pass per node.
    mutable std::vector<HTREEITEM> FOrder;
    mutable bool FOrderValid = false;
};
