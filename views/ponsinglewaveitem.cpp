#include "views/ponsinglewaveitem.h"

#include "ui_ponsinglewaveitem.h"
#include "widgets/plaintextlabels.h"

PonSingleWaveItem::PonSingleWaveItem(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PonSingleWaveItem)
{
    ui->setupUi(this);
    showLabelsAsPlainText(this);
}

PonSingleWaveItem::~PonSingleWaveItem()
{
    delete ui;
}

QLabel *PonSingleWaveItem::powerLabel() const
{
    return ui->powerLabel;
}

QLabel *PonSingleWaveItem::refLabel() const
{
    return ui->refLabel;
}

QWidget *PonSingleWaveItem::stateWidget() const
{
    return ui->stateWidget;
}

QWidget *PonSingleWaveItem::backgroundWidget() const
{
    return ui->backgroundWidget;
}
