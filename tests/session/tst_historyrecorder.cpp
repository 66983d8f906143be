// The window's side of the history: a session per download and per live run,
// records only of the page downloading, and nothing for pages without records.

#include "session/historyrecorder.h"
#include "history/historystore.h"
#include "link/opmvalueframe.h"
#include "link/realtimeopmvalueframe.h"
#include "records.h"
#include "testregistry.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TestHistoryRecorder : public QObject
{
    Q_OBJECT

private slots:
    void sessionsFollowDownloadsAndRuns()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("history.sqlite"));
        const QByteArray savedPath = qgetenv("LUMISK_HISTORY_DB");
        const QByteArray savedUser = qgetenv("USER");
        qputenv("LUMISK_HISTORY_DB", file.toLocal8Bit());
        qputenv("USER", "ana");
        {
            HistoryRecorder recorder;
            OpmValueFrame record(nullptr);
            const StoredRecord sent = records::generatedMulti(1);
            QCOMPARE(record.feed(wire::answer(sent.code, sent.fourth, sent.payload)), DataOk);
            RealTimeOpmValueFrame live(nullptr);
            QCOMPARE(live.feed(wire::answer(0x08, 0, records::encodeRealTime(records::liveReading(1), {}))), DataOk);

            recorder.beginDownload(PageType::Fttx); // no records, no session
            recorder.record(PageType::Fttx, &record);
            recorder.endDownload();
            recorder.beginDownload(PageType::MultiWave);
            recorder.record(PageType::MultiWave, &record);
            recorder.record(PageType::Opm, &record); // not this download's page
            recorder.endDownload();
            recorder.liveReading(&live, QDateTime::currentDateTime());
            recorder.liveReading(&live, QDateTime::currentDateTime());
            recorder.endRun();
            recorder.liveReading(&live, QDateTime::currentDateTime()); // a new run, still going when the window closes
        }
        qputenv("LUMISK_HISTORY_DB", savedPath);
        qputenv("USER", savedUser);

        QStringList sessions;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("recorder"));
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(QStringLiteral(
                "SELECT kind, technician, ended_utc IS NOT NULL,"
                " (SELECT COUNT(*) FROM session_records WHERE session = s.id),"
                " (SELECT COUNT(*) FROM live_readings WHERE session = s.id) FROM sessions s ORDER BY id")));
            while (query.next())
                sessions << QStringList{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                                        query.value(3).toString(), query.value(4).toString()}
                                .join(QLatin1Char(' '));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("recorder"));
        QCOMPARE(sessions, QStringList({"multi ana 1 1 0", "live ana 1 0 2", "live ana 1 0 1"}));
    }
};

LUMISK_TEST(TestHistoryRecorder)
#include "tst_historyrecorder.moc"
