// The PON class choice: one per technology, each listing only its own
// classes; the PON page takes the GPON class and the XG-PON page the XG-PON
// or XGS-PON one, so a GPON class never judges an XG-PON reading; an old
// file's single class= key counts under its technology and survives when the
// other choice is changed.

#include "domain/configuration.h"
#include "dialogs/menuwidget.h"
#include "dialogs/ponclassdialog.h"
#include "testregistry.h"
#include "testsupport.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"

#include <QComboBox>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

class TestPonClassDialog : public QObject
{
    Q_OBJECT
    QString path;

    static QString key(const PonClassCheck &check)
    {
        return check.isActive() ? check.opticalClass().key : QString();
    }

    static QStringList keys(const QComboBox *combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list << combo->itemData(i).toString();
        return list;
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        path = Configuration::instance()->settingsPath();
        QVERIFY2(path.contains(QStringLiteral(".qttest")), qPrintable(path));
    }
    void cleanupTestCase() { QFile::remove(path); }

    void eachPageReadsItsTechnologysClass_data()
    {
        QTest::addColumn<QString>("settings"); // under [ponClass]
        QTest::addColumn<QString>("pon");
        QTest::addColumn<QString>("xgPon");
        QTest::newRow("GPON only") << "gpon=gpon-bplus\n" << "gpon-bplus" << "";
        QTest::newRow("both") << "gpon=gpon-cplus\nxgpon=xgspon-n1\n" << "gpon-cplus" << "xgspon-n1";
        QTest::newRow("old single key, XG class") << "class=xgpon-n2a\n" << "" << "xgpon-n2a";
        QTest::newRow("old single key, GPON class") << "class=gpon-bplus\n" << "gpon-bplus" << "";
    }
    void eachPageReadsItsTechnologysClass()
    {
        QFETCH(QString, settings);
        QFETCH(QString, pon);
        QFETCH(QString, xgPon);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[ponClass]\n" + settings.toUtf8());
        file.close();

        PonOpmForm ponPage;
        XGPonForm xgPonPage;
        QCOMPARE(key(ponPage.classCheck()), pon);
        QCOMPARE(key(xgPonPage.classCheck()), xgPon);
        QVERIFY(QFile::remove(path));
        ponPage.reloadClassCheck();
        xgPonPage.reloadClassCheck();
        QCOMPARE(key(ponPage.classCheck()) + key(xgPonPage.classCheck()), QString());
    }

    // Run from the menu, whose choice is stored as the window stores it.
    void choicePerTechnology()
    {
        QFile::remove(path);
        QSettings(path, QSettings::IniFormat).setValue(QStringLiteral("ponClass/class"), QStringLiteral("xgpon-n1"));

        auto *menu = new MenuWidget(false); // deletes itself on close
        QSignalSpy changed(menu, &MenuWidget::ponClassChosen);
        connect(menu, &MenuWidget::ponClassChosen, &PonClassCheck::storeChoices);
        testsupport::onNextModal("PonClassDialog", [](QWidget *dialog) {
            auto *gpon = dialog->findChild<QComboBox *>(QStringLiteral("gponClassCombo"));
            auto *xgPon = dialog->findChild<QComboBox *>(QStringLiteral("xgPonClassCombo"));
            QVERIFY(gpon && xgPon);
            QCOMPARE(keys(gpon), QStringList({"", "gpon-bplus", "gpon-cplus"}));
            QCOMPARE(keys(xgPon), QStringList({"", "xgpon-n1", "xgpon-n2a", "xgspon-n1", "xgspon-n2"}));
            QCOMPARE(gpon->currentData().toString(), QString());
            QCOMPARE(xgPon->currentData().toString(), QStringLiteral("xgpon-n1"));
            gpon->setCurrentIndex(gpon->findData(QStringLiteral("gpon-cplus")));
            testsupport::clickButton(dialog, QStringLiteral("okBtn"));
        });
        menu->findChild<QPushButton *>(QStringLiteral("ponClassBtn"))->click();
        QCOMPARE(changed.count(), 1);
        const QSettings stored(path, QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("ponClass/gpon")).toString(), QStringLiteral("gpon-cplus"));
        QCOMPARE(stored.value(QStringLiteral("ponClass/xgpon")).toString(), QStringLiteral("xgpon-n1"));
        QVERIFY(!stored.contains(QStringLiteral("ponClass/class")));

        // Nothing changed: nothing to store or reload.
        PonClassDialog again(QStringLiteral("gpon-cplus"), QStringLiteral("xgpon-n1"));
        again.findChild<QPushButton *>(QStringLiteral("okBtn"))->click();
        QCOMPARE(again.result(), int(QDialog::Accepted));
        QVERIFY(!again.isChanged());
    }
};

LUMISK_TEST(TestPonClassDialog)
#include "tst_ponclassdialog.moc"
