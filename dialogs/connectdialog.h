#pragma once
// Asks for the port and the baud rate when no meter was found on its own,
// and hands the choice to the serial transport.

#include <QDialog>

namespace Ui {
class ConnectDialog;
}

class ConnectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ConnectDialog(QWidget *parent = nullptr);
    ~ConnectDialog() override;

    // Lists the ports the transport found, in its order.
    void fillPorts();
    void reject() override;

signals:
    // The user gave up (title bar, Escape): nothing is to be opened.
    void closeConnectDialog();

private slots:
    void on_okBtn_clicked();

private:
    void closeFromTitleBar();

    Ui::ConnectDialog *ui;
};
