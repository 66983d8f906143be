#include "app/downloadcontrol.h"

#include "session/downloadsession.h"
#include "app/saveflow.h"
#include "dialogs/messagedialog.h"
#include "link/logging.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>

DownloadControl::DownloadControl(const Controls &controls, const Parts &parts, QObject *parent)
    : QObject(parent), ui(controls), parts(parts)
{
    connect(parts.session, &DownloadSession::countKnown, this, [this](int count) {
        ui.progress->setMaximum(count);
        ui.progress->setValue(0);
        ui.progress->show();
    });
    connect(parts.session, &DownloadSession::progress, ui.progress, &QProgressBar::setValue);
    connect(parts.session, &DownloadSession::ended, this, [this]() {
        ui.save->setEnabled(true);
        ui.menu->setEnabled(true);
        finish();
    });
}

void DownloadControl::clicked(bool checked)
{
    const PageType pageType = parts.shownPage().type;
    qCDebug(lcApp) << "on_downloadBtn_clicked=" << checked << parts.busy() << int(pageType)
                   << parts.saves->hasUnsaved() << parts.saves->isPromptOff();
    if (checked) {
        ui.save->setEnabled(false);
        if (parts.saves->askToSave() && !parts.linkUp()) {
            // Unplugged while the question was open: no download on a dead link.
            ui.download->setChecked(false);
            ui.save->setEnabled(true);
            return;
        }
        ui.menu->setEnabled(false);
        parts.saves->markUnsaved();
        const PageEntry &entry = parts.shownPage();
        if (entry.countRequest) {
            if (pageType == PageType::MultiWave)
                qCDebug(lcApp) << "123456654987";
            parts.session->start(entry);
        } else {
            ui.download->setChecked(false);
        }
        qCDebug(lcApp) << "aaaa" << int(pageType);
        return;
    }

    parts.session->hold();
    if (question(QCoreApplication::translate("MainWindow", "Whether to stop importing datas?")) == 1) {
        finish();
        ui.save->setEnabled(true);
        ui.menu->setEnabled(true);
    } else if (parts.session->isRunning()) {
        // The download may have ended while the question was open; then there
        // is nothing to go on with.
        ui.download->setChecked(true);
        parts.session->requestNext(parts.shownPage());
    }
}

void DownloadControl::finish()
{
    parts.session->finish();
    ui.save->setEnabled(true);
    ui.download->setChecked(false);
    ui.progress->hide();
    emit finished();
}
