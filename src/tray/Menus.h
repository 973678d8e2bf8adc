#pragma once

#include "base/TComponent.h"
#include "tray/Controls.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One entry of a menu; a caption of "-" draws a separator. An item with sub-items opens a submenu.
class TMenuItem : public TComponent {
public:
    using TComponent::TComponent;

    std::string Caption;
    bool Enabled = true;
    // Drawn bold; the item a double click on the menu's owner would choose.
    bool Default = false;
    // The key combination as the menu shows it beside the caption, e.g. "Ctrl+A".
    std::string ShortCut;
    // A picture of the menu's image list; -1 for none.
    int ImageIndex = -1;
    // Drawn with a check mark.
    bool Checked = false;
    TNotifyEvent OnClick;

    // The item is owned by this one.
    TMenuItem* Add(const std::string& ACaption);
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }

    void Click() {
        if (OnClick)
            OnClick(this);
    }

private:
    std::vector<std::unique_ptr<TMenuItem>> FItems;
};

// A menu shown at a screen point; the platform pops it up (see TTrayApplication::PopupMenuAt).
class TPopupMenu : public TComponent {
public:
    using TComponent::TComponent;

    TMenuItem& Items() { return FItems; }
    const TMenuItem& Items() const { return FItems; }

    // Whether the control the menu belongs to opens it by itself on a right click.
    bool AutoPopup = true;
    // The component that popped the menu up last.
    TComponent* PopupComponent = nullptr;
    // The platform's list of the items' pictures (an image list handle on Windows); 0 for none.
    std::uintptr_t Images = 0;

private:
    TMenuItem FItems;
};
