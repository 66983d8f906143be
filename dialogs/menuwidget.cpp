#include "dialogs/menuwidget.h"
#include "ui_menuwidget.h"

#include "dialogs/aboutdialog.h"
#include "dialogs/languagedialog.h"
#include "dialogs/ponclassdialog.h"
#include "link/uartworker.h"

#include <QPointer>

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

// A popup is closed, and so deleted, when a modal dialog takes over; the
// dialog's own event loop may carry out that deletion before exec() returns.
void MenuWidget::on_languageBtn_clicked()
{
    QPointer<MenuWidget> self(this);
    LanguageDialog dialog;
    connect(&dialog, &LanguageDialog::languageChanged, this, &MenuWidget::languageChanged);
    dialog.exec();
    if (self)
        close();
}

void MenuWidget::on_aboutBtn_clicked()
{
    QPointer<MenuWidget> self(this);
    AboutDialog dialog;
    dialog.exec();
    if (self)
        close();
}

void MenuWidget::on_ponClassBtn_clicked()
{
    QPointer<MenuWidget> self(this);
    PonClassDialog dialog;
    connect(&dialog, &PonClassDialog::classChanged, this, &MenuWidget::ponClassChanged);
    dialog.exec();
    if (self)
        close();
}

// The popup goes first: the folder dialog that follows is modal.
void MenuWidget::on_exportCsvBtn_clicked()
{
    close();
    emit exportCsv();
}

void MenuWidget::on_exportPdfBtn_clicked()
{
    close();
    emit exportPdf();
}
