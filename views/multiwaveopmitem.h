#pragma once
// Card of one multi-wavelength record: number, name, time and up to five
// readings side by side. The view finds the reading labels by object name.

#include <QWidget>

class QLabel;

namespace Ui {
class MultiWaveOpmItem;
}

class MultiWaveOpmItem : public QWidget
{
    Q_OBJECT
public:
    explicit MultiWaveOpmItem(QWidget *parent = nullptr);
    ~MultiWaveOpmItem() override;

    QLabel *numLabel() const;
    QLabel *nameLabel() const;
    QLabel *dateTimeLabel() const;

private:
    Ui::MultiWaveOpmItem *ui;
};
