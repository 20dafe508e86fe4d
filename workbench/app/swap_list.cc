#include "workbench/app/swap_list.h"

#include <QDropEvent>

namespace morva::app {

TSwapList::TSwapList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::InternalMove);
    setDefaultDropAction(Qt::MoveAction);
}

void TSwapList::SwapRows(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= count() || to >= count()) return;
    QListWidgetItem* a = item(from);
    QListWidgetItem* b = item(to);
    const QString text = a->text();
    const QVariant data = a->data(Qt::UserRole);
    a->setText(b->text());
    a->setData(Qt::UserRole, b->data(Qt::UserRole));
    b->setText(text);
    b->setData(Qt::UserRole, data);
    {
        // The owner hears of the swap once, after it happened, not as a change of row.
        const QSignalBlocker blocker(this);
        setCurrentRow(to);
    }
    viewport()->update();
    emit itemsSwapped(from, to);
}

// The list's own move is replaced by a swap with the item under the drop point.
void TSwapList::dropEvent(QDropEvent* event) {
    const int from = currentRow();
    const QListWidgetItem* target = itemAt(event->position().toPoint());
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (target) SwapRows(from, row(target));
}

}  // namespace morva::app
