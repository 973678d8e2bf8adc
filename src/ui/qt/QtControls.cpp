#include "ui/qt/QtControls.h"

#include "base/TApplication.h"
#include "base/TextUtils.h"
#include "shell/GlobalUnit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>
#include <QSignalBlocker>
#include <QValidator>

#include <exception>

namespace {

const int AddressLength = 15;
const int NameLength = 128;

// Typing goes through the key filter; pasting, in any of its ways, is refused.
class TAddressKeyFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() == QEvent::MouseButtonRelease)
            return static_cast<QMouseEvent*>(Event)->button() == Qt::MiddleButton;
        if (Event->type() != QEvent::KeyPress)
            return false;
        const auto* Key = static_cast<QKeyEvent*>(Event);
        if (Key->matches(QKeySequence::Paste))
            return true;
        // Keys without a printable text (arrows, Backspace, Delete, shortcuts) edit as usual.
        const QString Typed = Key->text();
        if (Typed.isEmpty() || Typed.at(0).unicode() < 32 || Typed.at(0).unicode() == 127)
            return false;
        const std::string Current = StdText(static_cast<QLineEdit*>(Watched)->text());
        for (const char32_t C : Typed.toStdU32String())
            if (!AddressKeyFilter(Current, C))
                return true;
        return false;
    }
};

// Typed, pasted or dropped, the letters a to z arrive as capitals.
class TCapitalsValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& Input, int&) const override {
        for (QChar& C : Input)
            if (C >= QLatin1Char('a') && C <= QLatin1Char('z'))
                C = QChar(C.unicode() - 'a' + 'A');
        return Acceptable;
    }
};

// The Delete key clears the choice, which the form hears of as of any other change.
class TClearOnDelete : public QObject {
public:
    TClearOnDelete(QComboBox* List, std::function<void()> OnClear)
        : QObject(List), FOnClear(std::move(OnClear)) {}

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (Event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(Event)->key() != Qt::Key_Delete)
            return false;
        static_cast<QComboBox*>(Watched)->setCurrentIndex(-1);
        FOnClear();
        return true;
    }

private:
    std::function<void()> FOnClear;
};

} // namespace

QString QtText(const std::string& Text) {
    QString Result = QString::fromStdString(Text);
    Result.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    Result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return Result;
}

std::string StdText(const QString& Text) {
    return Text.toStdString();
}

QColor QtColor(TColor Colour) {
    if (Colour == clBtnFace)
        return QApplication::palette().color(QPalette::Button);
    return QColor(int(Colour & 0xFF), int(Colour >> 8 & 0xFF), int(Colour >> 16 & 0xFF));
}

void SetBoldFont(QWidget* Widget, int Percent) {
    QFont Font = Widget->font();
    Font.setBold(true);
    Font.setPointSizeF(Font.pointSizeF() * Percent / 100);
    Widget->setFont(Font);
}

void SetWidgetColour(QWidget* Widget, TColor Colour) {
    QPalette Palette = Widget->palette();
    const QColor Qt = QtColor(Colour);
    for (const QPalette::ColorRole Role : {QPalette::Base, QPalette::Window})
        for (const QPalette::ColorGroup Group :
             {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            Palette.setColor(Group, Role, Qt);
    Widget->setPalette(Palette);
    Widget->setAutoFillBackground(true);
}

TQtEdit::TQtEdit(QLineEdit* Box, TEditKind Kind) : TQtControl(Box), FKind(Kind) {
    if (Kind == TEditKind::Address) {
        Box->setMaxLength(AddressLength);
        Box->setContextMenuPolicy(Qt::PreventContextMenu);
        Box->setAcceptDrops(false);
        Box->installEventFilter(new TAddressKeyFilter(Box));
    } else if (Kind == TEditKind::Name) {
        Box->setMaxLength(NameLength);
        Box->setValidator(new TCapitalsValidator(Box));
    }
}

std::string TQtEdit::Text() const {
    return StdText(Widget()->text());
}

void TQtEdit::SetText(const std::string& Value) {
    Widget()->setText(QtText(FKind == TEditKind::Name ? UpperCaseAscii(Value) : Value));
}

std::string TQtMemo::Text() const {
    return StdText(Widget()->toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")));
}

void TQtMemo::SetText(const std::string& Value) {
    Widget()->setPlainText(QtText(Value));
}

// Qt keeps one radio button of a group checked; the program unchecks one only to check another,
// which it may do in either order.
void TQtCheck::SetChecked(bool Value) {
    QAbstractButton* const Button = Widget();
    const bool Exclusive = Button->autoExclusive();
    Button->setAutoExclusive(Exclusive && Value);
    Button->setChecked(Value);
    Button->setAutoExclusive(Exclusive);
}

TQtCombo::TQtCombo(QComboBox* List, std::function<void()> OnUserChange) : TQtControl(List) {
    auto Report = [Change = std::move(OnUserChange)] { RunHandler(Change); };
    QObject::connect(List, &QComboBox::activated, List, Report);
    List->installEventFilter(new TClearOnDelete(List, Report));
}

void TQtCombo::SetItems(const std::vector<std::string>& Texts) {
    QComboBox* const List = Widget();
    List->clear();
    for (const std::string& Text : Texts)
        List->addItem(QtText(Text), 0);
    List->setCurrentIndex(-1);
}

std::string TQtCombo::Text() const {
    const int Index = ItemIndex();
    return Index < 0 ? "" : StdText(Widget()->itemText(Index));
}

TQtListBox::TQtListBox(QListWidget* List, std::function<void()> OnUserChange) : TQtControl(List) {
    QObject::connect(List, &QListWidget::currentRowChanged, List,
                     [Change = std::move(OnUserChange)] { RunHandler(Change); });
}

void TQtListBox::SetItems(const std::vector<std::string>& Texts) {
    const QSignalBlocker Quiet(Widget());
    Widget()->clear();
    for (const std::string& Text : Texts)
        Widget()->addItem(QtText(Text));
    Widget()->setCurrentRow(-1);
}

void TQtListBox::SetItemIndex(int Value) {
    const QSignalBlocker Quiet(Widget());
    Widget()->setCurrentRow(Value);
}
