#include "dialogs/languagedialog.h"
#include "link/logging.h"
#include "ui_languagedialog.h"

#include "domain/configuration.h"
#include "dialogs/dialogtitlebar.h"
#include "dialogs/messagedialog.h"
#include "link/uartworker.h"

#include <QCoreApplication>
#include <QDebug>

LanguageDialog::LanguageDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::LanguageDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->titleWidget->setTitle(tr("Language"));
    ui->okBtn->setDefault(true);
    const int language = Configuration::instance()->getLanguage();
    if (language >= 0 && language < ui->languageCombo->count())
        ui->languageCombo->setCurrentIndex(language);
    connect(ui->titleWidget, &DialogTitleBar::closeSignal, this, &QDialog::close);
}

LanguageDialog::~LanguageDialog()
{
    delete ui;
}

// The running window was built in languageForUI(); getLanguage() is what the
// next start would load. They differ after a change whose restart was put off.
void LanguageDialog::on_okBtn_clicked()
{
    Configuration *configuration = Configuration::instance();
    const int chosen = ui->languageCombo->currentIndex();
    const int running = Configuration::languageForUI();
    const int stored = configuration->getLanguage();
    qCDebug(lcApp) << "language chosen" << chosen << "languageForUI" << running << "getLanguage" << stored;

    if (chosen == running) {
        configuration->setLanguage(running, false);
        configuration->saveLanguage();
    } else {
        const int answer = question(
            tr("Application needs to be restarted \n to apply the language change.\nRestart it now?"));
        if (answer == QDialog::Accepted) {
            restart(chosen);
        } else {
            // Declined: a new choice is kept for the next start; a choice
            // made and declined before (chosen == stored) stays as it is.
            configuration->setLanguage(chosen, false);
            configuration->saveLanguage();
        }
    }
    close();
}

void LanguageDialog::restart(int language)
{
    Configuration *configuration = Configuration::instance();
    configuration->setLanguage(language, true);
    configuration->saveLanguage();
    // The new window must start unconnected, so the port is released first.
    UartWorker::instance()->setConnected(false);
    QCoreApplication::exit(restartExitCode);
}
