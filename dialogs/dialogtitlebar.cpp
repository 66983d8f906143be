#include "dialogs/dialogtitlebar.h"
#include "ui_dialogtitlebar.h"

DialogTitleBar::DialogTitleBar(QWidget *parent)
    : QWidget(parent), ui(new Ui::DialogTitleBar)
{
    ui->setupUi(this);
}

DialogTitleBar::~DialogTitleBar()
{
    delete ui;
}

void DialogTitleBar::setTitle(const QString &title)
{
    ui->titleLabel->setText(title);
}

void DialogTitleBar::on_closeBtn_clicked()
{
    emit closeSignal();
}
