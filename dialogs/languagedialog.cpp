#include "dialogs/languagedialog.h"
#include "link/logging.h"
#include "ui_languagedialog.h"

#include "dialogs/dialogtitlebar.h"
#include "dialogs/messagedialog.h"

#include <QDebug>

LanguageDialog::LanguageDialog(int running, int stored, QWidget *parent)
    : QDialog(parent), ui(new Ui::LanguageDialog), running(running), stored(stored), chosen(stored)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->titleWidget->setTitle(tr("Language"));
    ui->okBtn->setDefault(true);
    if (stored >= 0 && stored < ui->languageCombo->count())
        ui->languageCombo->setCurrentIndex(stored);
    connect(ui->titleWidget, &DialogTitleBar::closeSignal, this, &QDialog::close);
}

LanguageDialog::~LanguageDialog()
{
    delete ui;
}

// Going back to the running language needs no restart. Any other choice asks
// whether to restart now; declined, it is kept for the next start (and a
// choice declined before is simply kept again).
void LanguageDialog::on_okBtn_clicked()
{
    chosen = ui->languageCombo->currentIndex();
    qCDebug(lcApp) << "language chosen" << chosen << "languageForUI" << running << "getLanguage" << stored;
    restart = chosen != running
        && question(tr("Application needs to be restarted \n to apply the language change.\nRestart it now?"))
            == QDialog::Accepted;
    accept();
}
