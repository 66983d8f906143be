#pragma once
// A table cell with one value and its unit; the view writes both and the
// row colour of the background.

#include <QWidget>

class QLabel;

namespace Ui {
class PowerItem;
}

class PowerItem : public QWidget
{
    Q_OBJECT
public:
    explicit PowerItem(QWidget *parent = nullptr);
    ~PowerItem() override;

    QLabel *valueLabel() const;
    QLabel *unitLabel() const;
    QWidget *backgroundWidget() const;

private:
    Ui::PowerItem *ui;
};
