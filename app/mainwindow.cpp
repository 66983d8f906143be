#include "mainwindow.h"
#include "ui_mainwindow.h"

#include <QFont>
#include <QIcon>

namespace {
constexpr int MinimumWindowWidth = 640;
constexpr int PageButtonPointSize = 8;
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    setMinimumWidth(MinimumWindowWidth);

    QFont heavy(QStringLiteral("Alibaba PuHuiTi Heavy"), PageButtonPointSize, QFont::Bold, false);
    const QList<QPushButton *> pageButtons = {ui->opmBtn, ui->multiWaveOpmBtn, ui->partialOpmBtn,
                                              ui->ponOpmBtn, ui->xgPonBtn, ui->fttxBtn, ui->chartBtn};
    for (QPushButton *button : pageButtons)
        button->setFont(heavy);
    for (QWidget *page : ui->pagesWidget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        page->hide();
    ui->realTimeParamWidget->hide();
    ui->downloadBtn->hide();
    ui->saveBtn->hide();
    ui->timerLabel->hide();
    ui->progressBar->hide();

    setWindowTitle(tr("Lumisk"));
    setWindowIcon(QIcon(QStringLiteral(":/img/logob_t3.png")));
}

MainWindow::~MainWindow()
{
    delete ui;
}
