#pragma once

#include "ui/Forms.h"
#include "ui/win32/DialogBase.h"

#include <windows.h>

#include <string>
#include <vector>

// The controls of a dialog template behind the controllers' interfaces, found by their ID.
template <class Base> class TDlgControl : public Base {
public:
    TDlgControl(const TDialog& Dialog, int Id) : FHandle(Dialog.Item(Id)) {}

    HWND Handle() const { return FHandle; }
    bool Enabled() const override { return IsWindowEnabled(FHandle) != FALSE; }
    void SetEnabled(bool Value) override { EnableWindow(FHandle, Value ? TRUE : FALSE); }
    bool CanFocus() const override {
        return IsWindowVisible(FHandle) != FALSE && IsWindowEnabled(FHandle) != FALSE;
    }
    // Through the dialog, so that it also moves the default button as Tab would.
    void SetFocus() override {
        SendMessageW(GetAncestor(FHandle, GA_ROOT), WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(FHandle), TRUE);
    }

private:
    HWND FHandle;
};

// What an edit box does to the characters that reach it, however they arrive.
enum class TEditKind {
    Plain,
    // At most 15 characters, each typed one passed through AddressKeyFilter; nothing pasted and
    // no context menu.
    Address,
    // At most 128 characters, the letters a to z turned into capitals.
    Name,
};

class TDlgEdit : public TDlgControl<TEdit> {
public:
    TDlgEdit(const TDialog& Dialog, int Id, TEditKind Kind = TEditKind::Plain);
    std::string Text() const override;
    void SetText(const std::string& Value) override;
    void SetColor(TColor Value) override { SetControlColour(Handle(), Value); }
};

// A check box or a radio button.
class TDlgCheck : public TDlgControl<TCheckControl> {
public:
    using TDlgControl::TDlgControl;
    bool Checked() const override;
    void SetChecked(bool Value) override;
};

class TDlgButton : public TDlgControl<TButton> {
public:
    using TDlgControl::TDlgControl;
    void SetCaption(const std::string& Value) override;
};

// A list box with LBS_NOTIFY, so that the dialog hears of each choice as LBN_SELCHANGE. Items
// stay in the order given, sorted or not.
class TDlgListBox : public TDlgControl<TListBox> {
public:
    using TDlgControl::TDlgControl;
    void SetItems(const std::vector<std::string>& Texts) override;
    int ItemIndex() const override;
    void SetItemIndex(int Value) override;
};

// A drop-down list (CBS_DROPDOWNLIST). The Delete key clears the choice; the dialog hears of it
// as CBN_SELCHANGE, as it does of a choice made with the mouse or the arrows.
class TDlgCombo : public TDlgControl<TComboBox> {
public:
    TDlgCombo(const TDialog& Dialog, int Id);
    void SetItems(const std::vector<std::string>& Texts) override;
    int Count() const override;
    int ItemData(int Index) const override;
    void SetItemData(int Index, int Value) override;
    int ItemIndex() const override;
    void SetItemIndex(int Value) override;
    std::string Text() const override;
};
