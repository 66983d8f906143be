// PON class verdicts at and around every kind of limit, with the built-in
// values and with settings.ini overriding them.

#include "app/ponclasscheck.h"
#include "link/ponopmitemdata.h"
#include "testregistry.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class PonClassCheckTest : public QObject
{
    Q_OBJECT
private slots:
    void verdicts_data()
    {
        QTest::addColumn<QString>("settings"); // settings.ini text
        QTest::addColumn<QString>("wavelength");
        QTest::addColumn<QString>("power");
        QTest::addColumn<bool>("relative");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("margin");

        const QString bplus = "[ponClass]\nclass=gpon-bplus\n";
        QTest::newRow("B+ down at sensitivity") << bplus << "1490" << "-27.00" << false << "within" << "0.00";
        QTest::newRow("B+ down below sensitivity") << bplus << "1490" << "-27.01" << false << "below sensitivity"
                                                   << "-0.01";
        QTest::newRow("B+ down at overload") << bplus << "1490" << "-8.00" << false << "within" << "0.00";
        QTest::newRow("B+ down overload") << bplus << "1490" << "-7.99" << false << "overload" << "-0.01";
        QTest::newRow("B+ down nearer limit") << bplus << "1490" << "-20.00" << false << "within" << "7.00";
        QTest::newRow("B+ up at minimum") << bplus << "1310" << "0.50" << false << "within" << "0.00";
        QTest::newRow("B+ up below") << bplus << "1310" << "0.49" << false << "below launch range" << "-0.01";
        QTest::newRow("B+ up at maximum") << bplus << "1310" << "5.00" << false << "within" << "0.00";
        QTest::newRow("B+ up above") << bplus << "1310" << "5.01" << false << "above launch range" << "-0.01";
        QTest::newRow("meter says Low") << bplus << "1490" << "Low" << false << "below sensitivity" << "";
        QTest::newRow("meter says High") << bplus << "1310" << "High" << false << "above launch range" << "";
        QTest::newRow("video overload") << bplus << "1550" << "2.01" << false << "overload" << "-0.01";
        QTest::newRow("unknown wavelength") << bplus << "1625" << "-20.00" << false << "" << "";
        QTest::newRow("XG-PON wavelength under GPON") << bplus << "1577" << "-20.00" << false << "" << "";
        QTest::newRow("relative reading") << bplus << "1490" << "-20.00" << true << "" << "";
        QTest::newRow("no power") << bplus << "1490" << "---" << false << "" << "";
        QTest::newRow("no class chosen") << "" << "1490" << "-20.00" << false << "" << "";
        QTest::newRow("unknown class") << "[ponClass]\nclass=gpon-z\n" << "1490" << "-20.00" << false << "" << "";
        QTest::newRow("C+ down at sensitivity") << "[ponClass]\nclass=gpon-cplus\n" << "1490" << "-30.00" << false
                                                << "within" << "0.00";
        QTest::newRow("XG-PON N2a up below") << "[ponClass]\nclass=xgpon-n2a\n" << "1270" << "1.99" << false
                                             << "below launch range" << "-0.01";
        QTest::newRow("XGS-PON N1 down overload") << "[ponClass]\nclass=xgspon-n1\n" << "1577" << "-8.99" << false
                                                  << "overload" << "-0.01";
        QTest::newRow("XGS-PON N2 up at maximum") << "[ponClass]\nclass=XGSPON-N2\n" << "1270" << "9.00" << false
                                                  << "within" << "0.00";
        const QString overridden = bplus + "gpon-bplus\\downstreamMin=-28.5\nvideo\\max=abc\n";
        QTest::newRow("overridden sensitivity") << overridden << "1490" << "-28.50" << false << "within" << "0.00";
        QTest::newRow("overridden, just below") << overridden << "1490" << "-28.51" << false << "below sensitivity"
                                                << "-0.01";
        QTest::newRow("overload not overridden") << overridden << "1490" << "-7.99" << false << "overload" << "-0.01";
        QTest::newRow("unreadable override keeps the built-in value")
            << overridden << "1550" << "2.00" << false << "within" << "0.00";
    }

    void verdicts()
    {
        QFETCH(QString, settings);
        QFETCH(QString, wavelength);
        QFETCH(QString, power);
        QFETCH(bool, relative);
        QFETCH(QString, verdict);
        QFETCH(QString, margin);

        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings.toUtf8());
        file.close();
        const PonClassCheck check = PonClassCheck::fromSettings(QSettings(path, QSettings::IniFormat));

        PowerInfo info;
        info.wavelength = wavelength;
        info.power = power;
        info.isRelative = relative;
        const PonClassCheck::Result result = check.check(info);
        QCOMPARE(PonClassCheck::verdictWord(result), verdict);
        QCOMPARE(PonClassCheck::marginText(result), margin);
        QCOMPARE(check.toolTip(result).isEmpty(), verdict.isEmpty());
    }

    void summaryCountsEachKind()
    {
        const PonClassCheck check(PonClassCheck::builtInClasses().first(), PonClassCheck::builtInVideoLimits());
        PonClassCheck::Tally tally;
        for (const auto &[nm, dBm] : QList<QPair<int, double>>{
                 {1490, -20}, {1490, -27}, {1490, -28}, {1490, -7}, {1310, 2}, {1310, 0}, {1625, -3}})
            tally.add(check.check(nm, dBm));
        QCOMPARE(check.summary(tally),
                 QStringLiteral("Class GPON B+: 3 within, 1 below sensitivity, 1 overload, 1 below launch range, "
                                "0 above launch range, 1 not checked"));
        QCOMPARE(PonClassCheck().summary(tally), QString());
    }
};

LUMISK_TEST(PonClassCheckTest)
#include "tst_ponclasscheck.moc"
