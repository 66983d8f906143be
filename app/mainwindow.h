#pragma once
// The application's only top-level window: connects to the meter, offers the
// pages that the connected meter supports, downloads stored records into the
// page shown, runs real-time sampling, sets the meter's clock and saves
// reports.

#include <QMainWindow>

namespace Ui {
class MainWindow;
}

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

private:
    Ui::MainWindow *ui;
};
