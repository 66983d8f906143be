#pragma once
// Chooses the optical class that readings are checked against, one per
// technology: a GPON class for the PON page, an XG-PON or XGS-PON class for
// the XG-PON page (or none). The choice is kept in settings.ini.

#include "domain/ponclasscheck.h"

#include <QDialog>

class QComboBox;
class QFormLayout;

class PonClassDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PonClassDialog(QWidget *parent = nullptr);

signals:
    void classChanged();

private:
    void accept() override;
    QComboBox *addChoice(QFormLayout *form, const QString &caption, const char *objectName,
                         PonClassCheck::Technology technology);

    QComboBox *gponCombo;
    QComboBox *xgPonCombo;
};
