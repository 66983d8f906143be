// The About dialog shows the version the build was configured with (the
// project's, as CMake knows it).

#include "dialogs/aboutdialog.h"
#include "testregistry.h"

#include <QLabel>
#include <QTest>

class TestAboutDialog : public QObject
{
    Q_OBJECT
private slots:
    void showsTheProjectVersion()
    {
        AboutDialog dialog;
        auto *label = dialog.findChild<QLabel *>(QStringLiteral("versionLabel"));
        QVERIFY(label);
        QCOMPARE(label->text(), QStringLiteral(LUMISK_PROJECT_VERSION));
    }
};

LUMISK_TEST(TestAboutDialog)
#include "tst_aboutdialog.moc"
