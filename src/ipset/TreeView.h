#pragma once

#include "base/TComponent.h"

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

// Pictures of the main window's 16-pixel image list that the trees show.
const int AdapterPicture = 20;
const int IPSetPicture = 24;
const int IPSetSelectedPicture = 28;
const int IPSetInForcePicture = 29; // a set that its adapter shows in force

// A node of a tree view; 0 is no node.
using HTreeNode = std::uintptr_t;

// Everything a node shows and carries, given whole when it is added. Image index -1 draws no
// image; Expanded opens the node on the children added to it later.
struct TTreeItem {
    std::string Text;
    int ImageIndex = -1;
    int SelectedIndex = -1;
    std::intptr_t Data = 0;
    bool Bold = false;
    bool Expanded = false;

    auto Tied() const { return std::tie(Text, ImageIndex, SelectedIndex, Data, Bold, Expanded); }
    bool operator==(const TTreeItem& Other) const { return Tied() == Other.Tied(); }
};

// A whole tree in tree order: each node's item with its depth, 0 for a top-level node.
struct TTreeRow {
    int Level;
    TTreeItem Item;

    bool operator==(const TTreeRow& Other) const {
        return Level == Other.Level && Item == Other.Item;
    }
};
using TTreeRows = std::vector<TTreeRow>;

// The tree control the IP-set manager fills.
class TTreeView : public TComponent {
public:
    using TComponent::TComponent;

    virtual void Clear() = 0;
    // Adds Item as the last child of Parent, or as the last top-level node when Parent is 0.
    virtual HTreeNode Add(HTreeNode Parent, const TTreeItem& Item) = 0;
    virtual std::intptr_t Data(HTreeNode Node) const = 0;

    // Nodes in tree order: each node followed by all its descendants, collapsed ones included.
    virtual int Count() const = 0;
    virtual HTreeNode Item(int Index) const = 0;
    virtual int Level(HTreeNode Node) const = 0;
    virtual HTreeNode Parent(HTreeNode Node) const = 0; // 0 for a top-level node
    virtual std::string Text(HTreeNode Node) const = 0;

    // The node the user chose; 0 when none. Clearing the tree clears it.
    virtual HTreeNode Selected() const = 0;
    virtual void SetSelected(HTreeNode Node) = 0;

    // Suspend repainting until the outermost EndUpdate, which repaints once.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
};
