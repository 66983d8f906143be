#pragma once
// The history page in the window: its button below the page buttons (usable
// with or without a meter), the list of stored sessions, and a stored session
// opened into the page of its kind, offline and read-only: the records of a
// download in their record page, the readings of a live run as the curve.
// After an unclean exit the next start offers the session that was cut off,
// once; a history that cannot be kept is said once, and everything else goes
// on without it.

#include "app/exportflow.h"
#include "domain/pages.h"
#include "history/historystore.h"

#include <QList>
#include <QObject>
#include <functional>

class ChartForm;
class HistoryForm;
class HistoryRecorder;
class QBoxLayout;
class QPushButton;
class QWidget;

class HistoryPanel : public QObject
{
    Q_OBJECT
public:
    // Where the button and the page go.
    struct Places {
        QWidget *tabFrame;
        QBoxLayout *buttons;
        QPushButton *neighbour; // the button goes below it and takes its size
        QWidget *pagesWidget;
        QBoxLayout *pages;
    };
    // What the panel asks of the window.
    struct Window {
        std::function<bool()> busy;      // a download or live run is going
        std::function<bool()> askToSave; // before what is shown goes
        const QList<PageEntry> *pages;
        ChartForm *chart;
    };
    // The recorder's store is listed; what went wrong with it is said (see
    // reportProblem()), and an interrupted session offered, once the event
    // loop runs.
    HistoryPanel(const Places &places, HistoryRecorder *recorder, const Window &window, QObject *parent = nullptr);

    QPushButton *button() const { return historyBtn; }
    HistoryForm *form() const { return historyPage; }

    // The history button: the list replaces the page shown (unless something runs).
    void show();
    // A stored session into its page (or a message saying why it cannot be read).
    void open(const HistoryStore::SessionSummary &session);
    // A stored session as an export (the class check as the PON pages have it
    // now); nothing, and `why`, when the history cannot be read.
    ExportContent content(const HistoryStore::SessionSummary &session, QString *why = nullptr) const;
    // The meter and technician of a stored session, as far as the list keeps them.
    static HistoryStore::Session identityOf(const HistoryStore::SessionSummary &session);
    void exportSession(const HistoryStore::SessionSummary &session, ExportFiles::Format format);
    // The button says whether the list is up (losing the meter keeps it so).
    void keepButtonState();
    void retranslate();
    // The newest session an unclean exit cut off, if not offered before:
    // asks whether to open it.
    void offerInterrupted();
    // Says why history is off (or what happened to it), once per process for
    // each message, after whatever is under way now.
    void reportProblem(const QString &message);

    // The settings key under which the start of the last session offered is kept.
    static QString offeredKey() { return QStringLiteral("history/interruptedOffered"); }

signals:
    // The page shown goes: no page is chosen, its controls go.
    void leavingPages();
    // A stored session is shown in this page, read-only; then which one.
    void opened(PageType type);
    void sessionOpened(const HistoryStore::SessionSummary &session);

private:
    HistoryStore *store;
    Window window;
    QPushButton *historyBtn;
    HistoryForm *historyPage;
};
