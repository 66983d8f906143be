#include "views/multiwaveopmitem.h"

#include "ui_multiwaveopmitem.h"
#include "widgets/plaintextlabels.h"

MultiWaveOpmItem::MultiWaveOpmItem(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::MultiWaveOpmItem)
{
    ui->setupUi(this);
    showLabelsAsPlainText(this);
}

MultiWaveOpmItem::~MultiWaveOpmItem()
{
    delete ui;
}

QLabel *MultiWaveOpmItem::numLabel() const
{
    return ui->numLabel;
}

QLabel *MultiWaveOpmItem::nameLabel() const
{
    return ui->nameLabel;
}

QLabel *MultiWaveOpmItem::dateTimeLabel() const
{
    return ui->dateTimeLabel;
}
