#pragma once

#include "ipset/TreeView.h"

#include <QTreeWidget>

#include <functional>

class QContextMenuEvent;

// The tree widget of a page of the main window: read-only, one column without a header, and the
// context-menu request handed over whole, since the controller must know whether the mouse or the
// keyboard asked.
class TTreeWidget : public QTreeWidget {
public:
    explicit TTreeWidget(QWidget* Parent);
    std::function<void(QContextMenuEvent*)> OnContextMenu;

protected:
    void contextMenuEvent(QContextMenuEvent* Event) override;
};

// The tree the IP-set manager fills, over a widget the view owns; a node is its item's address.
class TQtTreeView : public TTreeView {
public:
    explicit TQtTreeView(TTreeWidget* Widget) : TTreeView(nullptr), FWidget(Widget) {}

    TTreeWidget* Widget() const { return FWidget; }
    static QTreeWidgetItem* ItemOf(HTreeNode Node) {
        return reinterpret_cast<QTreeWidgetItem*>(Node);
    }
    static HTreeNode NodeOf(QTreeWidgetItem* Item) { return reinterpret_cast<HTreeNode>(Item); }

    void Clear() override { FWidget->clear(); }
    HTreeNode AddChild(HTreeNode Parent, const std::string& Text) override;
    void SetImages(HTreeNode Node, int ImageIndex, int SelectedIndex) override;
    void SetData(HTreeNode Node, std::intptr_t Data) override;
    std::intptr_t Data(HTreeNode Node) const override;
    void SetBold(HTreeNode Node, bool Bold) override;
    void FullExpand() override { FWidget->expandAll(); }
    void Collapse(HTreeNode Node) override { ItemOf(Node)->setExpanded(false); }
    int Count() const override;
    HTreeNode Item(int Index) const override;
    int Level(HTreeNode Node) const override;
    HTreeNode Parent(HTreeNode Node) const override { return NodeOf(ItemOf(Node)->parent()); }
    std::string Text(HTreeNode Node) const override;
    HTreeNode Selected() const override;
    void SetSelected(HTreeNode Node) override;
    void BeginUpdate() override { FWidget->setUpdatesEnabled(false); }
    void EndUpdate() override { FWidget->setUpdatesEnabled(true); }

private:
    TTreeWidget* FWidget;
};
