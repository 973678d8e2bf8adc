#pragma once

#include "base/TApplication.h"
#include "ui/Forms.h"

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>

// The window that the program's modal dialogs and message boxes are owned by, and so disable while
// they show: the innermost modal dialog showing, else the main window once there is one, else the
// active window. Whatever opened them (a tray menu's hidden window is active then), the main
// window takes no command until they end.
HWND ModalOwner();
// The main window, from its making to its end (null then).
void SetMainWindow(HWND Window);

// The colour a control is painted in, set through its adapter; none leaves the system's.
void SetControlColour(HWND Control, TColor Colour);
std::optional<TColor> ControlColour(HWND Control);

// A dialog made from a DIALOGEX template of the program's resources. It keeps its object from
// WM_INITDIALOG on and ignores what comes before; each event goes to a virtual member through
// RunHandler. The template gives the controls, their tab order and labels; a view only binds
// them and forwards events.
class TDialog {
public:
    virtual ~TDialog();
    TDialog(const TDialog&) = delete;
    TDialog& operator=(const TDialog&) = delete;

    HWND Handle() const { return FHandle; }
    // The control with this ID; raises when the template has none.
    HWND Item(int Id) const;

protected:
    // Creates the dialog hidden: Parent is the owner of a top-level dialog, or the window a
    // child page (DS_CONTROL | WS_CHILD) lies in.
    TDialog(int TemplateId, HWND Parent);

    virtual void OnCommand(int /*Id*/, int /*Code*/) {}
    // True when the notification was handled.
    virtual bool OnNotify(const NMHDR& /*Header*/) { return false; }
    // The title-bar close box (and Alt+F4). Esc arrives as the command IDCANCEL.
    virtual void OnCloseBox() {}

    // Paints the dialog's face and its labels in this colour instead of the system's.
    void SetBackground(TColor Colour) { FBackground = Colour; }
    // Gives a control the dialog's font in another face, size (percent of the dialog font's)
    // or weight; an empty Face keeps the dialog font's.
    void SetItemFont(int Id, const std::wstring& Face, int Percent = 100, bool Bold = false);

private:
    static INT_PTR CALLBACK DialogProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
    INT_PTR HandleMessage(UINT Message, WPARAM WParam, LPARAM LParam);
    INT_PTR PaintControl(UINT Message, HDC Dc, HWND Control);
    HBRUSH Brush(TColor Colour);

    HWND FHandle = nullptr;
    std::optional<TColor> FBackground;
    std::map<TColor, HBRUSH> FBrushes;
    std::map<std::tuple<std::wstring, int, bool>, HFONT> FFonts;
};

// A dialog that is the window of a form: shown modally, ended by the form's modal result.
class TModalDialog : public TDialog, public TFormView {
public:
    void SetCaption(const std::string& Value) override;
    // Disables the owner, shows the dialog and runs its messages until EndModal; a WM_QUIT ends
    // the run too and is posted again for the program's own loop.
    void ShowModal() override;
    void EndModal() override;

protected:
    enum class TPlacement { Screen, Owner };
    // Owned by ModalOwner(); placed in the middle of the screen or of the owner.
    TModalDialog(int TemplateId, TPlacement Placement);

    // The dialog has just appeared.
    virtual void OnShow() {}

private:
    void Place(HWND Owner);

    TPlacement FPlacement;
    bool FEnded = false;
};
