#pragma once
// The application's only top-level window: connects to the meter, offers the
// pages that the connected meter supports, downloads stored records into the
// page shown, runs real-time sampling, sets the meter's clock and saves
// reports. The link worker does the serial work on its own thread; this
// window talks to it only through queued signals (and the few direct calls
// the worker allows).

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

class BaseFormLogic;
class QPushButton;
class RequestLedger;
class UartWorker;
class ValueCountFrame;
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
    int currentPageType() const { return pageType; }
    bool isImporting() const { return importing; }
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
    void fitInitialSize();
    enum PageType { NoPage = 0, OpmPage, MultiWavePage, PartialPage, PonPage, XGPonPage, FttxPage, ChartPage };

    bool checkIntervalAgainstTime(float seconds);
    bool checkTimeAgainstInterval(int seconds);
    void finishImport();
    void clearImportTabs();

    void choosePage(QPushButton *button, int type);
    QWidget *pageWidget(int type) const;
    BaseFormLogic *recordPage(int type) const;
    ValueCountFrame *countFrameOf(int type) const;
    QByteArray countRequestOf(int type) const;
    QByteArray recordRequestOf(int type, int number) const;
    // Sends one request and records that the frame is out with the worker.
    void send(const QByteArray &data, Frame *frame);
    // A download of stored records runs on a record page.
    bool downloadRunning() const;
    // The meter is still there: asked again after every question to the user,
    // since the link may have gone while the question was open.
    bool linkUp() const;
    // A request of the running download (count or record) is still out.
    bool downloadRequestOut() const;
    // Gives a fresh frame to the record page or the chart when the current
    // one may still be filled by the worker (the old one is retired).
    void replacePageFrame(int type);
    // pendingFrame ready for the next clock-related request.
    void freshPendingFrame();
    void dropPendingFrame();
    void saveCurrentPage(const QString &dir);
    // The save question of isSaveInfo(); true when it was put to the user.
    bool askToSave();
    QString chooseDirectory();
    void initDone(Uart::PortInitState state);
    void applyPageButtonFont(int pointSize);
    void fitPageButtonFont();
    void updateDateTime();
    static float entryValue(const QString &text);

    Ui::MainWindow *ui;
    UartWorker *worker = nullptr;
    DevDatas *devDatas = nullptr;
    // Heap frames rather than members: a count frame may still be out with the
    // worker when the window is rebuilt, and must then outlive it.
    ValueCountFrame *ponCountFrame = nullptr;
    ValueCountFrame *opmCountFrame = nullptr;
    QTimer samplingTimer;
    QTimer clockTimer;
    int pageType = NoPage;
    unsigned int sampledMs = 0;
    unsigned int sampleIntervalMs = 0;
    unsigned int sampleTimeMs = 0;
    unsigned int elapsedMs = 0;
    Frame *pendingFrame = nullptr;
    bool importing = false;
    bool connectRequested = false;
    bool unsaved = false;
    bool noPromptCopy = false;
    bool resumeAfterReconnect = false;
    // The last sampling run has ended (ran its time, or was stopped): the next
    // start begins a new run from zero and first offers to save this one.
    bool runFinished = false;
    int prevIntervalIndex = 0;
    int prevTimeIndex = 0;
    int retryCount = 0;
    QList<QPushButton *> tabButtons;

    // The count request of the running download has not been answered yet, so
    // a repeat after a busy or malformed answer asks for the count again.
    bool countPending = false;
    RequestLedger *ledger = nullptr;
    static DirectoryChooser directoryChooser;
};
