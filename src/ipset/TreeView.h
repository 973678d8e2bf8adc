#pragma once

#include "base/TComponent.h"

#include <cstdint>
#include <string>

// Pictures of the main window's 16-pixel image list that the trees show.
const int AdapterPicture = 20;
const int IPSetPicture = 24;
const int IPSetSelectedPicture = 28;
const int IPSetInForcePicture = 29; // a set that its adapter shows in force

// A node of a tree view; 0 is no node.
using HTreeNode = std::uintptr_t;

// The tree control the IP-set manager fills. Image index -1 draws no image.
class TTreeView : public TComponent {
public:
    using TComponent::TComponent;

    virtual void Clear() = 0;
    // Adds a node with Text as the last child of Parent, or as the last top-level node when
    // Parent is 0.
    virtual HTreeNode AddChild(HTreeNode Parent, const std::string& Text) = 0;
    virtual void SetImages(HTreeNode Node, int ImageIndex, int SelectedIndex) = 0;
    virtual void SetData(HTreeNode Node, std::intptr_t Data) = 0;
    virtual std::intptr_t Data(HTreeNode Node) const = 0;
    virtual void SetBold(HTreeNode Node, bool Bold) = 0;

    virtual void FullExpand() = 0;
    // Collapses Node alone; its descendants keep their own state.
    virtual void Collapse(HTreeNode Node) = 0;

    // Nodes in tree order: each node followed by all its descendants, collapsed ones included.
    virtual int Count() const = 0;
    virtual HTreeNode Item(int Index) const = 0;
    virtual int Level(HTreeNode Node) const = 0;
    virtual HTreeNode Parent(HTreeNode Node) const = 0; // 0 for a top-level node
    virtual std::string Text(HTreeNode Node) const = 0;

    // The node the user chose; 0 when none. Clearing the tree clears it.
    virtual HTreeNode Selected() const = 0;
    virtual void SetSelected(HTreeNode Node) = 0;

    virtual void BeginUpdate() = 0; // suspends repainting
    virtual void EndUpdate() = 0;
};
