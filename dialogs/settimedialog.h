#pragma once
// Asks for a time span in hours, minutes and seconds: a sampling interval
// (up to one hour) or a sampling duration (up to 24 hours, whole minutes).

#include <QDialog>

namespace Ui {
class SetTimeDialog;
}

class SetTimeDialog : public QDialog
{
    Q_OBJECT

public:
    enum Mode { Interval = 0, Duration = 1 };

    explicit SetTimeDialog(QWidget *parent = nullptr);
    ~SetTimeDialog() override;

    // Interval: hours 0..1, seconds shown. Duration: hours 0..24, no seconds.
    void setMode(int mode);
    int seconds() const;

    // Runs the dialog; on "OK" (result 1) stores the span in `seconds`,
    // otherwise leaves it untouched. Returns the dialog's result.
    static int getSeconds(int mode, int &seconds);

private slots:
    void on_okBtn_clicked();
    void on_hourSpinBox_valueChanged(int value);

private:
    Ui::SetTimeDialog *ui;
    int mode = Interval;
};
