#pragma once
// Asks for the port and the baud rate when several meters answered; the
// caller takes the choice from chosenPort() once the dialog is accepted.

#include "link/uart.h"

#include <QDialog>
#include <QStringList>

namespace Ui {
class ConnectDialog;
}

class ConnectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConnectDialog(QWidget *parent = nullptr);
    ~ConnectDialog() override;

    // Lists the ports offered (those the transport found), in their order.
    void fillPorts(const QStringList &portNames);
    void reject() override;

    // The port and rate the user accepted (the port's name is empty when the
    // list was).
    Uart::Settings chosenPort() const { return chosen; }

signals:
    // The user gave up (title bar, Escape): nothing is to be opened.
    void closeConnectDialog();

private slots:
    void on_okBtn_clicked();

private:
    void closeFromTitleBar();

    Ui::ConnectDialog *ui;
    Uart::Settings chosen;
};
