// The About dialog shows the version the build was configured with.

#include "dialogs/aboutdialog.h"
#include "testregistry.h"

#include <QLabel>
#include <QTest>

class tst_aboutdialog : public QObject
{
    Q_OBJECT
private slots:
    void showsTheProjectVersion()
    {
        AboutDialog dialog;
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("versionLabel"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral("0.0.2"));
    }
};

LUMISK_TEST(tst_aboutdialog)
#include "tst_aboutdialog.moc"
