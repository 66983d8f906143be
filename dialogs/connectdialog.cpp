#include "dialogs/connectdialog.h"
#include "link/logging.h"
#include "ui_connectdialog.h"

#include "dialogs/dialogtitlebar.h"

#include <QDebug>

ConnectDialog::ConnectDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::ConnectDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->titleWidget->setTitle(tr("Connect device"));
    ui->okBtn->setDefault(true);
    connect(ui->titleWidget, &DialogTitleBar::closeSignal, this, &ConnectDialog::closeFromTitleBar);
}

ConnectDialog::~ConnectDialog()
{
    delete ui;
}

void ConnectDialog::fillPorts(const QStringList &portNames)
{
    for (const QString &name : portNames)
        ui->portCombo->addItem(name);
}

void ConnectDialog::closeFromTitleBar()
{
    qCDebug(lcApp) << "closer";
    reject();
}

// Every way of giving up (the title bar's close button, Escape, the window
// being closed) abandons the connection alike.
void ConnectDialog::reject()
{
    QDialog::reject();
    emit closeConnectDialog();
}

// Accepting does not announce anything: the main window goes on to open the
// chosen port at the chosen rate.
void ConnectDialog::on_okBtn_clicked()
{
    chosen.baudRate = ui->baudRateCombo->currentText().toInt();
    chosen.portName = ui->portCombo->currentText();
    qCDebug(lcApp) << "cloon_okBtn_clickedser" << chosen.portName << chosen.baudRate;
    accept();
}
