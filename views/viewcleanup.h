#pragma once
// Disposal of the cell widgets and cards a page put into its view, so that
// none outlives the page of records it was made for.

#include <QList>
#include <QPointer>

class QListWidget;
class QTableWidget;
class QWidget;

// Deletes every cell widget of the table from `firstColumn` on, and any
// widget in `made` that is still alive; empties `made`.
void deleteCellWidgets(QTableWidget *table, int firstColumn, QList<QPointer<QWidget>> &made);

// Deletes every item widget (card) of the list and any widget in `made` that
// is still alive; empties `made`.
void deleteItemWidgets(QListWidget *list, QList<QPointer<QWidget>> &made);
