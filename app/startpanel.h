#pragma once
// What the window shows while no page is chosen: what to do first (plug in
// the meter, press connect) with the connect button itself, the last few
// sessions of the history (one click opens one), what each port showed when
// the last scan found no meter, the team server's sync in one line, and the
// simulated meter for trying the program without one. The history is read
// only once the panel is on screen, never before the window's first paint.

#include "history/historystore.h"
#include "link/portdiagnosis.h"

#include <QList>
#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;

class StartPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int RecentCount = 5;

    explicit StartPanel(QWidget *parent = nullptr);

    // The history listed; null lists nothing.
    void setStore(HistoryStore *store);
    // What each port showed in the last scan that found no meter; empty once a meter answered.
    void setPortReports(const QList<PortDiagnosis::PortReport> &reports);
    // Reads the recent sessions and the sync's state again.
    void refresh();
    // Shows the panel when nothing else is shown beside it.
    void showIfAlone();
    const QList<HistoryStore::SessionSummary> &recent() const { return sessions; }

signals:
    void connectRequested();
    void openRequested(const HistoryStore::SessionSummary &session);

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void updateSync();

    HistoryStore *store = nullptr;
    QList<HistoryStore::SessionSummary> sessions;
    QList<PortDiagnosis::PortReport> reports;
    QMetaObject::Connection syncConnection;
    QLabel *hintLabel;
    QPushButton *connectBtn;
    QLabel *diagnosisLabel;
    QLabel *recentLabel;
    QListWidget *recentList;
    QLabel *syncLabel;
    QLabel *demoLabel;
};
