#include "dialogs/menuwidget.h"
#include "ui_menuwidget.h"

#include "dialogs/aboutdialog.h"
#include "dialogs/languagedialog.h"
#include "link/uartworker.h"

MenuWidget::MenuWidget(QWidget *parent)
    : QWidget(parent), ui(new Ui::MenuWidget)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
    ui->connectBtn->hide();
    // The clock can only be set on a meter that is there.
    ui->syncTimeBtn->setEnabled(UartWorker::instance()->isConnected());
}

MenuWidget::~MenuWidget()
{
    delete ui;
}

void MenuWidget::on_connectBtn_clicked()
{
    emit connectDev();
    close();
}

void MenuWidget::on_syncTimeBtn_clicked()
{
    emit syncDateTime();
    close();
}

void MenuWidget::on_optionalInstructionBtn_clicked()
{
}

void MenuWidget::on_languageBtn_clicked()
{
    LanguageDialog dialog;
    connect(&dialog, &LanguageDialog::languageChanged, this, &MenuWidget::languageChanged);
    dialog.exec();
    close();
}

void MenuWidget::on_aboutBtn_clicked()
{
    AboutDialog dialog;
    dialog.exec();
    close();
}
