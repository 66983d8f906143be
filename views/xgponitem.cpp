#include "views/xgponitem.h"

#include "ui_xgponitem.h"
#include "widgets/plaintextlabels.h"

XGPonItem::XGPonItem(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::XGPonItem)
{
    ui->setupUi(this);
    showLabelsAsPlainText(this);
}

XGPonItem::~XGPonItem()
{
    delete ui;
}

QLabel *XGPonItem::numLabel() const
{
    return ui->numLabel;
}

QLabel *XGPonItem::nameLabel() const
{
    return ui->nameLabel;
}

QLabel *XGPonItem::dateTimeLabel() const
{
    return ui->dateTimeLabel;
}
