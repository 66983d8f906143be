#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "app/application.h"
#include "session/clocksetting.h"
#include "domain/configuration.h"
#include "domain/ponclasscheck.h"
#include "app/downloadcontrol.h"
#include "app/historypanel.h"
#include "app/liverun.h"
#include "app/meterconnection.h"
#include "app/samplingpanel.h"
#include "app/startpanel.h"
#include "app/rememberedchoices.h"
#include "app/windowkeys.h"
#include "app/windowlayout.h"
#include "dialogs/menuwidget.h"
#include "dialogs/messagedialog.h"
#include "link/commands.h"
#include "link/devdatas.h"
#include "link/logging.h"
#include "link/realtimeopmvalueframe.h"
#include "link/uartworker.h"
#include "session/downloadsession.h"
#include "session/historyrecorder.h"
#include "session/metersession.h"
#include "link/valueformat.h"
#include "views/multiwaveopmform.h"
#include "views/opmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"
#include "widgets/chartform.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QDateTime>
#include <QIcon>

namespace {
constexpr int ClockTickMs = 1000;
constexpr int MenuMargin = 10;
// Entry of both sampling combos that opens the time-span dialog.
constexpr int CustomizeIndex = 7;
} // namespace

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
    RememberedChoices::restoreWindow(this);

    worker = UartWorker::instance();
    // The ledger comes with the session, before the window's own connection
    // to the worker's results.
    session = new MeterSession(MeterSession::through(worker), this);
    download = session->download();
    devDatas = DevDatas::instance();
    history = new HistoryRecorder(this);
    buildPageTable();
    historyPanel = new HistoryPanel(
        {ui->tabFrame, ui->verticalLayout_2, ui->chartBtn, ui->pagesWidget, ui->verticalLayout_3}, history,
        {[this]() { return isImporting(); }, [this]() { return saves->askToSave(); }, &pages, ui->chart}, this);
    startPanel = new StartPanel(ui->pagesWidget);
    ui->verticalLayout_3->addWidget(startPanel);
    startPanel->setStore(history->store());
    WindowLayout::applyPageButtonFont(pageButtons(), WindowLayout::PageButtonPointSize);
    WindowLayout::keepPageButtonFont(this, ui->opmBtn, [this]() { return pageButtons(); });
    clearImportTabs();
    hide({ui->realTimeParamWidget, ui->downloadBtn, ui->saveBtn, ui->timerLabel, ui->progressBar});

    setWindowTitle(tr("Lumisk"));
    setWindowIcon(QIcon(QStringLiteral(":/img/logob_t3.png")));

    sampling = new SamplingPanel({ui->sampleIntervalCombo, ui->sampleTimeCombo, ui->realTimeParamWidget,
                                  ui->progressBar, ui->timerLabel},
                                 &samplingTimer, this);
    run = sampling->run();
    session->setDownloadWanted([this]() { return ui->downloadBtn->isChecked(); });
    session->setLiveFrame({[this]() -> Frame * { return ui->chart->frame(); }, [this]() { ui->chart->createFrame(); },
                           [this]() { return run->isRunning() && pageType == PageType::Chart; }});
    connection = new MeterConnection({ui->connectBtn, ui->deviceLabel, ui->chartBtn, ui->chart}, &pages, devDatas,
                                     [this]() { return worker->isPortAlive(); }, this);
    saves = new SaveFlow([this]() { return isImporting(); },
                         [this](const QString &dir) {
                             if (const auto &save = page(pageType).save)
                                 save(dir);
                         },
                         this);
    live = new LiveRun({ui->chart, ui->menuBtn, ui->saveBtn},
                       {sampling, saves, history, session, [this]() { return connection->linkUp(); }}, this);
    downloads = new DownloadControl({ui->downloadBtn, ui->saveBtn, ui->menuBtn, ui->progressBar},
                                    {download, saves, [this]() -> const PageEntry & { return page(pageType); },
                                     [this]() { return isImporting(); }, [this]() { return connection->linkUp(); }},
                                    this);
    wireParts();
    keys = WindowKeys::forWindow(this, {ui->connectBtn, ui->downloadBtn, ui->saveBtn, historyPanel->button(), ui->menuBtn,
                                        ui->chart, [this]() { exportShown(ExportFiles::Format::Csv); },
                                        [this]() { exportShown(ExportFiles::Format::Pdf); }});

    connect(&samplingTimer, &QTimer::timeout, this, &MainWindow::downloadRealTimeOpmValueTimes);
    connect(&clockTimer, &QTimer::timeout, this, &MainWindow::updateDateTime);
    clockTimer.start(ClockTickMs);
    updateDateTime(); // not the form's placeholder date until the first tick

    ui->chart->setPlayEnabled(false);
    startPanel->show();
}

void MainWindow::wireParts()
{
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

    connect(session, &MeterSession::request, this, &MainWindow::request);
    connect(session, &MeterSession::meterGone, this, &MainWindow::finishImport);
    connect(session, &MeterSession::reinitNeeded, connection, &MeterConnection::resumeOnReconnect);
    connect(session, &MeterSession::reinitNeeded, this, &MainWindow::reconnectDev);
    // The history first: the chart takes the reading out of the frame.
    session->keepIn(history);
    connect(session, &MeterSession::liveReading, this,
            [this](const Frame *, const QDateTime &arrival) { ui->chart->addRealTimeValue(arrival); });
    connect(session, &MeterSession::clockSet, this, []() { showMessage(tr("Time has been synchronized")); });
    connect(session, &MeterSession::clockHasNoRtc, this, []() { showMessage(tr("Device has no RTC")); });

    connect(download, &DownloadSession::began, this, [this]() {
        downloadStarted = QDateTime::currentDateTime();
        openedSession.reset();
    });
    connect(downloads, &DownloadControl::finished, this, [this]() { session->replaceFrame(page(pageType).records); });

    connect(connection, &MeterConnection::opening, this, [this]() {
        clearImportTabs();
        startPanel->showIfAlone(); // until a page is chosen
        saves->markSaved();
        emit connectDev();
    });
    connect(connection, &MeterConnection::closing, this, [this]() {
        saves->markSaved();
        worker->closeUart();
    });
    connect(connection, &MeterConnection::resumeFailed, session, &MeterSession::reopenFailed);
    connect(connection, &MeterConnection::resumeFailed, this, &MainWindow::stopRunning);
    connect(connection, &MeterConnection::reinitRequested, this, [this](const Uart::Settings &port) {
        worker->choosePort(port);
        emit reinitDev();
    });
    connect(connection, &MeterConnection::identified, this, [this]() { run->rewind(); });
    connect(connection, &MeterConnection::resumeDue, session, &MeterSession::reopened);
    connect(connection, &MeterConnection::pageWithdrawn, this, [this]() { pageType = PageType::None; });
    connect(connection, &MeterConnection::lost, this, &MainWindow::meterLost);

    connect(historyPanel, &HistoryPanel::leavingPages, this, [this]() {
        clearImportTabs();
        pageType = PageType::None;
        hide({ui->realTimeParamWidget, ui->downloadBtn, ui->saveBtn});
    });
    connect(historyPanel, &HistoryPanel::opened, this, &MainWindow::showStored);
    connect(startPanel, &StartPanel::connectRequested, this, [this]() { WindowKeys::clickIfShown(ui->connectBtn); });
    connect(startPanel, &StartPanel::openRequested, historyPanel, &HistoryPanel::open);
    connect(historyPanel, &HistoryPanel::sessionOpened, this,
            [this](const HistoryStore::SessionSummary &session) { openedSession = session; });
}

MainWindow::~MainWindow()
{
    samplingTimer.stop();
    clockTimer.stop();
    // Frames still out with the worker must outlive this window.
    session->handOver(pages);
    delete ui;
}

bool MainWindow::isImporting() const
{
    return download->isRunning() || run->isRunning();
}

void MainWindow::hide(std::initializer_list<QWidget *> widgets)
{
    for (QWidget *widget : widgets)
        widget->hide();
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
    // Every page decodes the answers of the meter the link identified.
    for (const PageEntry &entry : pages) {
        if (entry.records)
            entry.records->setIdentity(devDatas);
    }
    ui->chart->setIdentity(devDatas);
}

QList<QPushButton *> MainWindow::pageButtons() const
{
    QList<QPushButton *> buttons;
    for (const PageEntry &entry : pages)
        buttons << entry.button;
    return buttons << historyPanel->button();
}

ExportContent MainWindow::shownContent() const
{
    const PonClassCheck *check = pageType == PageType::Pon     ? &ui->ponOpmTable->classCheck()
                                 : pageType == PageType::XGPon ? &ui->xGPonTable->classCheck()
                                                               : nullptr;
    return ExportFlow::contentOf({HistoryRecorder::familyOf(pageType), openedSession ? &*openedSession : nullptr,
                                  downloadStarted, page(pageType).records, check,
                                  pageType == PageType::Chart ? ui->chart : nullptr});
}

void MainWindow::exportShown(ExportFiles::Format format)
{
    // As Save: nothing is exported under a download or live run that goes.
    if (isImporting())
        return;
    ExportFlow::run(shownContent(), format);
}

void MainWindow::showStored(PageType type)
{
    // Shown read-only: no download into it, but saved like a fresh download.
    const PageEntry &entry = page(type);
    clearImportTabs();
    entry.button->setChecked(true);
    pageType = entry.type;
    entry.widget->show();
    ui->downloadBtn->hide();
    ui->realTimeParamWidget->hide();
    ui->saveBtn->setEnabled(true);
    ui->saveBtn->show();
    saves->markSaved();
}

void MainWindow::clearImportTabs()
{
    openedSession.reset();
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
        if (saves->askToSave() && !connection->linkUp()) {
            button->setChecked(false);
            return;
        }
        clearImportTabs();
        page(type).widget->show();
    }
    if (type == PageType::Chart && ui->chart->isShowingStored()) {
        // A run from the history gives way to live sampling.
        ui->chart->clearDatas();
        ui->chart->setPlayEnabled(connection->isRequested());
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

// ---------------------------------------------------------------- connecting

void MainWindow::on_connectBtn_clicked()
{
    if (!isImporting())
        connection->toggle();
}

void MainWindow::closeConnect() { connection->dropRequest(); }
void MainWindow::devInited(Uart::PortInitState state)
{
    startPanel->setPortReports(state == Uart::InitFailed ? Uart::lastPortReports()
                                                         : QList<PortDiagnosis::PortReport>());
    connection->initDone(state);
}

void MainWindow::ReconnectRelsult(Uart::PortInitState status) { connection->initDone(status); }
void MainWindow::uartClosed() { connection->closed(); }

void MainWindow::meterLost()
{
    if (download->isRunning())
        finishImport();
    else if (run->isRunning())
        session->replaceLiveFrame();
    resumePauseDownloadRealTimeOpmValue(false, false);
    hide({ui->realTimeParamWidget, ui->downloadBtn, ui->saveBtn, ui->timerLabel, ui->opmTable});
    historyPanel->keepButtonState(); // the history needs no meter
    startPanel->showIfAlone();
}

void MainWindow::stopRunning()
{
    if (run->isRunning()) {
        resumePauseDownloadRealTimeOpmValue(false, false);
    } else if (download->isRunning()) {
        finishImport();
        ui->menuBtn->setEnabled(true);
    }
}

// ------------------------------------------------------------- parse results

void MainWindow::uartResponsed(ParseResult result)
{
    qCDebug(lcApp) << "void __thiscall MainWindow::uartResponsed(enum ParseResult)";
    session->route(result);
}

// ---------------------------------------------------------------- download

void MainWindow::on_downloadBtn_clicked(bool checked) { downloads->clicked(checked); }
void MainWindow::importDatas() { download->requestNext(page(pageType)); }
void MainWindow::importthisDatas() { download->requestAgain(page(pageType)); }

void MainWindow::finishImport() { downloads->finish(); }

// ------------------------------------------------------------------ saving

void MainWindow::isSaveInfo() { saves->askToSave(); }
void MainWindow::on_saveBtn_clicked() { saves->save(); }
void MainWindow::dataclear() { saves->markSaved(); }

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing ends what is running, then offers to keep what was collected.
    stopRunning();
    if (saves->hasUnsaved())
        isSaveInfo();
    // The port and its lock file go first: what ends after this window (the
    // team server's sync among it) must not keep them from another program.
    worker->closeUart();
    RememberedChoices::saveWindow(this);
    event->accept();
}

// ------------------------------------------------------------------ menu

void MainWindow::setMenuButtonUnchecked() { ui->menuBtn->setChecked(false); }

void MainWindow::on_menuBtn_clicked(bool checked)
{
    if (!checked)
        return;
    auto *menu = new MenuWidget(worker->isConnected(), this);
    connect(menu, &QObject::destroyed, this, &MainWindow::setMenuButtonUnchecked);
    connect(menu, &MenuWidget::connectDev, worker, &UartWorker::initUart);
    connect(menu, &MenuWidget::syncDateTime, this, &MainWindow::syncDateTime);
    connect(menu, &MenuWidget::languageChanged, this, &MainWindow::changeLanguage);
    connect(menu, &MenuWidget::languageChosen, this, &applyLanguageChoice);
    connect(menu, &MenuWidget::ponClassChosen, this, &MainWindow::ponClassChosen);
    connect(menu, &MenuWidget::exportCsv, this, [this]() { exportShown(ExportFiles::Format::Csv); });
    connect(menu, &MenuWidget::exportPdf, this, [this]() { exportShown(ExportFiles::Format::Pdf); });
    keys->describe(menu->findChild<QAbstractButton *>(QStringLiteral("exportCsvBtn")), "exportCsvAction");
    keys->describe(menu->findChild<QAbstractButton *>(QStringLiteral("exportPdfBtn")), "exportPdfAction");
    const QPoint corner(width() - menu->width() - MenuMargin, ui->actionbarFrame->geometry().bottom());
    menu->move(mapToGlobal(corner));
    menu->show();
}

void MainWindow::ponClassChosen(const QString &gponClass, const QString &xgPonClass)
{
    PonClassCheck::storeChoices(gponClass, xgPonClass);
    ui->ponOpmTable->reloadClassCheck();
    ui->xGPonTable->reloadClassCheck();
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
    historyPanel->retranslate();
    keys->retranslate();
    ui->dateTimeLabel->setText(tr("2020/8/17 13:20"));
    ui->timerLabel->setText(tr("0s"));
}

// ------------------------------------------------------- real-time sampling

void MainWindow::on_sampleIntervalCombo_currentIndexChanged(int index) { sampling->intervalChosen(index); }
void MainWindow::on_sampleTimeCombo_currentIndexChanged(int index) { sampling->durationChosen(index); }

void MainWindow::resumePauseDownloadRealTimeOpmValue(bool start, bool isPause) { live->resumePause(start, isPause); }
void MainWindow::restartDownloadRealTimeOpmValue() { live->restart(); }
void MainWindow::stopDownloadRealTimeOpmValue() { live->stop(); }

void MainWindow::downloadRealTimeOpmValueTimes()
{
    if (connection->isRequested())
        sampling->tick();
}

// --------------------------------------------------------------------- clock

void MainWindow::connectcmd() { session->clock()->sendIdentity(); }
void MainWindow::syncDateTime() { session->clock()->start(); }
void MainWindow::reallytime() { session->clock()->sendTime(); }

void MainWindow::updateDateTime()
{
    ui->dateTimeLabel->setText(
        ValueFormat::dateTimeText(QDateTime::currentDateTime(), QStringLiteral("yyyy/MM/dd HH:mm:ss")));
}
