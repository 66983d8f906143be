#pragma once
// The main window's drop-down menu. A popup that deletes itself on close.
// The language and PON class entries run their dialog and pass an accepted
// choice on; the window stores it.

#include <QWidget>

class QDialog;

namespace Ui {
class MenuWidget;
}

class MenuWidget : public QWidget
{
    Q_OBJECT

public:
    // meterConnected: the link is up (the clock can be set).
    explicit MenuWidget(bool meterConnected, QWidget *parent = nullptr);
    ~MenuWidget() override;

signals:
    void connectDev();
    void syncDateTime();
    void languageChanged();
    // The language to store, and whether to rebuild the window in it now.
    void languageChosen(int language, bool restartNow);
    // The class keys to store (empty: no check); only when they changed.
    void ponClassChosen(const QString &gponClass, const QString &xgPonClass);
    // Export what the page shown holds.
    void exportCsv();
    void exportPdf();

private slots:
    void on_connectBtn_clicked();
    void on_syncTimeBtn_clicked();
    void on_optionalInstructionBtn_clicked();
    void on_languageBtn_clicked();
    void on_aboutBtn_clicked();
    void on_ponClassBtn_clicked();
    void on_exportCsvBtn_clicked();
    void on_exportPdfBtn_clicked();

private:
    int runDialog(QDialog &dialog);

    Ui::MenuWidget *ui;
};
