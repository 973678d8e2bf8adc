#include "tray/qt/QtMenus.h"

#include "ui/qt/QtControls.h"
#include "ui/qt/QtPictures.h"

#include <QMenu>

namespace {

void AddItems(QMenu& Menu, const TMenuItem& Parent) {
    for (int I = 0; I < Parent.Count(); ++I) {
        TMenuItem* const Item = Parent.Items(I);
        if (Item->Caption == "-") {
            Menu.addSeparator();
            continue;
        }
        QString Text = QtText(Item->Caption);
        // Shown beside the caption only: the window's own shortcuts do the work.
        if (!Item->ShortCut.empty())
            Text += QLatin1Char('\t') + QtText(Item->ShortCut);
        QAction* Action = nullptr;
        if (Item->Count() > 0) {
            QMenu* const Sub = Menu.addMenu(Text);
            AddItems(*Sub, *Item);
            Action = Sub->menuAction();
        } else {
            Action = Menu.addAction(Text);
            Action->setData(QVariant::fromValue<void*>(Item));
        }
        Action->setEnabled(Item->Enabled);
        Action->setCheckable(Item->Checked);
        Action->setChecked(Item->Checked);
        Action->setIcon(Picture16(Item->ImageIndex));
        if (Item->Default) {
            QFont Bold = Action->font();
            Bold.setBold(true);
            Action->setFont(Bold);
        }
    }
}

} // namespace

void PopupMenu(TPopupMenu& Menu, QPoint At) {
    QMenu Shown;
    AddItems(Shown, Menu.Items());
    QAction* const Chosen = Shown.exec(At);
    if (Chosen == nullptr || !Chosen->data().isValid())
        return;
    auto* const Item = static_cast<TMenuItem*>(Chosen->data().value<void*>());
    RunHandler([Item] { Item->Click(); });
}
