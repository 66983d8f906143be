#pragma once
// One PON wavelength in a table cell: power, reference and verdict icon.

#include <QWidget>

class QLabel;

namespace Ui {
class PonSingleWaveItem;
}

class PonSingleWaveItem : public QWidget
{
    Q_OBJECT
public:
    explicit PonSingleWaveItem(QWidget *parent = nullptr);
    ~PonSingleWaveItem() override;

    QLabel *powerLabel() const;
    QLabel *refLabel() const;
    QWidget *stateWidget() const;
    QWidget *backgroundWidget() const;

private:
    Ui::PonSingleWaveItem *ui;
};
