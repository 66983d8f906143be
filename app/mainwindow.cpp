#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/configuration.h"
#include "app/requestledger.h"
#include "dialogs/connectdialog.h"
#include "dialogs/menuwidget.h"
#include "dialogs/messagedialog.h"
#include "dialogs/settimedialog.h"
#include "link/commands.h"
#include "link/devdatas.h"
#include "link/realtimeopmvalueframe.h"
#include "link/uartworker.h"
#include "link/valuecountframe.h"
#include "link/valueformat.h"
#include "views/multiwaveopmform.h"
#include "views/opmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"
#include "widgets/chartform.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDebug>
#include <QFileDialog>
#include <QFont>
#include <QIcon>
#include <QResizeEvent>
#include <QScreen>
#include <QGuiApplication>
#include <QStandardPaths>

namespace {
constexpr int MinimumWindowWidth = 640;
// Wide enough that a record table with every column stretched shows whole
// "yy/MM/dd HH:mm" times; used only where the screen has room for it.
constexpr int PreferredWindowWidth = 1220;
constexpr int PreferredWindowHeight = 740;
constexpr double ScreenShare = 0.95;
constexpr int PageButtonPointSize = 8;
constexpr int MaxPageButtonPointSize = 11;
// opmBtn's design size, at which the page buttons use PageButtonPointSize.
constexpr float PageButtonDesignWidth = 123.0f;
constexpr float PageButtonDesignHeight = 28.0f;
constexpr int HeavyWeight = 75;
constexpr int SamplingTickMs = 500;
constexpr int ClockTickMs = 1000;
constexpr int MaxBusyRetries = 5;
constexpr int ResumeAfterReconnectMs = 10;
constexpr int ClockCommandDelayMs = 500;
constexpr float MaxSampleCount = 65535.0f;
constexpr int MenuMargin = 10;
// Entry of both sampling combos that opens the time-span dialog, and the
// index a custom value is appended at.
constexpr int CustomizeIndex = 7;
constexpr int CustomEntryIndex = 8;

const char *const HeavyFamilyFallback = "Alibaba PuHuiTi Heavy";

const QString connectedStyle = QStringLiteral(
    "QPushButton {border: 0px;image: url(:/img/connect_button_connected.png);}"
    "QPushButton:pressed {image: url(:/img/connect_button_down.png);}");
const QString unconnectedStyle = QStringLiteral(
    "QPushButton {border: 0px;image: url(:/img/connect_button_unconnected.png);}"
    "QPushButton:pressed {image: url(:/img/connect_button_down.png);}");

QString heavyFamily()
{
    const QString family = Configuration::heavyFontFamily();
    return family.isEmpty() ? QString::fromLatin1(HeavyFamilyFallback) : family;
}
} // namespace

MainWindow::DirectoryChooser MainWindow::directoryChooser;

void MainWindow::setDirectoryChooser(DirectoryChooser chooser)
{
    directoryChooser = std::move(chooser);
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
    , ponCountFrame(new ValueCountFrame)
    , opmCountFrame(new ValueCountFrame)
    , samplingTimer(this)
    , clockTimer(this)
{
    samplingTimer.setObjectName(QStringLiteral("samplingTimer"));
    clockTimer.setObjectName(QStringLiteral("clockTimer"));
    registerParseResult();

    ui->setupUi(this);
    ui->deviceLabel->setTextFormat(Qt::PlainText); // the meter's model text, shown as it is
    Configuration::instance()->updateLanguageForUI();
    setMinimumWidth(MinimumWindowWidth);
    fitInitialSize();

    tabButtons = {ui->opmBtn, ui->multiWaveOpmBtn, ui->partialOpmBtn, ui->ponOpmBtn,
                  ui->xgPonBtn, ui->fttxBtn, ui->chartBtn};
    applyPageButtonFont(PageButtonPointSize);
    ui->opmBtn->installEventFilter(this);
    for (QWidget *page : ui->pagesWidget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        page->hide();
    ui->realTimeParamWidget->hide();
    ui->downloadBtn->hide();
    ui->saveBtn->hide();
    ui->timerLabel->hide();
    ui->progressBar->hide();

    setWindowTitle(tr("Lumisk"));
    setWindowIcon(QIcon(QStringLiteral(":/img/logob_t3.png")));

    worker = UartWorker::instance();
    // Before the window's own connection to the worker's results.
    ledger = RequestLedger::instance();

    connect(worker, &UartWorker::uartInited, this, &MainWindow::devInited);
    connect(this, &MainWindow::reconnectDev, worker, &UartWorker::reinitUart);
    connect(worker, &UartWorker::responsed, this, &MainWindow::uartResponsed);
    connect(worker, &UartWorker::uartClosed, this, &MainWindow::uartClosed);
    connect(this, &MainWindow::connectDev, worker, &UartWorker::initUart);
    connect(this, &MainWindow::request, worker, &UartWorker::request);
    connect(ui->chart, &ChartForm::resumePause, this, &MainWindow::resumePauseDownloadRealTimeOpmValue);
    connect(ui->chart, &ChartForm::restart, this, &MainWindow::restartDownloadRealTimeOpmValue);
    connect(ui->chart, &ChartForm::stop, this, &MainWindow::stopDownloadRealTimeOpmValue);
    connect(ui->chart, &ChartForm::cleardata, this, &MainWindow::dataclear);
    connect(this, &MainWindow::reinitDev, worker, &UartWorker::initUartOutPoint);
    connect(worker, SIGNAL(ReconnectResult(Uart::PortInitState)), this,
            SLOT(ReconnectRelsult(Uart::PortInitState)));

    devDatas = DevDatas::instance();

    connect(&samplingTimer, &QTimer::timeout, this, &MainWindow::downloadRealTimeOpmValueTimes);
    connect(&clockTimer, &QTimer::timeout, this, &MainWindow::updateDateTime);
    clockTimer.start(ClockTickMs);

    ui->chart->setPlayEnabled(false);
}

MainWindow::~MainWindow()
{
    ui->opmBtn->removeEventFilter(this);
    samplingTimer.stop();
    clockTimer.stop();
    // Frames still out with the worker must outlive this window: hand them to
    // the ledger and give the pages fresh ones to delete with themselves.
    for (int type = OpmPage; type <= XGPonPage; ++type) {
        BaseFormLogic *page = recordPage(type);
        if (ledger->isInFlight(page->frame())) {
            ledger->retire(page->frame());
            page->createFrame();
        }
    }
    if (ledger->isInFlight(ui->chart->frame())) {
        ledger->retire(ui->chart->frame());
        ui->chart->createFrame();
    }
    ledger->retire(ponCountFrame);
    ledger->retire(opmCountFrame);
    ledger->retire(pendingFrame);
    delete ui;
}

// ---------------------------------------------------------------- connecting

void MainWindow::on_connectBtn_clicked()
{
    if (importing)
        return;
    ui->connectBtn->setEnabled(false);
    if (connectRequested) {
        importing = false;
        unsaved = false;
        worker->closeUart();
        connectRequested = false;
        ui->chart->setPlayEnabled(false);
        return;
    }
    for (QWidget *page : ui->pagesWidget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        page->hide();
    unsaved = false;
    ui->opmTable->clearDatas();
    ui->multiWaveOpmTable->clearDatas();
    ui->PartialOpmWaveTable->clearDatas();
    ui->ponOpmTable->clearDatas();
    ui->xGPonTable->clearDatas();
    ui->chart->clearDatas();
    connectRequested = true;
    ui->chart->setPlayEnabled(true);
    emit connectDev();
}

void MainWindow::closeConnect()
{
    connectRequested = false;
}

void MainWindow::devInited(Uart::PortInitState state)
{
    initDone(state);
}

void MainWindow::ReconnectRelsult(Uart::PortInitState status)
{
    initDone(status);
}

void MainWindow::initDone(Uart::PortInitState state)
{
    qDebug() << "devInited" << state;
    ui->connectBtn->setEnabled(true);

    if (state == Uart::InitFailed) {
        connectRequested = false;
        // A download waiting for the port to come back cannot go on.
        if (resumeAfterReconnect) {
            resumeAfterReconnect = false;
            if (importing) {
                finishImport();
                ui->menuBtn->setEnabled(true);
            }
        }
        showMessage(tr("Failed to connect device"));
        return;
    }

    if (state == Uart::SeveralDevices) {
        ConnectDialog dialog;
        dialog.setWindowFlag(Qt::FramelessWindowHint);
        dialog.fillPorts();
        connect(&dialog, &ConnectDialog::closeConnectDialog, this, &MainWindow::closeConnect);
        dialog.exec();
        if (connectRequested) {
            qDebug() << " emit  reinitDev";
            emit reinitDev();
        }
        return;
    }

    if (state != Uart::InitOk)
        return;

    // Whatever this meter turns out to be, a resume is asked for at most once.
    const bool resume = resumeAfterReconnect;
    resumeAfterReconnect = false;
    elapsedMs = 0;
    ui->connectBtn->setStyleSheet(connectedStyle);
    ui->deviceLabel->setText(devDatas->devType);
    if (devDatas->devKind != 9)
        ui->chartBtn->setEnabled(devDatas->rangeCode != 0);
    qDebug() << "devDatas->devTypeData.devType=" << devDatas->devType;

    if (!devDatas->hasRecordPages) {
        ui->chartBtn->setEnabled(true);
        return;
    }

    if (resume) {
        QTimer::singleShot(ResumeAfterReconnectMs, this, [this]() {
            // The user may have stopped the download meanwhile.
            if (!importing)
                return;
            // Broken off before the count came: the count first, so that the
            // download still gets its progress bar.
            ValueCountFrame *countFrame = countFrameOf(pageType);
            if (countPending && countFrame && !downloadRequestOut())
                send(countRequestOf(pageType), countFrame);
            else
                importDatas();
        });
        dropPendingFrame();
        return;
    }

    const bool ranged = devDatas->rangeCode != 0;
    QList<QPushButton *> enabled;
    switch (devDatas->devKind) {
    case 1:
    case 2:
        enabled << ui->ponOpmBtn;
        if (ranged)
            enabled << ui->opmBtn;
        break;
    case 3:
        enabled << ui->xgPonBtn;
        if (ranged)
            enabled << ui->opmBtn;
        break;
    case 4:
        enabled << ui->ponOpmBtn << ui->fttxBtn;
        break;
    case 5:
        enabled << ui->opmBtn << ui->multiWaveOpmBtn;
        ui->chartBtn->setEnabled(true);
        break;
    case 6:
    case 7:
    case 8:
    case 10:
        enabled << ui->opmBtn;
        ui->chartBtn->setEnabled(true);
        break;
    case 9:
        enabled << ui->partialOpmBtn;
        ui->chartBtn->setEnabled(false);
        break;
    default:
        break;
    }
    for (QPushButton *button : enabled)
        button->setEnabled(true);
    if (ui->chartBtn->isEnabled())
        enabled << ui->chartBtn;
    for (QPushButton *button : tabButtons) {
        if (enabled.contains(button))
            continue;
        button->setEnabled(false);
        if (button->isChecked()) {
            button->setChecked(false);
            pageType = NoPage;
        }
    }
}

void MainWindow::uartClosed()
{
    if (importing)
        finishImport();
    connectRequested = false;
    resumeAfterReconnect = false;
    resumePauseDownloadRealTimeOpmValue(false, false);
    ui->deviceLabel->setText(tr("No connection"));
    for (QPushButton *button : ui->tabFrame->findChildren<QPushButton *>())
        button->setChecked(false);
    ui->realTimeParamWidget->hide();
    ui->downloadBtn->hide();
    ui->saveBtn->hide();
    ui->timerLabel->hide();
    ui->opmTable->hide();
    ui->connectBtn->setStyleSheet(unconnectedStyle);
    ui->connectBtn->setEnabled(true);
    for (QPushButton *button : tabButtons)
        button->setEnabled(false);
    ui->chart->setPlayEnabled(false);
}

// ------------------------------------------------------------- parse results

void MainWindow::uartResponsed(ParseResult result)
{
    qDebug() << "void __thiscall MainWindow::uartResponsed(enum ParseResult)";
    // An answer into a frame that its owner has given up belongs to a request
    // that no longer matters (a stopped download, a replaced frame).
    if (ledger->deliveredFrameRetired())
        return;
    Frame *const answered = ledger->deliveredFrame();
    // Every result is taken as the answer to the request its frame went out
    // with. A frame that belongs to nothing running now (a record asked for
    // again after an earlier download, a reading of a finished run) has
    // nothing to say about what runs now.
    if (!answered)
        return;
    BaseFormLogic *const shownPage = recordPage(pageType);
    const bool downloadAnswer = downloadRunning()
        && (answered == countFrameOf(pageType) || (shownPage && answered == shownPage->frame()));
    const bool samplingAnswer = importing && pageType == ChartPage && answered == ui->chart->frame();
    const bool clockAnswer = pendingFrame && answered == pendingFrame;

    switch (result) {
    case CheckFailed:
        // Asked again only for the download's own requests; a garbled clock
        // or identity answer asks for nothing.
        if (!downloadAnswer || !ui->downloadBtn->isChecked())
            break;
        if (answered == countFrameOf(pageType))
            send(countRequestOf(pageType), answered);
        else
            importthisDatas();
        break;
    case DataOk: {
        if (!downloadAnswer && !samplingAnswer)
            break;
        bool expected = true;
        if (importing) {
            retryCount = 0;
            if (!worker->isPortAlive()) {
                finishImport();
                return;
            }
            if (pageType >= OpmPage && pageType <= XGPonPage) {
                ValueCountFrame *countFrame = countFrameOf(pageType);
                BaseFormLogic *page = recordPage(pageType);
                if (answered && answered != countFrame && answered != page->frame()) {
                    expected = false;
                } else if (countFrame->countReady) {
                    countPending = false;
                    ui->progressBar->setMaximum(countFrame->count);
                    countFrame->setCountReady(false);
                    ui->progressBar->setValue(0);
                    ui->progressBar->show();
                } else {
                    ui->progressBar->setValue(page->nextItemNumber());
                    page->fillDatas();
                }
            } else if (pageType == ChartPage) {
                if (answered && answered != ui->chart->frame())
                    expected = false;
                else
                    ui->chart->addRealTimeValue();
            }
        }
        if (expected && ui->downloadBtn->isChecked())
            importDatas();
        break;
    }
    case CommandDone:
        if (!clockAnswer)
            break;
        dropPendingFrame();
        showMessage(tr("Time has been synchronized"));
        break;
    case Busy:
    case NotReady:
        if (!downloadAnswer)
            break;
        if (retryCount < MaxBusyRetries && ui->downloadBtn->isChecked()) {
            if (answered == countFrameOf(pageType))
                send(countRequestOf(pageType), answered);
            else
                importDatas();
            retryCount += 1;
        }
        break;
    case Aborted:
        if (!downloadAnswer)
            break;
        ui->saveBtn->setEnabled(true);
        ui->menuBtn->setEnabled(true);
        finishImport();
        break;
    case NoRtc:
        if (!clockAnswer)
            break;
        dropPendingFrame();
        showMessage(tr("Device has no RTC"));
        break;
    case NeedReinit:
        if (downloadAnswer || samplingAnswer) {
            resumeAfterReconnect = true;
            emit reconnectDev();
        }
        break;
    case OtherStatus:
    case Incomplete:
    default:
        break;
    }
}

// ------------------------------------------------------------------- pages

QWidget *MainWindow::pageWidget(int type) const
{
    switch (type) {
    case OpmPage:
        return ui->opmTable;
    case MultiWavePage:
        return ui->multiWaveOpmTable;
    case PartialPage:
        return ui->PartialOpmWaveTable;
    case PonPage:
        return ui->ponOpmTable;
    case XGPonPage:
        return ui->xGPonTable;
    case FttxPage:
        return ui->fttxTable;
    case ChartPage:
        return ui->chart;
    default:
        return nullptr;
    }
}

BaseFormLogic *MainWindow::recordPage(int type) const
{
    switch (type) {
    case OpmPage:
        return ui->opmTable;
    case MultiWavePage:
        return ui->multiWaveOpmTable;
    case PartialPage:
        return ui->PartialOpmWaveTable;
    case PonPage:
        return ui->ponOpmTable;
    case XGPonPage:
        return ui->xGPonTable;
    default:
        return nullptr;
    }
}

ValueCountFrame *MainWindow::countFrameOf(int type) const
{
    switch (type) {
    case OpmPage:
    case MultiWavePage:
    case PartialPage:
        return opmCountFrame;
    case PonPage:
    case XGPonPage:
    case FttxPage:
        return ponCountFrame;
    default:
        return nullptr;
    }
}

QByteArray MainWindow::countRequestOf(int type) const
{
    switch (type) {
    case OpmPage:
    case PartialPage:
        return Command::opmCount();
    case MultiWavePage:
        return Command::multiWaveCount();
    case PonPage:
    case XGPonPage:
    case FttxPage:
        return Command::ponCount();
    default:
        return QByteArray();
    }
}

QByteArray MainWindow::recordRequestOf(int type, int number) const
{
    switch (type) {
    case OpmPage:
        return Command::singleWaveRecord(number);
    case MultiWavePage:
    case PartialPage:
        return Command::multiWaveRecord(number);
    case PonPage:
        return Command::ponRecord(number);
    case XGPonPage:
        return Command::xgPonRecord(number);
    default:
        return QByteArray();
    }
}

void MainWindow::clearImportTabs()
{
    for (QPushButton *button : ui->tabFrame->findChildren<QPushButton *>())
        button->setChecked(false);
    for (QWidget *page : ui->pagesWidget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        page->hide();
}

void MainWindow::choosePage(QPushButton *button, int type)
{
    if (button->isChecked()) {
        if (importing) {
            showMessage(tr("Can not switch tab when it's importing datas"));
            button->setChecked(false);
            return;
        }
        // The meter may have gone while the question was open: then there is
        // no page to go to (losing the link has put the buttons back).
        if (askToSave() && !linkUp()) {
            button->setChecked(false);
            return;
        }
        clearImportTabs();
        pageWidget(type)->show();
    }
    button->setChecked(true);
    pageType = type;
    if (type == ChartPage) {
        ui->realTimeParamWidget->show();
        ui->downloadBtn->hide();
    } else {
        ui->realTimeParamWidget->hide();
        ui->downloadBtn->show();
    }
    ui->saveBtn->show();
}

void MainWindow::on_opmBtn_clicked()
{
    choosePage(ui->opmBtn, OpmPage);
}

void MainWindow::on_multiWaveOpmBtn_clicked()
{
    choosePage(ui->multiWaveOpmBtn, MultiWavePage);
}

void MainWindow::on_partialOpmBtn_clicked()
{
    choosePage(ui->partialOpmBtn, PartialPage);
}

void MainWindow::on_ponOpmBtn_clicked()
{
    choosePage(ui->ponOpmBtn, PonPage);
}

void MainWindow::on_xgPonBtn_clicked()
{
    choosePage(ui->xgPonBtn, XGPonPage);
}

void MainWindow::on_fttxBtn_clicked()
{
    choosePage(ui->fttxBtn, FttxPage);
}

void MainWindow::on_chartBtn_clicked()
{
    choosePage(ui->chartBtn, ChartPage);
}

// ---------------------------------------------------------------- download

void MainWindow::send(const QByteArray &data, Frame *frame)
{
    // A frame that no request holds may still carry an answer that arrived
    // after its download ended; the next answer must start from nothing.
    if (!ledger->isInFlight(frame))
        frame->reset();
    ledger->sent(frame);
    emit request(data, frame);
}

bool MainWindow::downloadRunning() const
{
    return importing && pageType >= OpmPage && pageType <= FttxPage;
}

bool MainWindow::linkUp() const
{
    return connectRequested && worker->isPortAlive();
}

bool MainWindow::downloadRequestOut() const
{
    BaseFormLogic *page = recordPage(pageType);
    return ledger->isInFlight(opmCountFrame) || ledger->isInFlight(ponCountFrame)
        || (page && ledger->isInFlight(page->frame()));
}

void MainWindow::on_downloadBtn_clicked(bool checked)
{
    qDebug() << "on_downloadBtn_clicked=" << checked << importing << pageType << unsaved << noPromptCopy;
    if (checked) {
        ui->saveBtn->setEnabled(false);
        if (askToSave() && !linkUp()) {
            // Unplugged while the question was open: no download on a dead link.
            ui->downloadBtn->setChecked(false);
            ui->saveBtn->setEnabled(true);
            return;
        }
        ui->menuBtn->setEnabled(false);
        ponCountFrame->reset();
        opmCountFrame->reset();
        importing = true;
        unsaved = true;
        retryCount = 0;
        if (pageType >= OpmPage && pageType <= FttxPage) {
            if (BaseFormLogic *page = recordPage(pageType)) {
                page->clearDatas();
                // A record asked for again outside a download (after a garbled
                // answer) may still be out: its answer must not become the
                // first record of this one.
                if (ledger->isInFlight(page->frame()))
                    replacePageFrame(pageType);
            }
            if (pageType == MultiWavePage)
                qDebug() << "123456654987";
            countPending = true;
            send(countRequestOf(pageType), countFrameOf(pageType));
        } else {
            importing = false;
            ui->downloadBtn->setChecked(false);
        }
        qDebug() << "aaaa" << pageType;
        return;
    }

    if (question(tr("Whether to stop importing datas?")) == 1) {
        finishImport();
        ui->saveBtn->setEnabled(true);
        ui->menuBtn->setEnabled(true);
    } else if (importing) {
        // The download may have ended while the question was open; then there
        // is nothing to go on with.
        ui->downloadBtn->setChecked(true);
        importDatas();
    }
}

void MainWindow::importDatas()
{
    BaseFormLogic *page = recordPage(pageType);
    if (!page)
        return;
    // One request at a time: an answer still to come drives the next request.
    if (downloadRequestOut())
        return;
    const int number = page->nextItemNumber() + (pageType == MultiWavePage ? 1 : 0);
    send(recordRequestOf(pageType, number), page->frame());
}

void MainWindow::importthisDatas()
{
    BaseFormLogic *page = recordPage(pageType);
    if (!page || downloadRequestOut())
        return;
    // The record in flight, the same number importDatas() asked for.
    send(recordRequestOf(pageType, page->itemCount() + 1), page->frame());
}

void MainWindow::replacePageFrame(int type)
{
    if (BaseFormLogic *page = recordPage(type)) {
        if (ledger->isInFlight(page->frame())) {
            ledger->retire(page->frame());
            page->createFrame();
        } else {
            page->renewFrame();
        }
    } else if (type == ChartPage) {
        ledger->retire(ui->chart->frame());
        ui->chart->createFrame();
    }
}

void MainWindow::finishImport()
{
    importing = false;
    countPending = false;
    ui->saveBtn->setEnabled(true);
    ui->downloadBtn->setChecked(false);
    ui->progressBar->hide();
    replacePageFrame(pageType);
    // A count request may be out too; its answer must not count for the next
    // download.
    for (ValueCountFrame **countFrame : {&opmCountFrame, &ponCountFrame}) {
        if (ledger->isInFlight(*countFrame)) {
            ledger->retire(*countFrame);
            *countFrame = new ValueCountFrame;
        }
    }
}

// ------------------------------------------------------------------ saving

QString MainWindow::chooseDirectory()
{
    if (directoryChooser)
        return directoryChooser();
    return QFileDialog::getExistingDirectory(nullptr, tr("Save file"),
                                             QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                                             QFileDialog::ShowDirsOnly);
}

void MainWindow::saveCurrentPage(const QString &dir)
{
    switch (pageType) {
    case OpmPage:
        ui->opmTable->saveDatas(dir);
        break;
    case MultiWavePage:
        ui->multiWaveOpmTable->saveDatas(dir);
        break;
    case PartialPage:
        ui->PartialOpmWaveTable->saveDatas(dir);
        break;
    case PonPage:
        ui->ponOpmTable->saveDatas(dir);
        break;
    case XGPonPage:
        ui->xGPonTable->saveDatas(dir);
        break;
    case ChartPage:
        ui->chart->saveDatas(dir);
        break;
    default:
        break;
    }
}

void MainWindow::isSaveInfo()
{
    askToSave();
}

bool MainWindow::askToSave()
{
    bool asked = false;
    if (unsaved) {
        noPromptCopy = noLongerPrompt;
        if (noPromptCopy) {
            qDebug() << "show out!";
        } else {
            asked = true;
            if (questionWithOption(tr("Data has not been saved.\nDo you want to save the data first?"), true) == 1
                && !importing) {
                const QString dir = chooseDirectory();
                if (!dir.isEmpty())
                    saveCurrentPage(dir);
            }
        }
    }
    unsaved = false;
    return asked;
}

void MainWindow::on_saveBtn_clicked()
{
    if (importing)
        return;
    const QString dir = chooseDirectory();
    if (dir.isEmpty())
        return;
    saveCurrentPage(dir);
    unsaved = false;
}

void MainWindow::dataclear()
{
    unsaved = false;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing ends what is running, then offers to keep what was collected.
    if (importing) {
        if (pageType == ChartPage) {
            resumePauseDownloadRealTimeOpmValue(false, false);
        } else {
            finishImport();
            ui->menuBtn->setEnabled(true);
        }
    }
    if (unsaved)
        isSaveInfo();
    event->accept();
}

// ------------------------------------------------------------------ menu

void MainWindow::setMenuButtonUnchecked()
{
    ui->menuBtn->setChecked(false);
}

void MainWindow::on_menuBtn_clicked(bool checked)
{
    if (!checked)
        return;
    auto *menu = new MenuWidget(this);
    connect(menu, &QObject::destroyed, this, &MainWindow::setMenuButtonUnchecked);
    connect(menu, &MenuWidget::connectDev, worker, &UartWorker::initUart);
    connect(menu, &MenuWidget::syncDateTime, this, &MainWindow::syncDateTime);
    connect(menu, &MenuWidget::languageChanged, this, &MainWindow::changeLanguage);
    const QPoint corner(width() - menu->width() - MenuMargin, ui->actionbarFrame->geometry().bottom());
    menu->move(mapToGlobal(corner));
    menu->show();
}

void MainWindow::changeLanguage()
{
    setWindowTitle(tr("Varden_Lumisk"));
    ui->deviceLabel->setText(tr("No connection"));
    ui->label->setText(tr("Sampling rate"));
    ui->label_2->setText(tr("Sampling time"));
    ui->sampleIntervalCombo->setItemText(CustomizeIndex, tr("Customize"));
    ui->sampleTimeCombo->setItemText(CustomizeIndex, tr("Customize"));
    ui->opmBtn->setText(tr("OPM"));
    ui->multiWaveOpmBtn->setText(tr("MultiWave OPM"));
    ui->partialOpmBtn->setText(tr("PartialWave OPM"));
    ui->ponOpmBtn->setText(tr("PON OPM"));
    ui->xgPonBtn->setText(tr("XG-PON"));
    ui->fttxBtn->setText(tr("FTTx"));
    ui->chartBtn->setText(tr("Real-time curve"));
    ui->dateTimeLabel->setText(tr("2020/8/17 13:20"));
    ui->timerLabel->setText(tr("0s"));
}

// ------------------------------------------------------- real-time sampling

float MainWindow::entryValue(const QString &text)
{
    QString number = text;
    number.remove(QLatin1Char('s')).remove(QLatin1Char('m'));
    return number.toFloat();
}

bool MainWindow::checkIntervalAgainstTime(float seconds)
{
    const int minutes = int(entryValue(ui->sampleTimeCombo->currentText()));
    if (float(minutes * 60) / seconds <= MaxSampleCount)
        return true;
    showMessage(tr("Sample count can not greater than 65535"));
    return false;
}

bool MainWindow::checkTimeAgainstInterval(int seconds)
{
    const float interval = entryValue(ui->sampleIntervalCombo->currentText());
    if (float(seconds) / interval <= MaxSampleCount)
        return true;
    showMessage(tr("Sample count can not greater than 65535"));
    return false;
}

void MainWindow::on_sampleIntervalCombo_currentIndexChanged(int index)
{
    QComboBox *combo = ui->sampleIntervalCombo;
    if (index == CustomizeIndex) {
        combo->setEditable(false);
        int seconds = 0;
        if (SetTimeDialog::getSeconds(SetTimeDialog::Interval, seconds) == 1 && seconds != 0
            && checkIntervalAgainstTime(float(seconds))) {
            if (combo->count() > CustomEntryIndex)
                combo->removeItem(combo->count() - 1);
            sampleIntervalMs = unsigned(seconds) * 1000u;
            combo->addItem(QString::number(seconds) + QLatin1Char('s'));
            combo->setCurrentIndex(CustomEntryIndex);
            return;
        }
        combo->setEditable(false);
        combo->setCurrentIndex(prevIntervalIndex);
        return;
    }
    if (index < 0)
        return;
    if (checkIntervalAgainstTime(entryValue(combo->itemText(index))))
        prevIntervalIndex = index;
    else
        combo->setCurrentIndex(prevIntervalIndex);
}

void MainWindow::on_sampleTimeCombo_currentIndexChanged(int index)
{
    QComboBox *combo = ui->sampleTimeCombo;
    if (index == CustomizeIndex) {
        combo->setEditable(false);
        int seconds = 0;
        if (SetTimeDialog::getSeconds(SetTimeDialog::Duration, seconds) == 1 && seconds != 0
            && checkTimeAgainstInterval(seconds)) {
            if (combo->count() > CustomEntryIndex)
                combo->removeItem(combo->count() - 1);
            sampleTimeMs = unsigned(seconds) * 1000u;
            combo->addItem(QString::number(seconds / 60) + QLatin1Char('m'));
            combo->setCurrentIndex(CustomEntryIndex);
            return;
        }
        combo->setEditable(false);
        combo->setCurrentIndex(prevTimeIndex);
        return;
    }
    if (index < 0)
        return;
    const int minutes = int(entryValue(combo->itemText(index)));
    if (checkTimeAgainstInterval(minutes * 60))
        prevTimeIndex = index;
    else
        combo->setCurrentIndex(prevTimeIndex);
}

void MainWindow::resumePauseDownloadRealTimeOpmValue(bool start, bool isPause)
{
    if (start) {
        if (runFinished) {
            // A new run, whatever duration has been chosen since: from zero,
            // once the last one has been offered for saving.
            runFinished = false;
            elapsedMs = 0;
            sampledMs = 0;
            if (askToSave() && !linkUp()) {
                ui->chart->setPlayUnchecked();
                return;
            }
        }
        ui->menuBtn->setEnabled(false);
        importing = true;
        ui->saveBtn->setEnabled(false);
        sampleTimeMs = unsigned(int(entryValue(ui->sampleTimeCombo->currentText()))) * 60000u;
        sampleIntervalMs = unsigned(entryValue(ui->sampleIntervalCombo->currentText()) * 1000.0f);
        if (sampleIntervalMs > sampleTimeMs) {
            sampleIntervalMs = SamplingTickMs;
            ui->sampleIntervalCombo->setCurrentIndex(0);
        }
        samplingTimer.start(SamplingTickMs);
        ui->realTimeParamWidget->setEnabled(false);
        ui->progressBar->setValue(0);
        ui->progressBar->setMaximum(int(sampleTimeMs / 1000));
        ui->progressBar->show();
        ui->timerLabel->setText(QString::number((sampleTimeMs - elapsedMs) / 1000) + QLatin1Char('s'));
        ui->timerLabel->show();
        unsaved = true;
        if (elapsedMs == 0 && !ledger->isInFlight(ui->chart->frame()))
            send(Command::realTimeValue(), ui->chart->frame());
        return;
    }

    ui->saveBtn->setEnabled(true);
    ui->menuBtn->setEnabled(true);
    importing = false;
    samplingTimer.stop();
    if (!isPause) {
        runFinished = true;
        sampledMs = 0;
        ui->realTimeParamWidget->setEnabled(true);
        ui->progressBar->setValue(0);
    }
    ui->chart->setClearOnResume(!isPause);
    ui->chart->setPlayUnchecked();
    ui->progressBar->hide();
    ui->timerLabel->hide();
}

void MainWindow::restartDownloadRealTimeOpmValue()
{
    unsaved = true;
    importing = true;
    sampleTimeMs = unsigned(int(entryValue(ui->sampleTimeCombo->currentText()))) * 60000u;
    sampleIntervalMs = unsigned(entryValue(ui->sampleIntervalCombo->currentText()) * 1000.0f);
    samplingTimer.start(SamplingTickMs);
    ui->realTimeParamWidget->setEnabled(false);
    ui->progressBar->show();
    ui->progressBar->setValue(0);
    ui->progressBar->setMaximum(int(sampleTimeMs / 1000));
    ui->timerLabel->show();
    sampledMs = 0;
    elapsedMs = 0;
    runFinished = false;
}

void MainWindow::stopDownloadRealTimeOpmValue()
{
    importing = false;
    samplingTimer.stop();
    elapsedMs = 0;
    sampledMs = 0;
    runFinished = false;
    // The run ends here as with any stop: the menu and saving are back.
    ui->menuBtn->setEnabled(true);
    ui->saveBtn->setEnabled(true);
    ui->realTimeParamWidget->setEnabled(true);
    ui->progressBar->setValue(0);
    ui->progressBar->hide();
    ui->timerLabel->hide();
    ui->chart->setClearOnResume(true);
    ui->chart->setPlayUnchecked();
}

void MainWindow::downloadRealTimeOpmValueTimes()
{
    if (!connectRequested)
        return;
    elapsedMs += SamplingTickMs;
    const unsigned interval = sampleIntervalMs ? sampleIntervalMs : unsigned(SamplingTickMs);
    if (elapsedMs % interval == 0) {
        sampledMs += interval;
        // A reading still on its way keeps the frame; this tick's request is
        // skipped rather than sent into a frame the worker is filling.
        if (!ledger->isInFlight(ui->chart->frame()))
            send(Command::realTimeValue(), ui->chart->frame());
        ui->progressBar->setValue(int(sampledMs / 1000));
    }
    if (elapsedMs > sampleTimeMs) {
        elapsedMs = sampleTimeMs;
        resumePauseDownloadRealTimeOpmValue(false, false);
        return;
    }
    if (elapsedMs % 1000 == 0)
        ui->timerLabel->setText(QString::number(double((sampleTimeMs - elapsedMs) / 1000), 'g', 6)
                                + QLatin1Char('s'));
}

// --------------------------------------------------------------------- clock

void MainWindow::freshPendingFrame()
{
    if (pendingFrame && ledger->isInFlight(pendingFrame)) {
        // Still being filled by an earlier request: never reset it under the
        // worker's hands, take a new one.
        ledger->retire(pendingFrame);
        pendingFrame = new Frame;
    } else if (!pendingFrame) {
        pendingFrame = new Frame;
    } else {
        pendingFrame->reset();
    }
}

void MainWindow::dropPendingFrame()
{
    ledger->retire(pendingFrame);
    pendingFrame = nullptr;
}

void MainWindow::connectcmd()
{
    if (!worker->isPortAlive())
        return;
    for (const QByteArray &command : {Command::devType(), Command::devModel(), Command::devVersion()}) {
        freshPendingFrame();
        send(command, pendingFrame);
    }
    freshPendingFrame();
}

void MainWindow::syncDateTime()
{
    connectcmd();
    QTimer::singleShot(ClockCommandDelayMs, this, &MainWindow::reallytime);
}

void MainWindow::reallytime()
{
    if (!pendingFrame)
        return;
    freshPendingFrame();
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    send(Command::setClock(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()),
         pendingFrame);
}

void MainWindow::updateDateTime()
{
    ui->dateTimeLabel->setText(
        ValueFormat::dateTimeText(QDateTime::currentDateTime(), QStringLiteral("yyyy/MM/dd HH:mm:ss")));
}

// -------------------------------------------------------------------- layout

void MainWindow::applyPageButtonFont(int pointSize)
{
    const QFont font(heavyFamily(), pointSize, HeavyWeight, false);
    for (QPushButton *button : tabButtons)
        button->setFont(font);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    fitPageButtonFont();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The window's own resize comes before its layout has sized the buttons;
    // the button's resize brings the size the font is to fit.
    if (watched == ui->opmBtn && event->type() == QEvent::Resize)
        fitPageButtonFont();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::fitPageButtonFont()
{
    const QSize size = ui->opmBtn->size();
    const int byWidth = int(float(size.width()) / PageButtonDesignWidth * float(PageButtonPointSize));
    const int byHeight = int(float(size.height()) / PageButtonDesignHeight * float(PageButtonPointSize));
    int pointSize = qMin(qMin(byWidth, byHeight), MaxPageButtonPointSize);
    qDebug() << "zihao:" << pointSize;
    // A button not laid out yet has no size; a point size must be positive.
    if (pointSize < 1)
        pointSize = PageButtonPointSize;
    applyPageButtonFont(pointSize);
}

void MainWindow::fitInitialSize()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize available = screen->availableSize();
    const int width = qMin(PreferredWindowWidth, int(available.width() * ScreenShare));
    const int height = qMin(PreferredWindowHeight, int(available.height() * ScreenShare));
    resize(qMax(width, this->width()), qMax(height, this->height()));
}
