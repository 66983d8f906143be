#pragma once
// The history page in the window: its button below the page buttons (usable
// with or without a meter), the list of stored sessions, and a stored session
// opened into the page of its kind, offline and read-only.

#include "app/pages.h"
#include "history/historystore.h"

#include <QList>
#include <QObject>
#include <functional>

class HistoryForm;
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
    };
    HistoryPanel(const Places &places, HistoryStore *store, const Window &window, QObject *parent = nullptr);

    QPushButton *button() const { return historyBtn; }
    HistoryForm *form() const { return historyPage; }

    // The history button: the list replaces the page shown (unless something runs).
    void show();
    // A stored session into its page.
    void open(const HistoryStore::SessionSummary &session);
    // The button says whether the list is up (losing the meter keeps it so).
    void keepButtonState();
    void retranslate();

signals:
    // The page shown goes: no page is chosen, its controls go.
    void leavingPages();
    // A stored session is shown in this page, read-only.
    void opened(PageType type);

private:
    HistoryStore *store;
    Window window;
    QPushButton *historyBtn;
    HistoryForm *historyPage;
};
