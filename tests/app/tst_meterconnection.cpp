// The connection as the window shows it, without a link: which pages a meter
// opens, and a download or run waiting for the meter to come back resumes
// once, or ends when it does not come back.

#include "app/meterconnection.h"
#include "link/devdatas.h"
#include "testregistry.h"
#include "testsupport.h"
#include "widgets/chartform.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

class TestMeterConnection : public QObject
{
    Q_OBJECT
    std::unique_ptr<QWidget> window;
    QList<PageEntry> pages;
    DevDatas meter;
    bool alive = true;
    MeterConnection *connection = nullptr;
    QPushButton *connectBtn = nullptr;

    QPushButton *buttonOf(PageType type) { return pageIn(pages, type).button; }

private slots:
    void init()
    {
        window = std::make_unique<QWidget>();
        connectBtn = new QPushButton(window.get());
        auto *chart = new ChartForm(window.get());
        pages.clear();
        for (PageType type : {PageType::Opm, PageType::MultiWave, PageType::Partial, PageType::Pon, PageType::XGPon,
                              PageType::Fttx, PageType::Chart}) {
            PageEntry entry;
            entry.type = type;
            entry.button = new QPushButton(window.get());
            entry.button->setCheckable(true);
            pages << entry;
        }
        meter = DevDatas();
        alive = true;
        connection = new MeterConnection({connectBtn, new QLabel(window.get()), buttonOf(PageType::Chart), chart},
                                         &pages, &meter, [this]() { return alive; }, window.get());
    }

    void linkUpOnlyWhileAsked()
    {
        QVERIFY(!connection->linkUp()); // a live port nobody asked for
        QSignalSpy opening(connection, &MeterConnection::opening);
        QSignalSpy closing(connection, &MeterConnection::closing);
        connection->toggle();
        QCOMPARE(opening.count(), 1);
        QVERIFY(!connectBtn->isEnabled()); // until the link answers
        QVERIFY(connection->linkUp());
        alive = false;
        QVERIFY(!connection->linkUp());
        connection->toggle();
        QCOMPARE(closing.count(), 1);
        QVERIFY(!connection->isRequested());
    }

    // The pages of the meter, and the page shown going when this meter has none.
    void offeredPages_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("range");
        QTest::addColumn<int>("checked");
        QTest::addColumn<bool>("withdrawn");
        QTest::newRow("PON keeps its page") << 2 << 1 << int(PageType::Pon) << false;
        QTest::newRow("XG-PON takes the PON page") << 3 << 0 << int(PageType::Pon) << true;
        QTest::newRow("partial-wave has no chart") << 9 << 1 << int(PageType::Chart) << true;
    }
    void offeredPages()
    {
        QFETCH(int, kind);
        QFETCH(int, range);
        QFETCH(int, checked);
        QFETCH(bool, withdrawn);
        meter.devKind = kind;
        meter.rangeCode = range;
        buttonOf(PageType(checked))->setChecked(true);
        QSignalSpy gone(connection, &MeterConnection::pageWithdrawn);
        connection->toggle();
        connection->initDone(Uart::InitOk);
        const QList<PageType> offered = pagesFor(meter);
        for (const PageEntry &entry : pages)
            QCOMPARE(entry.button->isEnabled(), offered.contains(entry.type));
        QCOMPARE(gone.count(), withdrawn ? 1 : 0);
        QCOMPARE(buttonOf(PageType(checked))->isChecked(), !withdrawn);

        connection->closed();
        for (const PageEntry &entry : pages)
            QVERIFY(!entry.button->isEnabled() && !entry.button->isChecked());
    }

    // What waits for the meter after a re-initialisation: it goes on once when
    // the meter is back, ends when it is not, and is forgotten when the port closes.
    void resumeAfterReinit_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<int>("resumed");
        QTest::addColumn<int>("failed");
        QTest::newRow("meter back") << "ok" << 1 << 0;
        QTest::newRow("meter not back") << "failed" << 0 << 1;
        QTest::newRow("port closed first") << "closed" << 0 << 0;
    }
    void resumeAfterReinit()
    {
        QFETCH(QString, event);
        QFETCH(int, resumed);
        QFETCH(int, failed);
        meter.devKind = 5;
        connection->toggle();
        connection->initDone(Uart::InitOk);
        QSignalSpy resumeDue(connection, &MeterConnection::resumeDue);
        QSignalSpy resumeFailed(connection, &MeterConnection::resumeFailed);
        connection->resumeOnReconnect();
        if (event == QLatin1String("failed")) {
            testsupport::answerMessage(QStringLiteral("yesBtn"));
            connection->initDone(Uart::InitFailed);
            QVERIFY(!connection->isRequested());
        } else if (event == QLatin1String("closed")) {
            connection->closed();
        }
        connection->initDone(Uart::InitOk);
        // A second identification is a plain one: the pages, no second resume.
        connection->initDone(Uart::InitOk);
        QCOMPARE(resumeDue.count(), resumed);
        QCOMPARE(resumeFailed.count(), failed);
        QVERIFY(buttonOf(PageType::Opm)->isEnabled());
    }
};

LUMISK_TEST(TestMeterConnection)
#include "tst_meterconnection.moc"
