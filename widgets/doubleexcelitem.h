#pragma once
// A table cell showing two values one above the other, each with its unit
// to the right. The view that places it writes the texts, hides the labels
// it does not need and sets the row's background.

#include <QWidget>

class QLabel;

namespace Ui {
class DoubleExcelItem;
}

class DoubleExcelItem : public QWidget
{
    Q_OBJECT

public:
    explicit DoubleExcelItem(QWidget *parent = nullptr);
    ~DoubleExcelItem() override;

    QLabel *valueLabel1() const;
    QLabel *unitLabel1() const;
    QLabel *valueLabel2() const;
    QLabel *unitLabel2() const;

private:
    Ui::DoubleExcelItem *ui;
};
