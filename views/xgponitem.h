#pragma once
// Card of one XG-PON record: number, name, time and up to five readings
// side by side. The view finds the reading labels by object name.

#include <QWidget>

class QLabel;

namespace Ui {
class XGPonItem;
}

class XGPonItem : public QWidget
{
    Q_OBJECT
public:
    explicit XGPonItem(QWidget *parent = nullptr);
    ~XGPonItem() override;

    QLabel *numLabel() const;
    QLabel *nameLabel() const;
    QLabel *dateTimeLabel() const;

private:
    Ui::XGPonItem *ui;
};
