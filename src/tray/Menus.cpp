#include "tray/Menus.h"

TMenuItem* TMenuItem::Add(const std::string& ACaption) {
    FItems.push_back(std::make_unique<TMenuItem>());
    FItems.back()->Caption = ACaption;
    return FItems.back().get();
}
