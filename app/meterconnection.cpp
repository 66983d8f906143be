#include "app/meterconnection.h"

#include "dialogs/connectdialog.h"
#include "dialogs/messagedialog.h"
#include "link/devdatas.h"
#include "link/logging.h"
#include "link/portdiagnosis.h"
#include "domain/baseformlogic.h"
#include "widgets/chartform.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

namespace {
const QString ConnectedStyle = QStringLiteral(
    "QPushButton {border: 0px;image: url(:/img/connect_button_connected.png);}"
    "QPushButton:pressed {image: url(:/img/connect_button_down.png);}");
const QString UnconnectedStyle = QStringLiteral(
    "QPushButton {border: 0px;image: url(:/img/connect_button_unconnected.png);}"
    "QPushButton:pressed {image: url(:/img/connect_button_down.png);}");
} // namespace

MeterConnection::MeterConnection(const Controls &controls, const QList<PageEntry> *pages, const DevDatas *meter,
                                 std::function<bool()> portAlive, QObject *parent)
    : QObject(parent), ui(controls), pages(pages), meter(meter), portAlive(std::move(portAlive))
{
}

void MeterConnection::toggle()
{
    // Until the link answers, a second press would race the first.
    ui.connect->setEnabled(false);
    if (requested) {
        requested = false;
        ui.chart->setPlayEnabled(false);
        emit closing();
        return;
    }
    for (const PageEntry &entry : *pages) {
        if (entry.records)
            entry.records->clearDatas();
    }
    ui.chart->clearDatas();
    requested = true;
    ui.chart->setPlayEnabled(true);
    emit opening();
}

void MeterConnection::initDone(Uart::PortInitState state)
{
    qCDebug(lcApp) << "devInited" << state;
    ui.connect->setEnabled(true);

    if (state == Uart::InitFailed) {
        requested = false;
        // A download or run waiting for the port to come back cannot go on.
        if (resumeAfterReconnect) {
            resumeAfterReconnect = false;
            emit resumeFailed();
        }
        // The same first line as ever; what each port showed follows it.
        showMessage(PortDiagnosis::message(QCoreApplication::translate("MainWindow", "Failed to connect device"),
                                           Uart::lastPortReports()));
        return;
    }

    if (state == Uart::SeveralDevices) {
        ConnectDialog dialog;
        dialog.setWindowFlag(Qt::FramelessWindowHint);
        dialog.fillPorts(Uart::candidatePortNames);
        connect(&dialog, &ConnectDialog::closeConnectDialog, this, &MeterConnection::dropRequest);
        dialog.exec();
        if (requested) {
            qCDebug(lcApp) << " emit  reinitDev";
            emit reinitRequested(dialog.chosenPort());
        }
        return;
    }

    if (state != Uart::InitOk)
        return;

    // Whatever this meter turns out to be, a resume is asked for at most once.
    const bool resume = resumeAfterReconnect;
    resumeAfterReconnect = false;
    emit identified();
    ui.connect->setStyleSheet(ConnectedStyle);
    ui.device->setText(meter->devType);
    if (meter->kind() != MeterKind::PartialWave)
        ui.chartButton->setEnabled(meter->rangeCode != 0);
    qCDebug(lcApp) << "devDatas->devTypeData.devType=" << meter->devType;

    if (!meter->hasRecordPages) {
        ui.chartButton->setEnabled(true);
        return;
    }
    if (resume) {
        emit resumeDue();
        return;
    }
    enableOfferedPages();
}

void MeterConnection::enableOfferedPages()
{
    const QList<PageType> offered = pagesFor(*meter);
    for (const PageEntry &entry : *pages) {
        const bool enabled = offered.contains(entry.type);
        entry.button->setEnabled(enabled);
        if (!enabled && entry.button->isChecked()) {
            entry.button->setChecked(false);
            emit pageWithdrawn();
        }
    }
}

void MeterConnection::closed()
{
    requested = false;
    resumeAfterReconnect = false;
    emit lost();
    ui.device->setText(QCoreApplication::translate("MainWindow", "No connection"));
    for (const PageEntry &entry : *pages) {
        entry.button->setChecked(false);
        entry.button->setEnabled(false);
    }
    ui.connect->setStyleSheet(UnconnectedStyle);
    ui.connect->setEnabled(true);
    ui.chart->setPlayEnabled(false);
}
