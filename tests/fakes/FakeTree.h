#pragma once

#include "ipset/TreeView.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A tree control in memory that keeps every node's state and counts what a real control would
// repaint:
//   FakeTree Tree;
//   Manager.SetIPSetTreeView(&Tree);
//   Manager.FillIPSetTree();
//   EXPECT_EQ(Tree.Outline(), ...);
class FakeTree : public TTreeView {
public:
    struct Node {
        HTreeNode Parent = 0;
        std::vector<HTreeNode> Children;
        std::string Text;
        int ImageIndex = -1;
        int SelectedIndex = -1;
        std::intptr_t Data = 0;
        bool Bold = false;
        bool Expanded = false;
    };

    FakeTree() : TTreeView(nullptr) {}

    int Clears = 0;
    int UpdateDepth = 0;
    int Updates = 0; // outermost BeginUpdate calls
    // Nodes added while repainting was on.
    int ChangesWhilePainting = 0;

    const Node& At(HTreeNode Handle) const { return FNodes.at(Handle - 1); }
    Node& At(HTreeNode Handle) { return FNodes.at(Handle - 1); }
    const std::vector<HTreeNode>& Roots() const { return FRoots; }

    // One line per node in tree order: two blanks per level, "*" before a bold text.
    std::vector<std::string> Outline() const {
        std::vector<std::string> Lines;
        for (HTreeNode Handle : Order())
            Lines.push_back(std::string(2 * static_cast<std::size_t>(Level(Handle)), ' ') +
                            (At(Handle).Bold ? "*" : "") + At(Handle).Text);
        return Lines;
    }

    void Clear() override {
        ++Clears;
        FNodes.clear();
        FRoots.clear();
        FOrder.clear();
        FSelected = 0;
    }

    HTreeNode Add(HTreeNode Parent, const TTreeItem& Item) override {
        Changed();
        Node N;
        N.Parent = Parent;
        N.Text = Item.Text;
        N.ImageIndex = Item.ImageIndex;
        N.SelectedIndex = Item.SelectedIndex;
        N.Data = Item.Data;
        N.Bold = Item.Bold;
        N.Expanded = Item.Expanded;
        FNodes.push_back(N);
        const HTreeNode Handle = FNodes.size();
        (Parent == 0 ? FRoots : At(Parent).Children).push_back(Handle);
        FOrder.clear();
        return Handle;
    }
    std::intptr_t Data(HTreeNode Handle) const override { return At(Handle).Data; }

    int Count() const override { return static_cast<int>(FNodes.size()); }
    HTreeNode Item(int Index) const override { return Order().at(static_cast<std::size_t>(Index)); }
    int Level(HTreeNode Handle) const override {
        int Result = 0;
        for (HTreeNode P = At(Handle).Parent; P != 0; P = At(P).Parent)
            ++Result;
        return Result;
    }

    HTreeNode Parent(HTreeNode Handle) const override { return At(Handle).Parent; }
    std::string Text(HTreeNode Handle) const override { return At(Handle).Text; }
    HTreeNode Selected() const override { return FSelected; }
    void SetSelected(HTreeNode Handle) override { FSelected = Handle; }
    // The first node with this text, 0 when none.
    HTreeNode Find(const std::string& Text) const {
        for (HTreeNode Handle : Order())
            if (At(Handle).Text == Text)
                return Handle;
        return 0;
    }

    void BeginUpdate() override {
        if (UpdateDepth++ == 0)
            ++Updates;
    }
    void EndUpdate() override { --UpdateDepth; } // below 0 when unbalanced

private:
    void Changed() {
        if (UpdateDepth == 0)
            ++ChangesWhilePainting;
    }

    // Built once after each change, so walking by index stays linear.
    const std::vector<HTreeNode>& Order() const {
        if (FOrder.size() != FNodes.size()) {
            FOrder.clear();
            std::vector<HTreeNode> Stack(FRoots.rbegin(), FRoots.rend());
            while (!Stack.empty()) {
                const HTreeNode Handle = Stack.back();
                Stack.pop_back();
                FOrder.push_back(Handle);
                const std::vector<HTreeNode>& Children = At(Handle).Children;
                Stack.insert(Stack.end(), Children.rbegin(), Children.rend());
            }
        }
        return FOrder;
    }

    std::vector<Node> FNodes;
    std::vector<HTreeNode> FRoots;
    HTreeNode FSelected = 0;
    mutable std::vector<HTreeNode> FOrder;
};
