#include "dialogs/settimedialog.h"
#include "ui_settimedialog.h"

#include "dialogs/dialogtitlebar.h"

namespace {
constexpr int maxIntervalHours = 1;
constexpr int maxDurationHours = 24;
constexpr int maxMinutesOrSeconds = 59;
} // namespace

SetTimeDialog::SetTimeDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SetTimeDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->titleBar->setTitle(tr("Set time"));
    connect(ui->titleBar, &DialogTitleBar::closeSignal, this, &QDialog::close);
    ui->okBtn->setDefault(true);
}

SetTimeDialog::~SetTimeDialog()
{
    delete ui;
}

void SetTimeDialog::setMode(int newMode)
{
    mode = newMode == Duration ? Duration : Interval;
    const bool duration = mode == Duration;
    ui->secSpinBox->setVisible(!duration);
    ui->secLabel->setVisible(!duration);
    ui->hourSpinBox->setMaximum(duration ? maxDurationHours : maxIntervalHours);
    on_hourSpinBox_valueChanged(ui->hourSpinBox->value());
}

int SetTimeDialog::seconds() const
{
    const int secs = mode == Duration ? 0 : ui->secSpinBox->value();
    return ui->hourSpinBox->value() * 3600 + ui->minSpinBox->value() * 60 + secs;
}

int SetTimeDialog::getSeconds(int mode, int &seconds)
{
    SetTimeDialog dialog;
    dialog.setMode(mode);
    const int result = dialog.exec();
    if (result == QDialog::Accepted)
        seconds = dialog.seconds();
    return result;
}

void SetTimeDialog::on_okBtn_clicked()
{
    accept();
    close();
}

// At the longest span the smaller units are pinned to 0, so an interval is
// at most 1:00:00 and a duration at most 24:00.
void SetTimeDialog::on_hourSpinBox_valueChanged(int value)
{
    if (mode == Duration) {
        if (value == maxDurationHours) {
            ui->minSpinBox->setValue(0);
            ui->minSpinBox->setMaximum(0);
        } else {
            ui->minSpinBox->setMaximum(maxMinutesOrSeconds);
        }
        return;
    }
    if (value == maxIntervalHours) {
        ui->minSpinBox->setValue(0);
        ui->secSpinBox->setValue(0);
        ui->minSpinBox->setMaximum(0);
        ui->secSpinBox->setMaximum(0);
    } else {
        ui->minSpinBox->setMaximum(maxMinutesOrSeconds);
        ui->secSpinBox->setMaximum(maxMinutesOrSeconds);
    }
}
