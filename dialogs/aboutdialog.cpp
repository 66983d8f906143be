#include "dialogs/aboutdialog.h"
#include "ui_aboutdialog.h"

#include "dialogs/dialogtitlebar.h"

namespace {
constexpr char programVersion[] = "0.0.2";
}

AboutDialog::AboutDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::AboutDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->titleWidget->setTitle(tr("About"));
    ui->versionLabel->setText(QString::fromLatin1(programVersion));
    connect(ui->titleWidget, &DialogTitleBar::closeSignal, this, &QDialog::close);
}

AboutDialog::~AboutDialog()
{
    delete ui;
}
