// What the window remembers, read back against today's screens and folders:
// a geometry from a bigger or a gone screen still opens on this one, and a
// folder that went is replaced by one that exists.

#include "app/rememberedchoices.h"
#include "testregistry.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestRememberedChoices : public QObject
{
    Q_OBJECT
private slots:
    void fitsTheScreen_data()
    {
        QTest::addColumn<QRect>("remembered");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("expected");
        const QRect laptop(0, 0, 1366, 728);
        QTest::newRow("fits as it is") << QRect(100, 50, 800, 600) << laptop << QRect(100, 50, 800, 600);
        QTest::newRow("bigger than the screen") << QRect(0, 0, 1920, 1040) << laptop << QRect(0, 0, 1366, 728);
        QTest::newRow("off to the right") << QRect(1200, 100, 800, 600) << laptop << QRect(566, 100, 800, 600);
        QTest::newRow("above and left") << QRect(-300, -200, 800, 600) << laptop << QRect(0, 0, 800, 600);
        QTest::newRow("on a screen that went") << QRect(3000, 1200, 1000, 700) << laptop << QRect(366, 28, 1000, 700);
        QTest::newRow("second screen's origin")
            << QRect(0, 0, 800, 600) << QRect(1920, 0, 1366, 728) << QRect(1920, 0, 800, 600);
        QTest::newRow("nothing remembered") << QRect() << laptop << QRect();
    }
    void fitsTheScreen()
    {
        QFETCH(QRect, remembered);
        QFETCH(QRect, available);
        QFETCH(QRect, expected);
        const QRect place = RememberedChoices::fitted(remembered, available);
        QCOMPARE(place, expected);
        if (place.isValid())
            QVERIFY(available.contains(place));
    }

    void proposesAFolderThatExists_data()
    {
        QTest::addColumn<int>("remembered"); // 0 nothing, 1 a folder that exists, 2 one that went, 3 a file
        QTest::addColumn<bool>("keepsIt");
        QTest::newRow("nothing remembered") << 0 << false;
        QTest::newRow("folder exists") << 1 << true;
        QTest::newRow("folder went") << 2 << false;
        QTest::newRow("a file, not a folder") << 3 << false;
    }
    void proposesAFolderThatExists()
    {
        QFETCH(int, remembered);
        QFETCH(bool, keepsIt);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString folder;
        if (remembered == 1)
            folder = dir.path();
        else if (remembered == 2)
            folder = dir.filePath(QStringLiteral("gone"));
        else if (remembered == 3)
            folder = QCoreApplication::applicationFilePath();
        const QString proposed = RememberedChoices::proposedFolder(folder);
        QVERIFY(QFileInfo(proposed).isDir());
        if (keepsIt) {
            QCOMPARE(proposed, folder);
        } else {
            const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            QCOMPARE(proposed, QFileInfo(documents).isDir() ? documents : QDir::homePath());
        }
    }
};

LUMISK_TEST(TestRememberedChoices)
#include "tst_rememberedchoices.moc"
