#include "viewcleanup.h"

#include <QListWidget>
#include <QTableWidget>

namespace {
void deleteRemaining(QList<QPointer<QWidget>> &made)
{
    for (const QPointer<QWidget> &widget : qAsConst(made))
        delete widget.data();
    made.clear();
}
} // namespace

void deleteCellWidgets(QTableWidget *table, int firstColumn, QList<QPointer<QWidget>> &made)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        for (int column = firstColumn; column < table->columnCount(); ++column) {
            if (QWidget *widget = table->cellWidget(row, column)) {
                table->removeCellWidget(row, column);
                delete widget;
            }
        }
    }
    deleteRemaining(made);
}

void deleteItemWidgets(QListWidget *list, QList<QPointer<QWidget>> &made)
{
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        if (QWidget *card = list->itemWidget(item)) {
            list->removeItemWidget(item);
            delete card;
        }
    }
    deleteRemaining(made);
}
