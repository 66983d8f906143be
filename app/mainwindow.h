#pragma once
// The application's only top-level window: connects to the meter, offers the
// pages that the connected meter supports, downloads stored records into the
// page shown, runs real-time sampling, sets the meter's clock and saves
// reports. The link worker does the serial work on its own thread; this
// window talks to it only through queued signals (and the few direct calls
// the worker allows). The window shows and forwards; the conversation with
// the meter (sending, the frames out with the worker, where each answer
// goes) is the meter session's, the rest sits in its own pieces: the page
// table, the sampling panel, the connection, the save flow and the history
// page.

#include "app/exportflow.h"
#include "domain/pages.h"
#include "app/saveflow.h"
#include "link/frame.h"
#include "link/uart.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QMainWindow>
#include <QTimer>
#include <initializer_list>
#include <optional>

namespace Ui {
class MainWindow;
}

class DownloadControl;
class DownloadSession;
class HistoryPanel;
class HistoryRecorder;
class LiveRun;
class MeterConnection;
class MeterSession;
class QPushButton;
class SamplingPanel;
class SamplingRun;
class StartPanel;
class UartWorker;
class WindowKeys;
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
    using DirectoryChooser = SaveFlow::DirectoryChooser;
    static void setDirectoryChooser(DirectoryChooser chooser) { SaveFlow::setDirectoryChooser(std::move(chooser)); }

    // State a caller may look at (the flags behind the widgets).
    int currentPageType() const { return int(pageType); }
    bool isImporting() const;
    bool hasUnsavedData() const { return saves->hasUnsaved(); }

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
    // The PON class was chosen anew: the PON and XG-PON pages check against it.
    void ponClassChosen(const QString &gponClass, const QString &xgPonClass);
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
    void closeEvent(QCloseEvent *event) override;

private:
    void buildPageTable();
    void wireParts();
    const PageEntry &page(PageType type) const { return pageIn(pages, type); }
    void choosePage(PageType type);
    void clearImportTabs();
    void finishImport();
    // The meter went: what ran on it stops and the pages' controls go.
    void meterLost();
    // Ends the download or live run that goes (the meter is not back, the window closes).
    void stopRunning();
    // A stored session shown in its page, read-only.
    void showStored(PageType type);
    static void hide(std::initializer_list<QWidget *> widgets);
    QList<QPushButton *> pageButtons() const;
    void updateDateTime();
    // What the page shown holds, for an export; empty content where it holds nothing.
    ExportContent shownContent() const;
    void exportShown(ExportFiles::Format format);

    Ui::MainWindow *ui;
    UartWorker *worker = nullptr;
    DevDatas *devDatas = nullptr;
    MeterSession *session = nullptr; // sends, keeps the frames out, routes the answers
    DownloadSession *download = nullptr; // the session's
    DownloadControl *downloads = nullptr; // the download button and its neighbours
    HistoryRecorder *history = nullptr; // what arrives, kept in the measurement history
    SamplingPanel *sampling = nullptr;
    SamplingRun *run = nullptr; // the panel's
    LiveRun *live = nullptr;
    MeterConnection *connection = nullptr;
    SaveFlow *saves = nullptr;
    HistoryPanel *historyPanel = nullptr;
    WindowKeys *keys = nullptr;
    StartPanel *startPanel = nullptr; // while no page is shown
    QList<PageEntry> pages;
    QTimer samplingTimer;
    QTimer clockTimer;
    PageType pageType = PageType::None;
    QDateTime downloadStarted; // of the records the pages hold
    // The history session shown, until another page or download replaces it.
    std::optional<History::SessionSummary> openedSession;
};
