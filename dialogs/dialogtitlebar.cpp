#include "dialogs/dialogtitlebar.h"
#include "ui_dialogtitlebar.h"

DialogTitleBar::DialogTitleBar(QWidget *parent)
    : QWidget(parent), ui(new Ui::DialogTitleBar)
{
    ui->setupUi(this);
    // An icon only: the words are for the tooltip and the screen reader.
    ui->closeBtn->setToolTip(tr("Close"));
    ui->closeBtn->setAccessibleName(tr("Close"));
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
