#pragma once

#include "base/TApplication.h"
#include "ui/Forms.h"

#include <QAbstractButton>
#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QString>

#include <functional>
#include <string>
#include <vector>

// The program's texts break lines with CR LF or a lone CR; Qt's labels and boxes break at LF only.
QString QtText(const std::string& Text);
std::string StdText(const QString& Text);
// A colour of the program's, with the scheme's button face taken from the application's palette.
QColor QtColor(TColor Colour);
// The widget's font, bold, at Percent of its size.
void SetBoldFont(QWidget* Widget, int Percent);
// Paints the widget's face (or, for a box, its writing area) in Colour, whatever its state.
void SetWidgetColour(QWidget* Widget, TColor Colour);

// The widgets of a view behind the controllers' interfaces. Each adapter refers to a widget the
// view owns and must not outlive it.
template <class Base, class W> class TQtControl : public Base {
public:
    explicit TQtControl(W* Widget) : FWidget(Widget) {}

    W* Widget() const { return FWidget; }
    bool Enabled() const override { return FWidget->isEnabled(); }
    void SetEnabled(bool Value) override { FWidget->setEnabled(Value); }
    bool CanFocus() const override { return FWidget->isVisible() && FWidget->isEnabled(); }
    // As a dialog moves the focus on Tab: a box so reached has its text selected.
    void SetFocus() override { FWidget->setFocus(Qt::TabFocusReason); }

private:
    W* FWidget;
};

// What an edit box does to the characters that reach it, however they arrive.
enum class TEditKind {
    Plain,
    // At most 15 characters, each typed one passed through AddressKeyFilter; nothing pasted or
    // dropped and no context menu.
    Address,
    // At most 128 characters, the letters a to z turned into capitals.
    Name,
};

class TQtEdit : public TQtControl<TEdit, QLineEdit> {
public:
    explicit TQtEdit(QLineEdit* Box, TEditKind Kind = TEditKind::Plain);
    std::string Text() const override;
    void SetText(const std::string& Value) override;
    void SetColor(TColor Value) override { SetWidgetColour(Widget(), Value); }

private:
    TEditKind FKind;
};

// A multi-line box, whose text the program reads and writes with CR LF line breaks.
class TQtMemo : public TQtControl<TEdit, QPlainTextEdit> {
public:
    using TQtControl::TQtControl;
    std::string Text() const override;
    void SetText(const std::string& Value) override;
    void SetColor(TColor Value) override { SetWidgetColour(Widget(), Value); }
};

// A check box or a radio button.
class TQtCheck : public TQtControl<TCheckControl, QAbstractButton> {
public:
    using TQtControl::TQtControl;
    bool Checked() const override { return Widget()->isChecked(); }
    void SetChecked(bool Value) override;
};

class TQtButton : public TQtControl<TButton, QAbstractButton> {
public:
    using TQtControl::TQtControl;
    void SetCaption(const std::string& Value) override { Widget()->setText(QtText(Value)); }
};

// A drop-down list. OnUserChange (run through RunHandler) hears of every choice the user makes
// with the mouse, the wheel or the arrows, and of the Delete key, which clears the choice; the
// program's own changes are not reported.
class TQtCombo : public TQtControl<TComboBox, QComboBox> {
public:
    TQtCombo(QComboBox* List, std::function<void()> OnUserChange);
    // Leaves nothing chosen, as a new list on Windows has.
    void SetItems(const std::vector<std::string>& Texts) override;
    int Count() const override { return Widget()->count(); }
    int ItemData(int Index) const override { return Widget()->itemData(Index).toInt(); }
    void SetItemData(int Index, int Value) override { Widget()->setItemData(Index, Value); }
    int ItemIndex() const override { return Widget()->currentIndex(); }
    void SetItemIndex(int Value) override { Widget()->setCurrentIndex(Value); }
    std::string Text() const override;
};

// A list of texts. OnUserChange (run through RunHandler) hears of each choice the user makes;
// the program's own changes are not reported.
class TQtListBox : public TQtControl<TListBox, QListWidget> {
public:
    TQtListBox(QListWidget* List, std::function<void()> OnUserChange);
    void SetItems(const std::vector<std::string>& Texts) override;
    int ItemIndex() const override { return Widget()->currentRow(); }
    void SetItemIndex(int Value) override;
};

class TQtNotebook : public TNotebook {
public:
    explicit TQtNotebook(QStackedWidget* Pages) : FPages(Pages) {}
    void SetPageIndex(int Value) override { FPages->setCurrentIndex(Value); }

private:
    QStackedWidget* FPages;
};
