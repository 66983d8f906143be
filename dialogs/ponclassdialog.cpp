#include "dialogs/ponclassdialog.h"

#include "app/ponclasscheck.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

PonClassDialog::PonClassDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("PON class"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(tr("Check PON and XG-PON readings against the optical class:"), this);
    label->setWordWrap(true);
    layout->addWidget(label);

    combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("ponClassCombo"));
    combo->addItem(tr("No class check"), QString());
    for (const PonClassCheck::OpticalClass &opticalClass : PonClassCheck::builtInClasses())
        combo->addItem(opticalClass.name, opticalClass.key);
    const int stored = combo->findData(PonClassCheck::storedChoice().trimmed().toLower());
    combo->setCurrentIndex(stored < 0 ? 0 : stored);
    layout->addWidget(combo);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okBtn"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &PonClassDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PonClassDialog::reject);
    layout->addWidget(buttons);
}

void PonClassDialog::accept()
{
    const QString chosen = combo->currentData().toString();
    if (chosen != PonClassCheck::storedChoice().trimmed().toLower()) {
        PonClassCheck::storeChoice(chosen);
        emit classChanged();
    }
    QDialog::accept();
}
