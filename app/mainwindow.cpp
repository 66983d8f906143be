#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/clocksetting.h"
#include "app/configuration.h"
#include "app/downloadsession.h"
#include "link/requestledger.h"
#include "app/historyrecorder.h"
#include "app/historyreplay.h"
#include "app/samplingpanel.h"
#include "app/windowlayout.h"
#include "dialogs/connectdialog.h"
#include "dialogs/menuwidget.h"
#include "dialogs/messagedialog.h"
#include "link/commands.h"
#include "link/devdatas.h"
#include "link/logging.h"
#include "link/realtimeopmvalueframe.h"
#include "link/uartworker.h"
#include "link/valueformat.h"
#include "views/historyform.h"
#include "views/multiwaveopmform.h"
#include "views/opmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"
#include "widgets/chartform.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QIcon>
#include <QResizeEvent>
#include <QStandardPaths>

namespace {
constexpr int ClockTickMs = 1000;
constexpr int ResumeAfterReconnectMs = 10;
constexpr int MenuMargin = 10;
// Entry of both sampling combos that opens the time-span dialog.
constexpr int CustomizeIndex = 7;

const QString ConnectedStyle = QStringLiteral(
    "QPushButton {border: 0px;image: url(:/img/connect_button_connected.png);}"
    "QPushButton:pressed {image: url(:/img/connect_button_down.png);}");
const QString UnconnectedStyle = QStringLiteral(
    "QPushButton {border: 0px;image: url(:/img/connect_button_unconnected.png);}"
    "QPushButton:pressed {image: url(:/img/connect_button_down.png);}");
} // namespace

MainWindow::DirectoryChooser MainWindow::directoryChooser;

void MainWindow::setDirectoryChooser(DirectoryChooser chooser)
{
    directoryChooser = std::move(chooser);
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(new Ui::MainWindow), samplingTimer(this), clockTimer(this)
{
    samplingTimer.setObjectName(QStringLiteral("samplingTimer"));
    clockTimer.setObjectName(QStringLiteral("clockTimer"));
    registerParseResult();

    ui->setupUi(this);
    ui->deviceLabel->setTextFormat(Qt::PlainText); // the meter's model text, shown as it is
    Configuration::instance()->updateLanguageForUI();
    setMinimumWidth(WindowLayout::MinimumWidth);
    WindowLayout::fitInitialSize(this);

    buildPageTable();
    createHistoryPage();
    WindowLayout::applyPageButtonFont(pageButtons(), WindowLayout::PageButtonPointSize);
    ui->opmBtn->installEventFilter(this);
    clearImportTabs();
    for (QWidget *hidden : {ui->realTimeParamWidget, static_cast<QWidget *>(ui->downloadBtn),
                            static_cast<QWidget *>(ui->saveBtn), static_cast<QWidget *>(ui->timerLabel),
                            static_cast<QWidget *>(ui->progressBar)})
        hidden->hide();

    setWindowTitle(tr("Lumisk"));
    setWindowIcon(QIcon(QStringLiteral(":/img/logob_t3.png")));

    worker = UartWorker::instance();
    // Before the window's own connection to the worker's results.
    ledger = RequestLedger::instance();
    const auto sender = [this](const QByteArray &data, Frame *frame) { send(data, frame); };
    download = new DownloadSession(ledger, sender, this);
    history = new HistoryRecorder(this);
    connect(download, &DownloadSession::began, history, &HistoryRecorder::beginDownload);
    connect(download, &DownloadSession::recordArrived, history, &HistoryRecorder::record);
    connect(download, &DownloadSession::stopped, history, &HistoryRecorder::endDownload);
    historyPage->setStore(history->store());
    sampling = new SamplingPanel({ui->sampleIntervalCombo, ui->sampleTimeCombo, ui->realTimeParamWidget,
                                  ui->progressBar, ui->timerLabel},
                                 &samplingTimer, this);
    run = sampling->run();
    clock = new ClockSetting(ledger, sender, [this]() { return worker->isPortAlive(); }, this);

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

    connect(download, &DownloadSession::countKnown, this, [this](int count) {
        ui->progressBar->setMaximum(count);
        ui->progressBar->setValue(0);
        ui->progressBar->show();
    });
    connect(download, &DownloadSession::progress, ui->progressBar, &QProgressBar::setValue);
    connect(download, &DownloadSession::ended, this, [this]() {
        ui->saveBtn->setEnabled(true);
        ui->menuBtn->setEnabled(true);
        finishImport();
    });
    connect(sampling, &SamplingPanel::sampleDue, this, [this]() {
        // A reading still on its way keeps the frame; this tick's request is
        // skipped rather than sent into a frame the worker is filling.
        if (!ledger->isInFlight(ui->chart->frame()))
            send(Command::realTimeValue(), ui->chart->frame());
    });
    connect(sampling, &SamplingPanel::finished, this, [this]() { resumePauseDownloadRealTimeOpmValue(false, false); });

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
    for (const PageEntry &entry : pages) {
        if (entry.records && ledger->isInFlight(entry.records->frame()))
            replacePageFrame(entry.type);
    }
    if (ledger->isInFlight(ui->chart->frame()))
        replacePageFrame(PageType::Chart);
    delete ui;
}

bool MainWindow::isImporting() const
{
    return download->isRunning() || run->isRunning();
}

// --------------------------------------------------------------- page table

void MainWindow::buildPageTable()
{
    auto saver = [](auto *view) { return [view](const QString &dir) { view->saveDatas(dir); }; };
    pages = {
        {PageType::Opm, ui->opmBtn, ui->opmTable, ui->opmTable, &Command::opmCount, &Command::singleWaveRecord, 0,
         saver(ui->opmTable)},
        {PageType::MultiWave, ui->multiWaveOpmBtn, ui->multiWaveOpmTable, ui->multiWaveOpmTable,
         &Command::multiWaveCount, &Command::multiWaveRecord, 1, saver(ui->multiWaveOpmTable)},
        {PageType::Partial, ui->partialOpmBtn, ui->PartialOpmWaveTable, ui->PartialOpmWaveTable, &Command::opmCount,
         &Command::multiWaveRecord, 0, saver(ui->PartialOpmWaveTable)},
        {PageType::Pon, ui->ponOpmBtn, ui->ponOpmTable, ui->ponOpmTable, &Command::ponCount, &Command::ponRecord, 0,
         saver(ui->ponOpmTable)},
        {PageType::XGPon, ui->xgPonBtn, ui->xGPonTable, ui->xGPonTable, &Command::ponCount, &Command::xgPonRecord, 0,
         saver(ui->xGPonTable)},
        {PageType::Fttx, ui->fttxBtn, ui->fttxTable, nullptr, &Command::ponCount, nullptr, 0, {}},
        {PageType::Chart, ui->chartBtn, ui->chart, nullptr, nullptr, nullptr, 0, saver(ui->chart)},
    };
    for (const PageEntry &entry : pages)
        tabButtons << entry.button;
}

void MainWindow::createHistoryPage()
{
    historyBtn = new QPushButton(tr("History"), ui->tabFrame);
    historyBtn->setObjectName(QStringLiteral("historyBtn"));
    historyBtn->setCheckable(true);
    historyBtn->setFocusPolicy(Qt::NoFocus);
    historyBtn->setCursor(Qt::PointingHandCursor);
    historyBtn->setSizePolicy(ui->chartBtn->sizePolicy());
    historyBtn->setMinimumSize(ui->chartBtn->minimumSize());
    historyBtn->setMaximumSize(ui->chartBtn->maximumSize());
    ui->verticalLayout_2->insertWidget(ui->verticalLayout_2->indexOf(ui->chartBtn) + 1, historyBtn);
    historyPage = new HistoryForm(ui->pagesWidget);
    historyPage->setObjectName(QStringLiteral("historyPage"));
    ui->verticalLayout_3->addWidget(historyPage);
    connect(historyBtn, &QPushButton::clicked, this, &MainWindow::showHistory);
    connect(historyPage, &HistoryForm::openRequested, this, &MainWindow::openHistorySession);
}

void MainWindow::showHistory()
{
    if (isImporting()) {
        showMessage(tr("Can not switch tab when it's importing datas"));
        historyBtn->setChecked(historyPage->isVisible());
        return;
    }
    askToSave();
    clearImportTabs();
    historyBtn->setChecked(true);
    pageType = PageType::None;
    for (QWidget *hidden : {ui->realTimeParamWidget, static_cast<QWidget *>(ui->downloadBtn),
                            static_cast<QWidget *>(ui->saveBtn)})
        hidden->hide();
    historyPage->show();
    historyPage->refresh();
}

void MainWindow::openHistorySession(const HistoryStore::SessionSummary &session)
{
    const PageEntry &entry = page(HistoryReplay::pageOf(session.kind));
    if (!entry.records) {
        showMessage(tr("Live runs cannot be opened from the history yet."));
        return;
    }
    if (isImporting())
        return;
    HistoryReplay::fill(entry.records, history->store()->sessionRecords(session.id), session.rangeCode);
    // Shown read-only: no download into it, but saved like a fresh download.
    clearImportTabs();
    entry.button->setChecked(true);
    pageType = entry.type;
    entry.widget->show();
    ui->downloadBtn->hide();
    ui->saveBtn->setEnabled(true);
    ui->saveBtn->show();
    unsaved = false;
}

const PageEntry &MainWindow::page(PageType type) const
{
    static const PageEntry none;
    for (const PageEntry &entry : pages) {
        if (entry.type == type)
            return entry;
    }
    return none;
}

void MainWindow::clearImportTabs()
{
    for (QPushButton *button : ui->tabFrame->findChildren<QPushButton *>())
        button->setChecked(false);
    for (QWidget *widget : ui->pagesWidget->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        widget->hide();
}

void MainWindow::choosePage(PageType type)
{
    QPushButton *button = page(type).button;
    if (button->isChecked()) {
        if (isImporting()) {
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
        page(type).widget->show();
    }
    button->setChecked(true);
    pageType = type;
    ui->realTimeParamWidget->setVisible(type == PageType::Chart);
    ui->downloadBtn->setVisible(type != PageType::Chart);
    ui->saveBtn->show();
}

void MainWindow::on_opmBtn_clicked() { choosePage(PageType::Opm); }
void MainWindow::on_multiWaveOpmBtn_clicked() { choosePage(PageType::MultiWave); }
void MainWindow::on_partialOpmBtn_clicked() { choosePage(PageType::Partial); }
void MainWindow::on_ponOpmBtn_clicked() { choosePage(PageType::Pon); }
void MainWindow::on_xgPonBtn_clicked() { choosePage(PageType::XGPon); }
void MainWindow::on_fttxBtn_clicked() { choosePage(PageType::Fttx); }
void MainWindow::on_chartBtn_clicked() { choosePage(PageType::Chart); }

void MainWindow::replacePageFrame(PageType type)
{
    if (BaseFormLogic *records = page(type).records) {
        if (ledger->isInFlight(records->frame())) {
            ledger->retire(records->frame());
            records->createFrame();
        } else {
            records->renewFrame();
        }
    } else if (type == PageType::Chart) {
        ledger->retire(ui->chart->frame());
        ui->chart->createFrame();
    }
}

// ---------------------------------------------------------------- connecting

void MainWindow::on_connectBtn_clicked()
{
    if (isImporting())
        return;
    ui->connectBtn->setEnabled(false);
    if (connectRequested) {
        unsaved = false;
        worker->closeUart();
        connectRequested = false;
        ui->chart->setPlayEnabled(false);
        return;
    }
    clearImportTabs();
    unsaved = false;
    for (const PageEntry &entry : pages) {
        if (entry.records)
            entry.records->clearDatas();
    }
    ui->chart->clearDatas();
    connectRequested = true;
    ui->chart->setPlayEnabled(true);
    emit connectDev();
}

void MainWindow::closeConnect() { connectRequested = false; }
void MainWindow::devInited(Uart::PortInitState state) { initDone(state); }
void MainWindow::ReconnectRelsult(Uart::PortInitState status) { initDone(status); }

void MainWindow::initDone(Uart::PortInitState state)
{
    qCDebug(lcApp) << "devInited" << state;
    ui->connectBtn->setEnabled(true);

    if (state == Uart::InitFailed) {
        connectRequested = false;
        // A download or run waiting for the port to come back cannot go on.
        if (resumeAfterReconnect) {
            resumeAfterReconnect = false;
            if (download->isRunning()) {
                finishImport();
                ui->menuBtn->setEnabled(true);
            } else if (run->isRunning()) {
                resumePauseDownloadRealTimeOpmValue(false, false);
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
            qCDebug(lcApp) << " emit  reinitDev";
            emit reinitDev();
        }
        return;
    }

    if (state != Uart::InitOk)
        return;

    // Whatever this meter turns out to be, a resume is asked for at most once.
    const bool resume = resumeAfterReconnect;
    resumeAfterReconnect = false;
    run->rewind();
    ui->connectBtn->setStyleSheet(ConnectedStyle);
    ui->deviceLabel->setText(devDatas->devType);
    if (devDatas->kind() != MeterKind::PartialWave)
        ui->chartBtn->setEnabled(devDatas->rangeCode != 0);
    qCDebug(lcApp) << "devDatas->devTypeData.devType=" << devDatas->devType;

    if (!devDatas->hasRecordPages) {
        ui->chartBtn->setEnabled(true);
        return;
    }
    if (resume) {
        QTimer::singleShot(ResumeAfterReconnectMs, this, [this]() {
            // The user may have stopped the download meanwhile.
            if (download->isRunning())
                download->resume();
        });
        clock->drop();
        return;
    }
    enableOfferedPages();
}

void MainWindow::enableOfferedPages()
{
    const QList<PageType> offered = pagesFor(*devDatas);
    for (const PageEntry &entry : pages) {
        const bool enabled = offered.contains(entry.type);
        entry.button->setEnabled(enabled);
        if (!enabled && entry.button->isChecked()) {
            entry.button->setChecked(false);
            pageType = PageType::None;
        }
    }
}

void MainWindow::uartClosed()
{
    if (download->isRunning())
        finishImport();
    else if (run->isRunning())
        replacePageFrame(PageType::Chart);
    connectRequested = false;
    resumeAfterReconnect = false;
    resumePauseDownloadRealTimeOpmValue(false, false);
    ui->deviceLabel->setText(tr("No connection"));
    for (QPushButton *button : ui->tabFrame->findChildren<QPushButton *>())
        button->setChecked(false);
    for (QWidget *hidden : {ui->realTimeParamWidget, static_cast<QWidget *>(ui->downloadBtn),
                            static_cast<QWidget *>(ui->saveBtn), static_cast<QWidget *>(ui->timerLabel),
                            static_cast<QWidget *>(ui->opmTable)})
        hidden->hide();
    ui->connectBtn->setStyleSheet(UnconnectedStyle);
    ui->connectBtn->setEnabled(true);
    for (QPushButton *button : tabButtons)
        button->setEnabled(false);
    historyBtn->setChecked(historyPage->isVisible()); // the history needs no meter
    ui->chart->setPlayEnabled(false);
}

bool MainWindow::linkUp() const
{
    return connectRequested && worker->isPortAlive();
}

// ------------------------------------------------------------- parse results

void MainWindow::uartResponsed(ParseResult result)
{
    qCDebug(lcApp) << "void __thiscall MainWindow::uartResponsed(enum ParseResult)";
    // An answer into a frame that its owner has given up belongs to a request
    // that no longer matters (a stopped download, a replaced frame); one into
    // a frame of nothing running now has nothing to say about what runs now.
    if (ledger->deliveredFrameRetired() || !ledger->deliveredFrame())
        return;
    Frame *const answered = ledger->deliveredFrame();
    const bool samplingAnswer = run->isRunning() && pageType == PageType::Chart && answered == ui->chart->frame();

    if (download->owns(answered)) {
        if (result == DataOk && !worker->isPortAlive()) {
            finishImport();
            return;
        }
        if (result == NeedReinit) {
            resumeAfterReconnect = true;
            emit reconnectDev();
            return;
        }
        download->handle(result, answered, ui->downloadBtn->isChecked());
    } else if (samplingAnswer) {
        if (result == DataOk) {
            if (!worker->isPortAlive()) {
                finishImport();
                return;
            }
            history->liveReading(answered);
            ui->chart->addRealTimeValue();
        } else if (result == NeedReinit) {
            resumeAfterReconnect = true;
            emit reconnectDev();
        }
    } else if (clock->owns(answered) && (result == CommandDone || result == NoRtc)) {
        clock->drop();
        showMessage(result == CommandDone ? tr("Time has been synchronized") : tr("Device has no RTC"));
    }
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

void MainWindow::on_downloadBtn_clicked(bool checked)
{
    qCDebug(lcApp) << "on_downloadBtn_clicked=" << checked << isImporting() << int(pageType) << unsaved
                   << noPromptCopy;
    if (checked) {
        ui->saveBtn->setEnabled(false);
        if (askToSave() && !linkUp()) {
            // Unplugged while the question was open: no download on a dead link.
            ui->downloadBtn->setChecked(false);
            ui->saveBtn->setEnabled(true);
            return;
        }
        ui->menuBtn->setEnabled(false);
        unsaved = true;
        const PageEntry &entry = page(pageType);
        if (entry.countRequest) {
            if (pageType == PageType::MultiWave)
                qCDebug(lcApp) << "123456654987";
            download->start(entry);
        } else {
            ui->downloadBtn->setChecked(false);
        }
        qCDebug(lcApp) << "aaaa" << int(pageType);
        return;
    }

    if (question(tr("Whether to stop importing datas?")) == 1) {
        finishImport();
        ui->saveBtn->setEnabled(true);
        ui->menuBtn->setEnabled(true);
    } else if (download->isRunning()) {
        // The download may have ended while the question was open; then there
        // is nothing to go on with.
        ui->downloadBtn->setChecked(true);
        importDatas();
    }
}

void MainWindow::importDatas() { download->requestNext(page(pageType)); }
void MainWindow::importthisDatas() { download->requestAgain(page(pageType)); }

void MainWindow::finishImport()
{
    download->finish();
    ui->saveBtn->setEnabled(true);
    ui->downloadBtn->setChecked(false);
    ui->progressBar->hide();
    replacePageFrame(pageType);
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
    if (const auto &save = page(pageType).save)
        save(dir);
}

void MainWindow::isSaveInfo() { askToSave(); }

bool MainWindow::askToSave()
{
    bool asked = false;
    if (unsaved) {
        noPromptCopy = noLongerPrompt;
        if (noPromptCopy) {
            qCDebug(lcApp) << "show out!";
        } else {
            asked = true;
            if (questionWithOption(tr("Data has not been saved.\nDo you want to save the data first?"), true) == 1
                && !isImporting()) {
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
    if (isImporting())
        return;
    const QString dir = chooseDirectory();
    if (dir.isEmpty())
        return;
    saveCurrentPage(dir);
    unsaved = false;
}

void MainWindow::dataclear() { unsaved = false; }

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing ends what is running, then offers to keep what was collected.
    if (run->isRunning()) {
        resumePauseDownloadRealTimeOpmValue(false, false);
    } else if (download->isRunning()) {
        finishImport();
        ui->menuBtn->setEnabled(true);
    }
    if (unsaved)
        isSaveInfo();
    event->accept();
}

// ------------------------------------------------------------------ menu

void MainWindow::setMenuButtonUnchecked() { ui->menuBtn->setChecked(false); }

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
    historyBtn->setText(tr("History"));
    ui->dateTimeLabel->setText(tr("2020/8/17 13:20"));
    ui->timerLabel->setText(tr("0s"));
}

// ------------------------------------------------------- real-time sampling

void MainWindow::on_sampleIntervalCombo_currentIndexChanged(int index) { sampling->intervalChosen(index); }
void MainWindow::on_sampleTimeCombo_currentIndexChanged(int index) { sampling->durationChosen(index); }

void MainWindow::resumePauseDownloadRealTimeOpmValue(bool start, bool isPause)
{
    if (start) {
        // After a run has ended, a new one begins from zero, whatever duration
        // has been chosen since, once the last one has been offered for saving.
        if (run->state() == SamplingRun::State::Finished && askToSave() && !linkUp()) {
            ui->chart->setPlayUnchecked();
            return;
        }
        ui->menuBtn->setEnabled(false);
        ui->saveBtn->setEnabled(false);
        const bool fresh = sampling->start();
        unsaved = true;
        if (fresh && !ledger->isInFlight(ui->chart->frame()))
            send(Command::realTimeValue(), ui->chart->frame());
        return;
    }
    ui->saveBtn->setEnabled(true);
    ui->menuBtn->setEnabled(true);
    sampling->stop(isPause);
    if (!isPause)
        history->endRun();
    ui->chart->setClearOnResume(!isPause);
    ui->chart->setPlayUnchecked();
}

void MainWindow::restartDownloadRealTimeOpmValue()
{
    unsaved = true;
    history->endRun();
    sampling->restart();
}

void MainWindow::stopDownloadRealTimeOpmValue()
{
    sampling->clear();
    history->endRun();
    // The run ends here as with any stop: the menu and saving are back.
    ui->menuBtn->setEnabled(true);
    ui->saveBtn->setEnabled(true);
    ui->chart->setClearOnResume(true);
    ui->chart->setPlayUnchecked();
}

void MainWindow::downloadRealTimeOpmValueTimes()
{
    if (connectRequested)
        sampling->tick();
}

// --------------------------------------------------------------------- clock

void MainWindow::connectcmd() { clock->sendIdentity(); }
void MainWindow::syncDateTime() { clock->start(); }
void MainWindow::reallytime() { clock->sendTime(); }

void MainWindow::updateDateTime()
{
    ui->dateTimeLabel->setText(
        ValueFormat::dateTimeText(QDateTime::currentDateTime(), QStringLiteral("yyyy/MM/dd HH:mm:ss")));
}

// -------------------------------------------------------------------- layout

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
    WindowLayout::applyPageButtonFont(pageButtons(), WindowLayout::pageButtonPointSize(ui->opmBtn));
}
