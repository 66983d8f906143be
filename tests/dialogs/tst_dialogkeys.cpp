// The keyboard on the dialogs: Escape answers each one as its Cancel or No
// would, and the icon-only close button is named for the screen reader.

#include "dialogs/aboutdialog.h"
#include "dialogs/connectdialog.h"
#include "dialogs/dialogtitlebar.h"
#include "dialogs/languagedialog.h"
#include "dialogs/ponclassdialog.h"
#include "dialogs/settimedialog.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QTest>
#include <functional>
#include <memory>

using Make = std::function<QDialog *()>;
Q_DECLARE_METATYPE(Make)

class TestDialogKeys : public QObject
{
    Q_OBJECT

private slots:
    void escapeRejects_data()
    {
        QTest::addColumn<Make>("make");
        QTest::newRow("about") << Make([]() { return new AboutDialog; });
        QTest::newRow("connect") << Make([]() { return new ConnectDialog; });
        QTest::newRow("language") << Make([]() { return new LanguageDialog(0, 0); });
        QTest::newRow("PON class") << Make([]() { return new PonClassDialog(QString(), QString()); });
        QTest::newRow("set time") << Make([]() { return new SetTimeDialog; });
    }
    void escapeRejects()
    {
        QFETCH(Make, make);
        std::unique_ptr<QDialog> dialog(make());
        bool seen = false;
        testsupport::onNextModal([&seen](QWidget *modal) {
            seen = true;
            QTest::keyClick(modal, Qt::Key_Escape);
        });
        QCOMPARE(dialog->exec(), int(QDialog::Rejected));
        QVERIFY(seen);
    }

    void closeButtonIsNamed()
    {
        DialogTitleBar bar;
        auto *close = bar.findChild<QAbstractButton *>(QStringLiteral("closeBtn"));
        QVERIFY(close);
        QVERIFY(close->text().isEmpty());
        QVERIFY(!close->toolTip().isEmpty());
        QVERIFY(!close->accessibleName().isEmpty());
    }
};

LUMISK_TEST(TestDialogKeys)
#include "tst_dialogkeys.moc"
