#pragma once
// Chooses the optical class that readings are checked against, one per
// technology: a GPON class for the PON page, an XG-PON or XGS-PON class for
// the XG-PON page (or none). Each is a class key, empty for no check. The
// dialog only asks: whoever ran it stores an accepted change (settings.ini).

#include "domain/ponclasscheck.h"

#include <QDialog>

class QComboBox;
class QFormLayout;

class PonClassDialog : public QDialog
{
    Q_OBJECT

public:
    // The choices in force, preselected.
    PonClassDialog(const QString &gponClass, const QString &xgPonClass, QWidget *parent = nullptr);

    QString gponChoice() const;
    QString xgPonChoice() const;
    // Either choice differs from the one the dialog opened with.
    bool isChanged() const;

private:
    QComboBox *addChoice(QFormLayout *form, const QString &caption, const char *objectName,
                         PonClassCheck::Technology technology, const QString &current);

    const QString openedGpon;
    const QString openedXgPon;

    QComboBox *gponCombo;
    QComboBox *xgPonCombo;
};
