#pragma once

// Drives Qt dialogs of this process as a person would: finds fields by their labels, types into
// them, presses buttons and answers message boxes, from inside the dialog's own modal run.
#include "ui/Forms.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace qtdriver {

// Polls, handling events, until Done holds; false after ten seconds.
template <class Condition> bool WaitFor(Condition Done) {
    return QTest::qWaitFor(Done, 10000);
}

inline std::string Str(const QString& Text) {
    return Text.toStdString();
}

// The dialog's visible label with this text, as a person reads it.
inline QLabel* Label(QWidget* Dialog, const std::string& Text) {
    for (QLabel* L : Dialog->findChildren<QLabel*>())
        if (L->isVisible() && Str(L->text()) == Text)
            return L;
    ADD_FAILURE() << "no label " << Text;
    return nullptr;
}

// The field a label names, which is how screen readers find it too.
template <class W = QWidget> W* Field(QWidget* Dialog, const std::string& LabelText) {
    QLabel* const L = Label(Dialog, LabelText);
    W* const Found = L ? qobject_cast<W*>(L->buddy()) : nullptr;
    if (L && !Found)
        ADD_FAILURE() << "the label " << LabelText << " names no field of that kind";
    return Found;
}

// A visible button, check box or radio button by its caption.
inline QAbstractButton* Button(QWidget* Dialog, const std::string& Caption) {
    for (QAbstractButton* B : Dialog->findChildren<QAbstractButton*>())
        if (B->isVisible() && Str(B->text()) == Caption)
            return B;
    ADD_FAILURE() << "no button " << Caption;
    return nullptr;
}

// A click on the button; a check box or radio button on its box, as it answers to its box and
// caption only and not to the empty width beyond them.
inline void Press(QAbstractButton* Button) {
    if (Button == nullptr)
        return;
    const bool Push = qobject_cast<QPushButton*>(Button) != nullptr;
    QTest::mouseClick(Button, Qt::LeftButton, {},
                      Push ? Button->rect().center() : QPoint(8, Button->height() / 2));
}

// Replaces the box's text by typing, one character at a time.
inline void Type(QLineEdit* Box, const std::string& Typed) {
    if (!Box)
        return;
    Box->clear();
    const QString Text = QString::fromStdString(Typed);
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (Text[I].unicode() < 128) {
            QTest::keyClick(Box, Text[I].toLatin1());
            continue;
        }
        // A key that has no key code of its own, as a keyboard layout gives it.
        const qsizetype Length = Text[I].isHighSurrogate() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, Box, Qt::Key_unknown, Text.mid(I, Length),
                            Qt::NoModifier);
        I += Length - 1;
    }
}

// The focused widget, then what Tab walks through from it until it comes back to one it met;
// each named by the label that names it or by its own caption.
inline std::vector<std::string> TabOrder(QWidget* Dialog) {
    auto Name = [Dialog](QWidget* W) -> std::string {
        for (QLabel* L : Dialog->findChildren<QLabel*>())
            if (L->buddy() == W)
                return Str(L->text());
        if (auto* B = qobject_cast<QAbstractButton*>(W))
            return Str(B->text());
        return Str(W->objectName());
    };
    std::vector<std::string> Order;
    std::vector<QWidget*> Met;
    for (QWidget* W = Dialog->focusWidget(); W != nullptr && Met.size() < 30;) {
        if (std::find(Met.begin(), Met.end(), W) != Met.end())
            break;
        Met.push_back(W);
        Order.push_back(Name(W));
        QTest::keyClick(W, Qt::Key_Tab);
        W = Dialog->focusWidget();
    }
    return Order;
}

// Answers each message box that comes up while it lives, from a queue (the default button when
// it runs dry), and keeps what each one showed.
class Messages {
public:
    struct Shown {
        std::string Text, Caption;
        QMessageBox::Icon Icon;
        std::vector<std::string> Buttons;
        std::string Default;
    };

    Messages() {
        QObject::connect(&FPoll, &QTimer::timeout, [this] { Answer(); });
        FPoll.start(5);
    }

    std::deque<QMessageBox::StandardButton> Answers;
    std::vector<Shown> Boxes;

    std::string LastText() const { return Boxes.empty() ? "" : Boxes.back().Text; }

private:
    void Answer() {
        auto* const Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (Box == nullptr || !Box->isVisible())
            return;
        Shown S{Str(Box->text()), Str(Box->windowTitle()), Box->icon(), {}, {}};
        for (QAbstractButton* B : Box->buttons())
            S.Buttons.push_back(Str(B->text()));
        if (Box->defaultButton())
            S.Default = Str(Box->defaultButton()->text());
        Boxes.push_back(S);
        QAbstractButton* Pressed = Box->defaultButton();
        if (!Answers.empty()) {
            Pressed = Box->button(Answers.front());
            Answers.pop_front();
        }
        Pressed->click();
    }

    QTimer FPoll;
};

// Shows the form modally and runs User on its window in place of the person; the modal result.
// A dialog still open when User is done fails the test and is closed.
inline int RunWithUser(TForm& Form, const std::function<void(QWidget* Dialog)>& User) {
    QTimer::singleShot(0, [&] {
        QWidget* const Dialog = QApplication::activeModalWidget();
        if (Dialog == nullptr) {
            ADD_FAILURE() << "no dialog came up";
            return Form.SetModalResult(mrCancel);
        }
        // A person acts once the window is up and has the keyboard.
        EXPECT_TRUE(QTest::qWaitForWindowActive(Dialog));
        User(Dialog);
        if (Form.ModalResult() == mrNone) {
            ADD_FAILURE() << "the dialog is still open";
            Form.SetModalResult(mrCancel);
        }
    });
    return Form.ShowModal();
}

} // namespace qtdriver
