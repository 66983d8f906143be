#include "dialogs/aboutdialog.h"
#include "ui_aboutdialog.h"

#include "dialogs/dialogtitlebar.h"

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::AboutDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->titleWidget->setTitle(tr("About"));
    ui->versionLabel->setText(QStringLiteral(LUMISK_VERSION));
    connect(ui->titleWidget, &DialogTitleBar::closeSignal, this, &QDialog::close);
}

AboutDialog::~AboutDialog()
{
    delete ui;
}
