#pragma once

#include "ui/Forms.h"

#include <QDialog>

#include <string>

class QEventLoop;

// A dialog that is the window of a form: shown modally, ended by the form's modal result. Its
// widgets come from a Designer form (setupUi), which gives their labels, buddies and tab order;
// a view only binds them and forwards events, each through RunHandler.
class TQtDialog : public QDialog, public TFormView {
public:
    void SetCaption(const std::string& Value) override;
    // Shows the dialog over the active window, blocking the others, and runs the events until
    // EndModal.
    void ShowModal() override;
    void EndModal() override;

protected:
    enum class TPlacement { Screen, Owner };
    explicit TQtDialog(TPlacement Placement);

    // After setupUi: the size the form gives, or what the texts need when that is more; the user
    // does not resize a dialog.
    void FixSize();

    // The dialog has just appeared.
    virtual void OnShow() {}
    // The title-bar close box.
    virtual void OnCloseBox() = 0;
    // Esc, which is the close box unless a dialog says otherwise.
    virtual void OnEscape() { OnCloseBox(); }

    void closeEvent(QCloseEvent* Event) override;
    void reject() override;

private:
    void Place(QWidget* Owner);

    TPlacement FPlacement;
    QEventLoop* FLoop = nullptr;
    bool FEnded = false;
};

// A Designer form set up on its dialog as soon as it is made, so that the members after it can
// bind its widgets.
template <class Ui> struct TQtForm : Ui {
    explicit TQtForm(QDialog* Dialog) { this->setupUi(Dialog); }
};

// Shows a message box of the given MsgBox flags, modal to the active window; the MsgBox answer.
int QtMessageBox(const std::string& Text, const std::string& Caption, unsigned Flags);
