#include "widgets/plaintextlabels.h"

#include <QLabel>

void showLabelsAsPlainText(QWidget *root)
{
    if (auto *label = qobject_cast<QLabel *>(root))
        label->setTextFormat(Qt::PlainText);
    const QList<QLabel *> labels = root->findChildren<QLabel *>();
    for (QLabel *label : labels)
        label->setTextFormat(Qt::PlainText);
}
