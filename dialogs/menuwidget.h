#pragma once
// The main window's drop-down menu. A popup that deletes itself on close.

#include <QWidget>

namespace Ui {
class MenuWidget;
}

class MenuWidget : public QWidget
{
    Q_OBJECT

public:
    explicit MenuWidget(QWidget *parent = nullptr);
    ~MenuWidget() override;

signals:
    void connectDev();
    void syncDateTime();
    void languageChanged();
    void ponClassChanged();
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
    Ui::MenuWidget *ui;
};
