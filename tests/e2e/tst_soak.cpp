// A long download (65 535 single-wave records by default) from a meter that
// misbehaves at random: every record must arrive once and in order, the
// report must hold them all, and memory must only grow by what the store
// keeps. Skipped unless LUMISK_SOAK_RECORDS is set (scripts/soak sets it).

#include "e2esupport.h"

#include "link/requestledger.h"
#include "views/opmform.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

using namespace e2e;

namespace {

// Resident and peak resident memory of this process, in KiB.
qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void longDownloadWithRandomFaults()
    {
        const int records = qEnvironmentVariableIntValue("LUMISK_SOAK_RECORDS");
        if (records <= 0)
            QSKIP("set LUMISK_SOAK_RECORDS (scripts/soak) to run the long download");
        const int faultPercent = qEnvironmentVariableIsSet("LUMISK_SOAK_FAULT_PERCENT")
            ? qEnvironmentVariableIntValue("LUMISK_SOAK_FAULT_PERCENT")
            : 2;
        const QByteArray seed = qEnvironmentVariableIsSet("LUMISK_SOAK_SEED") ? qgetenv("LUMISK_SOAK_SEED") : "7";

        prepareProcess();
        QTemporaryDir reports;
        QVERIFY(reports.isValid());
        MainWindow::setDirectoryChooser([&reports]() { return reports.path(); });

        testsupport::MeterSim sim;
        QVERIFY(sim.start({"--kind", "6", "--records", QString::number(records), "--random-faults",
                           QStringLiteral("%1:%2").arg(faultPercent).arg(QString::fromLatin1(seed))}));
        testsupport::setSerialPorts({sim.linkPath()});

        auto window = std::make_unique<MainWindow>();
        window->show();
        QVERIFY(connectWindow(window.get()));
        button(window.get(), "opmBtn")->click();

        auto *page = window->findChild<OpmForm *>(QStringLiteral("opmTable"));
        QVERIFY(page);
        QElapsedTimer clock;
        clock.start();
        button(window.get(), "downloadBtn")->click();
        QVERIFY(window->isImporting());

        // Wait for the end in a plain event loop (QTest::qWait sleeps between
        // rounds and would pace the download), watching that it keeps moving.
        qint64 rssAtTenth = -1;
        int lastCount = -1;
        bool stalled = false;
        QElapsedTimer sinceProgress;
        sinceProgress.start();
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(50);
        connect(&poll, &QTimer::timeout, &loop, [&]() {
            const int count = page->items.itemCount();
            if (count != lastCount) {
                lastCount = count;
                sinceProgress.restart();
            }
            if (rssAtTenth < 0 && count >= records / 10)
                rssAtTenth = statusKiB("VmRSS:");
            stalled = sinceProgress.elapsed() > 30000;
            if (!window->isImporting() || stalled)
                loop.quit();
        });
        poll.start();
        loop.exec();
        QVERIFY2(!stalled, "the download stalled");
        const double seconds = clock.elapsed() / 1000.0;
        const qint64 rssAtEnd = statusKiB("VmRSS:");

        // Every record once, in order.
        const QList<OpmItemData> stored = page->items.allItems();
        QCOMPARE(stored.size(), records);
        for (int i = 0; i < stored.size(); ++i) {
            if (stored.at(i).number != QString::number(i + 1))
                QFAIL(qPrintable(QStringLiteral("record %1 holds number %2").arg(i + 1).arg(stored.at(i).number)));
        }
        // The last request asks for one past the last record; the record
        // number travels in 16 bits, so after 65535 that is 0.
        QList<int> asked = requestedRecords(sim, QStringLiteral("06"));
        QCOMPARE(asked.last(), (records + 1) & 0xFFFF);
        asked.removeLast();
        for (int i = 1; i < asked.size(); ++i) {
            if (asked.at(i) < asked.at(i - 1))
                QFAIL(qPrintable(QStringLiteral("record %1 was asked for after record %2")
                                     .arg(asked.at(i))
                                     .arg(asked.at(i - 1))));
        }

        // The report holds them all.
        QString message;
        answerMessage("yesBtn", &message);
        button(window.get(), "saveBtn")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!message.isEmpty(), 60000);
        QCOMPARE(message, QCoreApplication::translate("OpmForm", "Report exported"));
        const QStringList files = QDir(reports.path()).entryList({"*.xlsx"});
        QCOMPARE(files.size(), 1);
        QStringList numbers, names;
        QString error;
        QVERIFY2(readReport(QDir(reports.path()).filePath(files.first()), &numbers, &names, &error), qPrintable(error));
        QCOMPARE(numbers.size(), records);
        QCOMPARE(numbers.last(), QString::number(records));

        // Memory: after the first tenth, growth stays within what the store
        // keeps per record (well under 4 KiB a record).
        const qint64 peak = statusKiB("VmHWM:");
        const qint64 growth = rssAtEnd - rssAtTenth;
        const int laterRecords = records - records / 10;
        std::printf("soak: %d records in %.1f s (%.0f records/s), %d requests, %d%% faults; "
                    "RSS %lld KiB at a tenth, %lld KiB at the end, peak %lld KiB (%.0f B per later record)\n",
                    records, seconds, records / seconds, int(asked.size()) + 1, faultPercent, rssAtTenth, rssAtEnd,
                    peak, laterRecords > 0 ? growth * 1024.0 / laterRecords : 0.0);
        std::fflush(stdout);
        QVERIFY2(growth < qint64(laterRecords) * 4, "memory grew more than the store explains");

        window.reset();
        MainWindow::setDirectoryChooser(nullptr);
    }
};

LUMISK_TEST(TestSoak)
#include "tst_soak.moc"
