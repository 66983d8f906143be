#pragma once
// The wavelength cell of a partial-wave row: one or two wavelengths, each
// with its verdict icon.

#include <QWidget>

class QLabel;

namespace Ui {
class PartialopmWave;
}

class PartialopmWave : public QWidget
{
    Q_OBJECT
public:
    explicit PartialopmWave(QWidget *parent = nullptr);
    ~PartialopmWave() override;

    QLabel *powerLabel() const;
    QLabel *powerLabel2() const;
    QWidget *stateWidget() const;
    QWidget *stateWidget2() const;
    QWidget *backgroundWidget() const;

private:
    Ui::PartialopmWave *ui;
};
