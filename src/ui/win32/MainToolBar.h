#pragma once

#include "ui/Forms.h"

#include <windows.h>

#include <commctrl.h>

// The main window's flat toolbar: captions under 24-pixel pictures (scaled with the DPI), a
// command number per button sent to the parent, and tooltips with the buttons' hints.
class TMainToolBar {
public:
    TMainToolBar(HWND Parent, UINT Dpi);
    ~TMainToolBar();
    TMainToolBar(const TMainToolBar&) = delete;
    TMainToolBar& operator=(const TMainToolBar&) = delete;

    HWND Handle() const { return FHandle; }
    // Pictures and button size for a new DPI.
    void SetDpi(UINT Dpi);
    // The hint of the button that sends Command, for the tooltip; null when there is none.
    static const wchar_t* Hint(UINT_PTR Command);

private:
    HWND FHandle = nullptr;
    HIMAGELIST FImages = nullptr;
};

// One toolbar button as the controller sees it: enabled or not, in the toolbar's own state.
class TToolButtonControl : public TControl {
public:
    TToolButtonControl(HWND Bar, int Command) : FBar(Bar), FCommand(Command) {}
    bool Enabled() const override;
    void SetEnabled(bool Value) override;
    bool CanFocus() const override { return false; }
    void SetFocus() override {}

private:
    HWND FBar;
    int FCommand;
};
