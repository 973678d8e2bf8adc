// What every Qt window of the program shares: Qt's message box as the application's, and the
// wait box.
#include "base/Exception.h"
#include "base/TApplication.h"
#include "ui/f_WaitBox.h"

#include "ui/qt/QtDriver.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

using namespace qtdriver;

namespace {

TEST(QtMessageBox, ShowsTheFlagsIconAndButtonsAndGivesTheAnswer) {
    Application().Title = "Quelvano v1.47";
    const struct {
        unsigned Flags;
        QMessageBox::StandardButton Answer;
        QMessageBox::Icon Icon;
        std::vector<std::string> Buttons;
        std::string Default;
        int Result;
    } Cases[] = {
        {MsgBox::OK | MsgBox::IconExclamation,
         QMessageBox::Ok,
         QMessageBox::Warning,
         {"OK"},
         "OK",
         MsgBox::IdOK},
        {MsgBox::YesNo | MsgBox::IconQuestion | MsgBox::DefButton2,
         QMessageBox::Yes,
         QMessageBox::Question,
         {"&Yes", "&No"},
         "&No",
         MsgBox::IdYes},
        {MsgBox::YesNo | MsgBox::IconQuestion,
         QMessageBox::No,
         QMessageBox::Question,
         {"&Yes", "&No"},
         "&Yes",
         MsgBox::IdNo},
        {MsgBox::OK | MsgBox::IconInformation,
         QMessageBox::Ok,
         QMessageBox::Information,
         {"OK"},
         "OK",
         MsgBox::IdOK},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Flags);
        Messages Answered;
        Answered.Answers = {C.Answer};
        // The program's lone CR breaks the line as on Windows.
        EXPECT_EQ(Application().MessageBox("Uno.\rDos.", "Wizard", C.Flags), C.Result);
        ASSERT_EQ(Answered.Boxes.size(), 1u);
        EXPECT_EQ(Answered.Boxes[0].Text, "Uno.\nDos.");
        EXPECT_EQ(Answered.Boxes[0].Caption, "Wizard");
        EXPECT_EQ(Answered.Boxes[0].Icon, C.Icon);
        EXPECT_EQ(Answered.Boxes[0].Buttons, C.Buttons);
        EXPECT_EQ(Answered.Boxes[0].Default, C.Default);
    }

    // The general error display and the plain message, both captioned with the title.
    Messages Answered;
    Application().ShowException(Exception("No se pudo"));
    Application().ShowMessage("Hecho");
    ASSERT_EQ(Answered.Boxes.size(), 2u);
    EXPECT_EQ(Answered.Boxes[0].Text, "No se pudo.");
    EXPECT_EQ(Answered.Boxes[0].Caption, "Quelvano v1.47");
    EXPECT_EQ(Answered.Boxes[0].Icon, QMessageBox::Critical);
    EXPECT_EQ(Answered.Boxes[1].Caption, "Quelvano v1.47");
    EXPECT_EQ(Answered.Boxes[1].Icon, QMessageBox::NoIcon);
}

std::vector<QWidget*> WaitBoxes() {
    std::vector<QWidget*> Shown;
    for (QWidget* W : QApplication::topLevelWidgets())
        if (W->isVisible() && W->windowTitle() == "Por favor espere...")
            Shown.push_back(W);
    return Shown;
}

TEST(QtWaitBox, OneTopMostBoxWithTextAndBarThatOnlyHideWaitBoxRemoves) {
    CreateWaitBox();
    EXPECT_TRUE(WaitBoxes().empty());
    ShowWaitBox();
    ShowWaitBox();
    ASSERT_EQ(WaitBoxes().size(), 1u);
    QWidget* const Box = WaitBoxes()[0];
    const Qt::WindowFlags Flags = Box->windowFlags();
    EXPECT_TRUE(Flags & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(Flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint));
    EXPECT_FALSE(Box->isModal());
    EXPECT_GE(Box->width(), 307);
    EXPECT_GE(Box->height(), 110);

    auto* const Text = Box->findChild<QLabel*>("Label1");
    ASSERT_NE(Text, nullptr);
    EXPECT_EQ(Str(Text->text()), "Quelvano, esta cambiando la configuracion del\nadaptador de "
                                 "red.\n\nEsta operacion puede tomar algunos segundos,\npor favor "
                                 "tenga paciencia.");
    EXPECT_EQ(Text->palette().color(QPalette::WindowText), QColor(62, 62, 62));
    EXPECT_EQ(Box->palette().color(QPalette::Window), QColor(Qt::white));
    auto* const Bar = Box->findChild<QProgressBar*>("ProgressBar1");
    ASSERT_NE(Bar, nullptr);
    EXPECT_EQ(Bar->value(), 0);
    FrmWaitBox->ProgressBar1().SetPosition(35);
    EXPECT_EQ(Bar->value(), 35);

    // Neither the window manager's close nor Esc takes it away.
    Box->close();
    QTest::keyClick(Box, Qt::Key_Escape);
    EXPECT_EQ(WaitBoxes().size(), 1u);
    HideWaitBox();
    EXPECT_TRUE(WaitBoxes().empty());
    HideWaitBox();
}

} // namespace
