#pragma once
// Chooses the interface language. A change applies after the main window is
// rebuilt, which the dialog offers to do at once. The dialog only asks: once
// it is accepted, whoever ran it stores chosenLanguage() and, with
// restartNow(), rebuilds the window.

#include <QDialog>

namespace Ui {
class LanguageDialog;
}

class LanguageDialog : public QDialog
{
    Q_OBJECT

public:
    // running: the language the window on screen was built in; stored: the
    // one the next start loads (they differ after a restart put off).
    LanguageDialog(int running, int stored, QWidget *parent = nullptr);
    ~LanguageDialog() override;

    int chosenLanguage() const { return chosen; }
    bool restartNow() const { return restart; }

signals:
    void languageChanged();

private slots:
    void on_okBtn_clicked();

private:
    Ui::LanguageDialog *ui;
    const int running;
    const int stored;
    int chosen;
    bool restart = false;
};
