#pragma once
// Chooses the optical class that PON and XG-PON readings are checked
// against (or none). The choice is kept in settings.ini.

#include <QDialog>

class QComboBox;

class PonClassDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PonClassDialog(QWidget *parent = nullptr);

signals:
    void classChanged();

private:
    void accept() override;

    QComboBox *combo;
};
