#pragma once
// The strip across the top of every frameless dialog: a title and a close
// button. It does not move the window; the dialogs have no frame to drag.

#include <QWidget>

namespace Ui {
class DialogTitleBar;
}

class DialogTitleBar : public QWidget
{
    Q_OBJECT

public:
    explicit DialogTitleBar(QWidget *parent = nullptr);
    ~DialogTitleBar() override;

    void setTitle(const QString &title);

signals:
    void closeSignal();

private slots:
    void on_closeBtn_clicked();

private:
    Ui::DialogTitleBar *ui;
};
