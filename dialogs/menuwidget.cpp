#include "dialogs/menuwidget.h"
#include "ui_menuwidget.h"

#include "dialogs/aboutdialog.h"
#include "dialogs/languagedialog.h"
#include "dialogs/ponclassdialog.h"
#include "domain/configuration.h"

#include <QPointer>

MenuWidget::MenuWidget(bool meterConnected, QWidget *parent)
    : QWidget(parent), ui(new Ui::MenuWidget)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_StyledBackground);
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setWindowModality(Qt::WindowModal);
    ui->connectBtn->hide();
    // The clock can only be set on a meter that is there.
    ui->syncTimeBtn->setEnabled(meterConnected);
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

// A popup is closed when a modal dialog takes over, and the dialog's own
// event loop may carry out the deletion that follows. While an entry's dialog
// runs the menu is therefore only hidden, so that it is still there to pass
// the answer on; it goes once the entry is done.
int MenuWidget::runDialog(QDialog &dialog)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    const int result = dialog.exec();
    setAttribute(Qt::WA_DeleteOnClose, true);
    return result;
}

void MenuWidget::on_languageBtn_clicked()
{
    QPointer<MenuWidget> self(this);
    LanguageDialog dialog(Configuration::languageForUI(), Configuration::instance()->getLanguage());
    connect(&dialog, &LanguageDialog::languageChanged, this, &MenuWidget::languageChanged);
    const bool accepted = runDialog(dialog) == QDialog::Accepted;
    if (!self)
        return;
    if (accepted)
        emit languageChosen(dialog.chosenLanguage(), dialog.restartNow());
    close();
}

void MenuWidget::on_aboutBtn_clicked()
{
    QPointer<MenuWidget> self(this);
    AboutDialog dialog;
    runDialog(dialog);
    if (self)
        close();
}

void MenuWidget::on_ponClassBtn_clicked()
{
    QPointer<MenuWidget> self(this);
    PonClassDialog dialog(PonClassCheck::storedChoice(PonClassCheck::Technology::Gpon),
                          PonClassCheck::storedChoice(PonClassCheck::Technology::XgPon));
    const bool accepted = runDialog(dialog) == QDialog::Accepted;
    if (!self)
        return;
    if (accepted && dialog.isChanged())
        emit ponClassChosen(dialog.gponChoice(), dialog.xgPonChoice());
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
