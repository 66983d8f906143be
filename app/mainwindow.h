#pragma once
// The application's only top-level window: connects to the meter, offers the
// pages that the connected meter supports, downloads stored records into the
// page shown, runs real-time sampling, sets the meter's clock and saves
// reports. The link worker does the serial work on its own thread; this
// window talks to it only through queued signals (and the few direct calls
// the worker allows). The work itself sits in its own pieces: the page table,
// a download session, a sampling run and the clock setting.

#include "app/pages.h"
#include "history/historystore.h"
#include "link/frame.h"
#include "link/uart.h"

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QTimer>
#include <functional>

namespace Ui {
class MainWindow;
}

class ClockSetting;
class DownloadSession;
class HistoryForm;
class HistoryRecorder;
class QPushButton;
class RequestLedger;
class SamplingPanel;
class SamplingRun;
class UartWorker;
struct DevDatas;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // Asks the user for the directory a report goes into; an empty answer
    // means cancelled. Replaceable so that the window can be driven without a
    // person at the file dialog; a null chooser restores the file dialog.
    using DirectoryChooser = std::function<QString()>;
    static void setDirectoryChooser(DirectoryChooser chooser);

    // State a caller may look at (the flags behind the widgets).
    int currentPageType() const { return int(pageType); }
    bool isImporting() const;
    bool hasUnsavedData() const { return unsaved; }

signals:
    void connectDev();
    void reconnectDev();
    void reinitDev();
    void request(QByteArray data, Frame *frame);

public slots:
    void setMenuButtonUnchecked();
    void devInited(Uart::PortInitState state);
    void uartResponsed(ParseResult result);
    void importDatas();
    void importthisDatas();
    void resumePauseDownloadRealTimeOpmValue(bool start, bool isPause);
    void restartDownloadRealTimeOpmValue();
    void stopDownloadRealTimeOpmValue();
    void downloadRealTimeOpmValueTimes();
    void syncDateTime();
    void uartClosed();
    void changeLanguage();
    void ReconnectRelsult(Uart::PortInitState status);
    void reallytime();
    void connectcmd();
    void dataclear();
    void isSaveInfo();
    void closeConnect();
    void on_menuBtn_clicked(bool checked);
    void on_downloadBtn_clicked(bool checked);
    void on_saveBtn_clicked();
    void on_opmBtn_clicked();
    void on_multiWaveOpmBtn_clicked();
    void on_ponOpmBtn_clicked();
    void on_xgPonBtn_clicked();
    void on_fttxBtn_clicked();
    void on_chartBtn_clicked();
    void on_sampleIntervalCombo_currentIndexChanged(int index);
    void on_sampleTimeCombo_currentIndexChanged(int index);
    void on_connectBtn_clicked();
    void on_partialOpmBtn_clicked();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPageTable();
    const PageEntry &page(PageType type) const;
    void choosePage(PageType type);
    void clearImportTabs();
    void finishImport();
    // Sends one request and records that the frame is out with the worker.
    void send(const QByteArray &data, Frame *frame);
    // The meter is still there: asked again after every question to the user,
    // since the link may have gone while the question was open.
    bool linkUp() const;
    // Gives a fresh frame to the record page or the chart when the current
    // one may still be filled by the worker (the old one is retired).
    void replacePageFrame(PageType type);
    void saveCurrentPage(const QString &dir);
    // The save question of isSaveInfo(); true when it was put to the user.
    bool askToSave();
    QString chooseDirectory();
    void initDone(Uart::PortInitState state);
    void enableOfferedPages();
    // The history page: shown from its own button, with or without a meter.
    void createHistoryPage();
    void showHistory();
    // A stored download back in its record page, to look at and save again.
    void openHistorySession(const HistoryStore::SessionSummary &session);
    QList<QPushButton *> pageButtons() const { return tabButtons + QList<QPushButton *>{historyBtn}; }
    void fitPageButtonFont();
    void updateDateTime();

    Ui::MainWindow *ui;
    UartWorker *worker = nullptr;
    DevDatas *devDatas = nullptr;
    RequestLedger *ledger = nullptr;
    DownloadSession *download = nullptr;
    HistoryRecorder *history = nullptr; // what arrives, kept in the measurement history
    SamplingPanel *sampling = nullptr;
    SamplingRun *run = nullptr; // the panel's

    ClockSetting *clock = nullptr;
    QList<PageEntry> pages;
    QList<QPushButton *> tabButtons;
    QPushButton *historyBtn = nullptr;
    HistoryForm *historyPage = nullptr;
    QTimer samplingTimer;
    QTimer clockTimer;
    PageType pageType = PageType::None;
    bool connectRequested = false;
    bool unsaved = false;
    bool noPromptCopy = false;
    bool resumeAfterReconnect = false;
    static DirectoryChooser directoryChooser;
};
