#include "dialogs/messagedialog.h"
#include "ui_messagedialog.h"

bool noLongerPrompt = false;

MessageDialog::MessageDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::MessageDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);
    ui->yesBtn->setDefault(true);
}

MessageDialog::~MessageDialog()
{
    delete ui;
}

void MessageDialog::setMessage(const QString &text)
{
    ui->msgLabel->setText(text);
}

void MessageDialog::setOneButton()
{
    ui->noBtn->hide();
    ui->CheckedButton->hide();
    ui->yesBtn->setText(tr("OK"));
}

void MessageDialog::setOptionVisible(bool visible)
{
    ui->CheckedButton->setChecked(false);
    ui->CheckedButton->setVisible(visible);
}

void MessageDialog::on_noBtn_clicked()
{
    reject();
    close();
}

void MessageDialog::on_yesBtn_clicked()
{
    accept();
    close();
}

void MessageDialog::on_CheckedButton_clicked(bool checked)
{
    noLongerPrompt = checked;
}

int showMessage(const QString &text)
{
    MessageDialog dialog;
    dialog.setMessage(text);
    dialog.setOneButton();
    return dialog.exec();
}

int question(const QString &text)
{
    MessageDialog dialog;
    dialog.setMessage(text);
    dialog.setOptionVisible(false);
    return dialog.exec();
}

int questionWithOption(const QString &text, bool showOption)
{
    MessageDialog dialog;
    dialog.setMessage(text);
    if (showOption)
        noLongerPrompt = false;
    dialog.setOptionVisible(showOption);
    return dialog.exec();
}
