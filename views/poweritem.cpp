#include "views/poweritem.h"

#include "ui_poweritem.h"
#include "widgets/plaintextlabels.h"

PowerItem::PowerItem(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PowerItem)
{
    ui->setupUi(this);
    showLabelsAsPlainText(this);
}

PowerItem::~PowerItem()
{
    delete ui;
}

QLabel *PowerItem::valueLabel() const
{
    return ui->valueLabel;
}

QLabel *PowerItem::unitLabel() const
{
    return ui->unitLabel;
}

QWidget *PowerItem::backgroundWidget() const
{
    return ui->backgroundWidget;
}
