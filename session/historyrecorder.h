#pragma once
// Hands what the window receives to the measurement history: one session per
// download or live run, every record and live reading as it arrives. Without
// a usable history database it does nothing, and nothing else changes.

#include "domain/pages.h"
#include "history/historystore.h"

#include <QDateTime>
#include <QObject>

class Frame;
class HistoryStore;

class HistoryRecorder : public QObject
{
    Q_OBJECT
public:
    explicit HistoryRecorder(QObject *parent = nullptr);
    ~HistoryRecorder() override;

    // The family name a page's records are kept under; empty for pages
    // without records.
    static QString familyOf(PageType type);
    // `server=` under [history] in settings.ini: the team server the history
    // is copied to (libpq keywords or a URI); empty without one.
    static QString serverSetting();

    // The connected meter, the technician and this host, as a session of
    // this kind records them.
    static HistoryStore::Session identity(const QString &kind);

    void beginDownload(PageType type);
    // A record page's frame right after a data answer, before the page takes it.
    void record(PageType type, const Frame *frame);
    void endDownload();

    // A live reading in the chart's frame, arrived at `arrival`: the one time
    // the chart and every output show for it. The first one begins the run's
    // session.
    void liveReading(const Frame *frame, const QDateTime &arrival);
    void endRun();

    HistoryStore *store() const { return history; }
    // What the user should hear about the history at start: why it is off or
    // read-only, or that a damaged file was moved aside; empty when all is well.
    QString startProblem() const;

private:
    qint64 begin(const QString &kind);

    HistoryStore *history;
    bool usable = false;
    qint64 downloadSession = 0;
    QString downloadFamily;
    qint64 runSession = 0;
};
