#include "dialogs/ponclassdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PonClassDialog::PonClassDialog(const QString &gponClass, const QString &xgPonClass, QWidget *parent)
    : QDialog(parent), openedGpon(gponClass), openedXgPon(xgPonClass)
{
    setWindowTitle(tr("PON class"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(tr("Check the readings of each page against the optical class:"), this);
    label->setWordWrap(true);
    layout->addWidget(label);

    auto *form = new QFormLayout;
    layout->addLayout(form);
    gponCombo = addChoice(form, tr("PON page (GPON):"), "gponClassCombo", PonClassCheck::Technology::Gpon,
                          gponClass);
    xgPonCombo = addChoice(form, tr("XG-PON page (XG-PON, XGS-PON):"), "xgPonClassCombo",
                           PonClassCheck::Technology::XgPon, xgPonClass);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okBtn"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PonClassDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PonClassDialog::reject);
    layout->addWidget(buttons);
}

QComboBox *PonClassDialog::addChoice(QFormLayout *form, const QString &caption, const char *objectName,
                                     PonClassCheck::Technology technology, const QString &current)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(QLatin1String(objectName));
    combo->addItem(tr("No class check"), QString());
    for (const PonClassCheck::OpticalClass &opticalClass : PonClassCheck::builtInClasses()) {
        if (opticalClass.technology == technology)
            combo->addItem(opticalClass.name, opticalClass.key);
    }
    const int stored = combo->findData(current);
    combo->setCurrentIndex(stored < 0 ? 0 : stored);
    form->addRow(caption, combo);
    return combo;
}

QString PonClassDialog::gponChoice() const
{
    return gponCombo->currentData().toString();
}

QString PonClassDialog::xgPonChoice() const
{
    return xgPonCombo->currentData().toString();
}

bool PonClassDialog::isChanged() const
{
    return gponChoice() != openedGpon || xgPonChoice() != openedXgPon;
}
