#include "ui/qt/QtDialog.h"

#include "base/TApplication.h"
#include "ui/qt/QtControls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

TQtDialog::TQtDialog(TPlacement Placement) : FPlacement(Placement) {
    // A dialog border with the close box as its only title-bar button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void TQtDialog::SetCaption(const std::string& Value) {
    setWindowTitle(QtText(Value));
}

void TQtDialog::FixSize() {
    setFixedSize(size().expandedTo(minimumSizeHint()));
}

// The form owns its view alone: the owner is the dialog's transient parent, not its Qt parent,
// which would free it along with itself.
void TQtDialog::ShowModal() {
    QWidget* const Owner = QApplication::activeWindow();
    setWindowModality(Qt::ApplicationModal);
    winId();
    if (Owner != nullptr && Owner != this && Owner->windowHandle() != nullptr)
        windowHandle()->setTransientParent(Owner->windowHandle());
    Place(Owner);
    FEnded = false;
    show();
    activateWindow();
    // As a dialog starts: in the first box of the tab order, unless the form moves it.
    if (focusWidget() == nullptr)
        focusNextPrevChild(true);
    RunHandler([this] { OnShow(); });
    if (!FEnded) {
        QEventLoop Loop;
        FLoop = &Loop;
        Loop.exec(QEventLoop::DialogExec);
        FLoop = nullptr;
    }
    hide();
}

void TQtDialog::EndModal() {
    FEnded = true;
    if (FLoop != nullptr)
        FLoop->exit();
}

void TQtDialog::Place(QWidget* Owner) {
    QRect Area;
    if (FPlacement == TPlacement::Owner && Owner != nullptr && Owner->isVisible() &&
        !Owner->isMinimized())
        Area = Owner->frameGeometry();
    else if (const QScreen* Screen = QGuiApplication::primaryScreen())
        Area = Screen->availableGeometry();
    QRect Frame = frameGeometry();
    Frame.moveCenter(Area.center());
    move(Frame.topLeft());
}

void TQtDialog::closeEvent(QCloseEvent* Event) {
    Event->ignore(); // the form decides, and ends the run through EndModal
    RunHandler([this] { OnCloseBox(); });
}

void TQtDialog::reject() {
    RunHandler([this] { OnEscape(); });
}

namespace {

QMessageBox::Icon IconOf(unsigned Flags) {
    switch (Flags & 0xF0) {
    case MsgBox::IconError:
        return QMessageBox::Critical;
    case MsgBox::IconQuestion:
        return QMessageBox::Question;
    case MsgBox::IconExclamation:
        return QMessageBox::Warning;
    case MsgBox::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtMessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
    QWidget* Owner = QApplication::activeModalWidget();
    if (Owner == nullptr)
        Owner = QApplication::activeWindow();
    QMessageBox Box(IconOf(Flags), QtText(Caption), QtText(Text), QMessageBox::NoButton, Owner);
    const bool YesNo = (Flags & 0xF) == MsgBox::YesNo;
    QPushButton* const First = Box.addButton(YesNo ? QMessageBox::Yes : QMessageBox::Ok);
    QPushButton* const Second = YesNo ? Box.addButton(QMessageBox::No) : nullptr;
    Box.setDefaultButton(Second != nullptr && (Flags & MsgBox::DefButton2) != 0 ? Second : First);
    Box.exec();
    if (Box.clickedButton() == First)
        return YesNo ? MsgBox::IdYes : MsgBox::IdOK;
    if (Box.clickedButton() == Second)
        return MsgBox::IdNo;
    return MsgBox::IdCancel;
}
