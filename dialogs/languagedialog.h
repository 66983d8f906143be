#pragma once
// Chooses the interface language. A change applies after the main window is
// rebuilt, which the dialog offers to do at once.

#include <QDialog>

namespace Ui {
class LanguageDialog;
}

class LanguageDialog : public QDialog
{
    Q_OBJECT

public:
    explicit LanguageDialog(QWidget *parent = nullptr);
    ~LanguageDialog() override;

    // The exit code of the event loop that asks start-up for a new window.
    static constexpr int restartExitCode = 1;

signals:
    void languageChanged();

private slots:
    void on_okBtn_clicked();

private:
    void restart(int language);

    Ui::LanguageDialog *ui;
};
