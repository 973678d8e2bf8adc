#pragma once

#include "base/TComponent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// A colour as 0x00BBGGRR; values with the top byte set name a colour of the system's scheme,
// which the front end resolves.
using TColor = std::uint32_t;
constexpr TColor RGBColor(unsigned R, unsigned G, unsigned B) {
    return R | G << 8 | B << 16;
}
constexpr TColor clWhite = RGBColor(255, 255, 255);
constexpr TColor clBtnFace = 0xFF00000F;

// Results of a modal form.
constexpr int mrNone = 0;
constexpr int mrOK = 1;
constexpr int mrCancel = 2;

// What a form controller sees of its controls. The front ends implement these over their real
// controls and tests over fakes; the controller keeps every rule.
class TControl {
public:
    virtual ~TControl() = default;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool Value) = 0;
    // Shown and enabled, so that the focus can go there.
    virtual bool CanFocus() const = 0;
    virtual void SetFocus() = 0;
};

class TEdit : public TControl {
public:
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& Value) = 0;
    virtual void SetColor(TColor Value) = 0;
};

// A check box or a radio button.
class TCheckControl : public TControl {
public:
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool Value) = 0;
};

// A push button whose caption the form changes.
class TButton : public TControl {
public:
    virtual void SetCaption(const std::string& Value) = 0;
};

// A drop-down list that shows one text per item; each item may carry a number, the value it
// stands for (an ID).
class TComboBox : public TControl {
public:
    // Replaces the items; each new item carries 0.
    virtual void SetItems(const std::vector<std::string>& Texts) = 0;
    virtual int Count() const = 0;
    virtual int ItemData(int Index) const = 0;
    virtual void SetItemData(int Index, int Value) = 0;
    // -1 when nothing is chosen.
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int Value) = 0;
    // The text of the chosen item; empty when nothing is chosen.
    virtual std::string Text() const = 0;
};

// A list of texts, of which the user may choose one.
class TListBox : public TControl {
public:
    virtual void SetItems(const std::vector<std::string>& Texts) = 0;
    // -1 when nothing is chosen.
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int Value) = 0;
};

// Pages of which one shows at a time.
class TNotebook {
public:
    virtual ~TNotebook() = default;
    virtual void SetPageIndex(int Value) = 0;
};

// The window of a form. The front end makes it when the form is created, so that the controls
// exist before the form is shown, and binds them to the form's control members.
class TFormView {
public:
    virtual ~TFormView() = default;
    virtual void SetCaption(const std::string& Value) = 0;
    // Shows the window modally; returns once EndModal has been called.
    virtual void ShowModal() = 0;
    virtual void EndModal() = 0;
};

// Makes the view of a form of class F; installed by the front end, or by a test.
template <class F> using TFormViewFactory = std::function<std::unique_ptr<TFormView>(F&)>;

// A dialog's controller: caption, modal result and the window it drives.
class TForm : public TComponent {
public:
    using TComponent::TComponent;

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);

    int ModalResult() const { return FModalResult; }
    // A result other than mrNone ends the modal run.
    void SetModalResult(int Value);

    // Shows the form and returns its modal result.
    int ShowModal();

    // The title-bar close box (and Esc): ends the run with mrCancel unless a form does more.
    virtual void CloseBoxClick() { SetModalResult(mrCancel); }

protected:
    // Called once by the constructor of each form class with the view its factory made.
    template <class F> void CreateView(const TFormViewFactory<F>& Factory, F& Self);

private:
    std::unique_ptr<TFormView> FView;
    std::string FCaption;
    int FModalResult = mrNone;
    bool FShowing = false;
};

template <class F> void TForm::CreateView(const TFormViewFactory<F>& Factory, F& Self) {
    if (Factory)
        FView = Factory(Self);
    if (FView)
        FView->SetCaption(FCaption);
}
