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

TQtTreeView::~TQtTreeView() {
    qDeleteAll(FPending);
}

void TQtTreeView::Clear() {
    qDeleteAll(FPending);
    FPending.clear();
    FToExpand.clear();
    FWidget->clear();
}

HTreeNode TQtTreeView::Add(HTreeNode Parent, const TTreeItem& Item) {
    auto* const Added = new QTreeWidgetItem();
    Added->setText(0, QString::fromStdString(Item.Text));
    Added->setData(0, PictureRole, Item.ImageIndex);
    Added->setData(0, SelectedPictureRole, Item.SelectedIndex);
    Added->setIcon(0, Picture16(Item.ImageIndex));
    Added->setData(0, DataRole, QVariant::fromValue<qlonglong>(Item.Data));
    if (Item.Bold) {
        QFont Font = Added->font(0);
        Font.setBold(true);
        Added->setFont(0, Font);
    }
    if (Parent != 0)
        ItemOf(Parent)->addChild(Added);
    else if (FUpdateDepth > 0)
        FPending.append(Added);
    else
        FWidget->addTopLevelItem(Added);
    if (Item.Expanded && FUpdateDepth > 0)
        FToExpand.append(Added);
    else if (Item.Expanded)
        Added->setExpanded(true);
    return NodeOf(Added);
}

void TQtTreeView::BeginUpdate() {
    if (FUpdateDepth++ == 0)
        FWidget->setUpdatesEnabled(false);
}

void TQtTreeView::EndUpdate() {
    if (--FUpdateDepth > 0)
        return;
    FWidget->addTopLevelItems(FPending);
    FPending.clear();
    // Only an item inside the widget can be opened.
    for (QTreeWidgetItem* Item : FToExpand)
        Item->setExpanded(true);
    FToExpand.clear();
    FWidget->setUpdatesEnabled(true);
}

std::intptr_t TQtTreeView::Data(HTreeNode Node) const {
    return static_cast<std::intptr_t>(ItemOf(Node)->data(0, DataRole).toLongLong());
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
