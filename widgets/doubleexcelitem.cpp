#include "widgets/doubleexcelitem.h"
#include "ui_doubleexcelitem.h"
#include "widgets/plaintextlabels.h"

DoubleExcelItem::DoubleExcelItem(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::DoubleExcelItem)
{
    ui->setupUi(this);
    showLabelsAsPlainText(this);
}

DoubleExcelItem::~DoubleExcelItem()
{
    delete ui;
}

QLabel *DoubleExcelItem::valueLabel1() const
{
    return ui->valueLabel1;
}

QLabel *DoubleExcelItem::unitLabel1() const
{
    return ui->unitLabel1;
}

QLabel *DoubleExcelItem::valueLabel2() const
{
    return ui->valueLabel2;
}

QLabel *DoubleExcelItem::unitLabel2() const
{
    return ui->unitLabel2;
}
