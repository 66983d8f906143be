#pragma once
// The application's message box: information with one "OK" button, yes/no
// questions, and a yes/no question that can offer "No longer prompt".
// All of them are modal and frameless; the caller translates the text.

#include <QDialog>

namespace Ui {
class MessageDialog;
}

class MessageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MessageDialog(QWidget *parent = nullptr);
    ~MessageDialog() override;

    void setMessage(const QString &text);
    // showMessage: "OK" only. question: "No" and "Yes". The option box is
    // shown only when asked for.
    void setOneButton();
    void setOptionVisible(bool visible);

private slots:
    void on_noBtn_clicked();
    void on_yesBtn_clicked();
    void on_CheckedButton_clicked(bool checked);

private:
    Ui::MessageDialog *ui;
};

// Each returns the dialog's result: 1 for "Yes" or "OK", 0 otherwise
// (including a dialog closed with Escape).
int showMessage(const QString &text);
int question(const QString &text);
// With showOption, the "No longer prompt" box is shown unchecked and
// noLongerPrompt starts again from false; ticking the box sets the flag at
// once, whatever the answer.
int questionWithOption(const QString &text, bool showOption);

// Set by the "No longer prompt" box, read by the save prompt; lasts for the
// process only.
extern bool noLongerPrompt;
