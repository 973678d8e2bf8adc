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
// During an update, top-level nodes are built whole with their children outside the widget and
// handed to it in one call at the end.
class TQtTreeView : public TTreeView {
public:
    explicit TQtTreeView(TTreeWidget* Widget) : TTreeView(nullptr), FWidget(Widget) {}
    ~TQtTreeView() override;
    TQtTreeView(const TQtTreeView&) = delete;
    TQtTreeView& operator=(const TQtTreeView&) = delete;

    TTreeWidget* Widget() const { return FWidget; }
    static QTreeWidgetItem* ItemOf(HTreeNode Node) {
        return reinterpret_cast<QTreeWidgetItem*>(Node);
    }
    static HTreeNode NodeOf(QTreeWidgetItem* Item) { return reinterpret_cast<HTreeNode>(Item); }

    void Clear() override;
    HTreeNode Add(HTreeNode Parent, const TTreeItem& Item) override;
    std::intptr_t Data(HTreeNode Node) const override;
    int Count() const override;
    HTreeNode Item(int Index) const override;
    int Level(HTreeNode Node) const override;
    HTreeNode Parent(HTreeNode Node) const override { return NodeOf(ItemOf(Node)->parent()); }
    std::string Text(HTreeNode Node) const override;
    HTreeNode Selected() const override;
    void SetSelected(HTreeNode Node) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    TTreeWidget* FWidget;
    int FUpdateDepth = 0;
    // Built during the update, not yet in the widget; and the nodes to open once they are.
    QList<QTreeWidgetItem*> FPending;
    QList<QTreeWidgetItem*> FToExpand;
};
