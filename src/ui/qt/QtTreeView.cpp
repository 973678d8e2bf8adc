#include "ui/qt/QtTreeView.h"

#include "ui/qt/QtPictures.h"

#include <QContextMenuEvent>
#include <QTreeWidgetItemIterator>

namespace {

// What a node keeps besides its text: the program's number and the picture of its selected state.
const int DataRole = Qt::UserRole;
const int SelectedPictureRole = Qt::UserRole + 1;
const int PictureRole = Qt::UserRole + 2;

// The selected node shows its own picture, as on Windows.
void ShowPicture(QTreeWidgetItem* Item, bool Selected) {
    const int Index = Item->data(0, Selected ? SelectedPictureRole : PictureRole).toInt();
    Item->setIcon(0, Picture16(Index));
}

} // namespace

TTreeWidget::TTreeWidget(QWidget* Parent) : QTreeWidget(Parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setIconSize(QSize(16, 16));
    connect(this, &QTreeWidget::currentItemChanged, this,
            [](QTreeWidgetItem* Now, QTreeWidgetItem* Before) {
                if (Before)
                    ShowPicture(Before, false);
                if (Now)
                    ShowPicture(Now, true);
            });
}

void TTreeWidget::contextMenuEvent(QContextMenuEvent* Event) {
    if (OnContextMenu)
        OnContextMenu(Event);
}

HTreeNode TQtTreeView::AddChild(HTreeNode Parent, const std::string& Text) {
    auto* const Added =
        Parent == 0 ? new QTreeWidgetItem(FWidget) : new QTreeWidgetItem(ItemOf(Parent));
    Added->setText(0, QString::fromStdString(Text));
    return NodeOf(Added);
}

void TQtTreeView::SetImages(HTreeNode Node, int ImageIndex, int SelectedIndex) {
    QTreeWidgetItem* const I = ItemOf(Node);
    I->setData(0, PictureRole, ImageIndex);
    I->setData(0, SelectedPictureRole, SelectedIndex);
    ShowPicture(I, I == FWidget->currentItem());
}

void TQtTreeView::SetData(HTreeNode Node, std::intptr_t Data) {
    ItemOf(Node)->setData(0, DataRole, QVariant::fromValue<qlonglong>(Data));
}

std::intptr_t TQtTreeView::Data(HTreeNode Node) const {
    return static_cast<std::intptr_t>(ItemOf(Node)->data(0, DataRole).toLongLong());
}

void TQtTreeView::SetBold(HTreeNode Node, bool Bold) {
    QFont Font = ItemOf(Node)->font(0);
    Font.setBold(Bold);
    ItemOf(Node)->setFont(0, Font);
}

int TQtTreeView::Count() const {
    int N = 0;
    for (QTreeWidgetItemIterator It(FWidget); *It; ++It)
        ++N;
    return N;
}

HTreeNode TQtTreeView::Item(int Index) const {
    QTreeWidgetItemIterator It(FWidget);
    for (int I = 0; *It && I < Index; ++I)
        ++It;
    return NodeOf(*It);
}

int TQtTreeView::Level(HTreeNode Node) const {
    int N = 0;
    for (QTreeWidgetItem* P = ItemOf(Node)->parent(); P; P = P->parent())
        ++N;
    return N;
}

std::string TQtTreeView::Text(HTreeNode Node) const {
    return ItemOf(Node)->text(0).toStdString();
}

HTreeNode TQtTreeView::Selected() const {
    const QList<QTreeWidgetItem*> Chosen = FWidget->selectedItems();
    return Chosen.isEmpty() ? 0 : NodeOf(Chosen.first());
}

void TQtTreeView::SetSelected(HTreeNode Node) {
    if (Node != 0)
        FWidget->setCurrentItem(ItemOf(Node));
    else
        FWidget->clearSelection();
}
