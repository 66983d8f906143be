// PON class verdicts at and around every kind of limit and warning margin,
// with the built-in values and with settings.ini overriding them; each page's
// technology takes its own class, and old files' single class= key still
// counts for the technology of the class it names.

#include "domain/ponclasscheck.h"
#include "link/ponopmitemdata.h"
#include "testregistry.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(PonClassCheck::Technology)

class TestPonClassCheck : public QObject
{
    Q_OBJECT
private slots:
    void verdicts_data()
    {
        using T = PonClassCheck::Technology;
        QTest::addColumn<QString>("settings"); // under [ponClass]
        QTest::addColumn<T>("page");
        QTest::addColumn<QString>("wavelength");
        QTest::addColumn<QString>("power");
        QTest::addColumn<bool>("relative");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QString>("margin");

        // The limits themselves, with the warning zone off.
        const QString bplus0 = "gpon=gpon-bplus\ngpon-bplus\\warningMargin=0\n";
        QTest::newRow("B+ down at sensitivity") << bplus0 << T::Gpon << "1490" << "-27.00" << false << "within"
                                                << "0.00";
        QTest::newRow("B+ down below sensitivity") << bplus0 << T::Gpon << "1490" << "-27.01" << false
                                                   << "below sensitivity" << "-0.01";
        QTest::newRow("B+ down at overload") << bplus0 << T::Gpon << "1490" << "-8.00" << false << "within" << "0.00";
        QTest::newRow("B+ down overload") << bplus0 << T::Gpon << "1490" << "-7.99" << false << "overload" << "-0.01";
        QTest::newRow("B+ up at minimum") << bplus0 << T::Gpon << "1310" << "0.50" << false << "within" << "0.00";
        QTest::newRow("B+ up below") << bplus0 << T::Gpon << "1310" << "0.49" << false << "below launch range"
                                     << "-0.01";
        QTest::newRow("B+ up at maximum") << bplus0 << T::Gpon << "1310" << "5.00" << false << "within" << "0.00";
        QTest::newRow("B+ up above") << bplus0 << T::Gpon << "1310" << "5.01" << false << "above launch range"
                                     << "-0.01";
        QTest::newRow("meter says Low") << bplus0 << T::Gpon << "1490" << "Low" << false << "below sensitivity" << "";
        QTest::newRow("meter says High") << bplus0 << T::Gpon << "1310" << "High" << false << "above launch range"
                                         << "";
        QTest::newRow("video overload") << bplus0 << T::Gpon << "1550" << "2.01" << false << "overload" << "-0.01";
        QTest::newRow("unknown wavelength") << bplus0 << T::Gpon << "1625" << "-20.00" << false << "" << "";
        QTest::newRow("relative reading") << bplus0 << T::Gpon << "1490" << "-20.00" << true << "" << "";
        QTest::newRow("no power") << bplus0 << T::Gpon << "1490" << "---" << false << "" << "";
        QTest::newRow("no class chosen") << "" << T::Gpon << "1490" << "-20.00" << false << "" << "";
        QTest::newRow("unknown class") << "gpon=gpon-z\n" << T::Gpon << "1490" << "-20.00" << false << "" << "";
        QTest::newRow("XGS-PON N1 down overload") << "xgpon=xgspon-n1\n" << T::XgPon << "1577" << "-8.99" << false
                                                  << "overload" << "-0.01";
        const QString overridden = bplus0 + "gpon-bplus\\downstreamMin=-28.5\nvideo\\max=abc\n";
        QTest::newRow("overridden sensitivity") << overridden << T::Gpon << "1490" << "-28.50" << false << "within"
                                                << "0.00";
        QTest::newRow("overridden, just below") << overridden << T::Gpon << "1490" << "-28.51" << false
                                                << "below sensitivity" << "-0.01";
        QTest::newRow("unreadable override keeps the built-in value")
            << overridden << T::Gpon << "1550" << "2.00" << false << "within" << "0.00";

        // The warning zone: strictly nearer a limit than the margin (2 dB
        // unless the class sets its own).
        const QString bplus = "gpon=gpon-bplus\n";
        QTest::newRow("exactly the margin from sensitivity") << bplus << T::Gpon << "1490" << "-25.00" << false
                                                             << "within" << "2.00";
        QTest::newRow("inside the margin") << bplus << T::Gpon << "1490" << "-25.01" << false << "warning" << "1.99";
        QTest::newRow("at sensitivity") << bplus << T::Gpon << "1490" << "-27.00" << false << "warning" << "0.00";
        QTest::newRow("near overload") << bplus << T::Gpon << "1490" << "-9.99" << false << "warning" << "1.99";
        QTest::newRow("near launch maximum") << bplus << T::Gpon << "1310" << "4.00" << false << "warning" << "1.00";
        QTest::newRow("video near maximum") << bplus << T::Gpon << "1555" << "1.00" << false << "warning" << "1.00";
        QTest::newRow("outside stays outside") << bplus << T::Gpon << "1490" << "-27.01" << false
                                               << "below sensitivity" << "-0.01";
        QTest::newRow("meter's Low is no warning") << bplus << T::Gpon << "1490" << "Low" << false
                                                   << "below sensitivity" << "";
        // 3.3 - 1.3 is 1.9999999999999998 in binary floating point.
        QTest::newRow("margin in the meter's resolution")
            << bplus + "gpon-bplus\\upstreamMin=1.3\ngpon-bplus\\upstreamMax=9\n" << T::Gpon << "1310" << "3.30"
            << false << "within" << "2.00";
        const QString half = bplus + "gpon-bplus\\warningMargin=0.5\n";
        QTest::newRow("class margin, at it") << half << T::Gpon << "1490" << "-26.50" << false << "within" << "0.50";
        QTest::newRow("class margin, inside") << half << T::Gpon << "1490" << "-26.51" << false << "warning"
                                              << "0.49";
        QTest::newRow("another class's margin") << bplus + "gpon-cplus\\warningMargin=0\n" << T::Gpon << "1490"
                                                << "-25.01" << false << "warning" << "1.99";
        QTest::newRow("negative margin keeps the default") << bplus + "gpon-bplus\\warningMargin=-1\n" << T::Gpon
                                                           << "1490" << "-25.01" << false << "warning" << "1.99";
        QTest::newRow("unreadable margin keeps the default") << bplus + "gpon-bplus\\warningMargin=abc\n" << T::Gpon
                                                             << "1490" << "-25.01" << false << "warning" << "1.99";

        // Each page checks against its own technology's class only.
        const QString both = "gpon=gpon-bplus\nxgpon=xgpon-n1\n";
        QTest::newRow("XG page ignores the GPON class") << bplus << T::XgPon << "1270" << "6.00" << false << ""
                                                        << "";
        QTest::newRow("XG page takes the XG class") << both << T::XgPon << "1270" << "6.00" << false << "warning"
                                                    << "1.00";
        QTest::newRow("PON page takes the GPON class") << both << T::Gpon << "1310" << "6.00" << false
                                                       << "above launch range" << "-1.00";
        QTest::newRow("XG page, GPON downstream band") << both << T::XgPon << "1490" << "-20.00" << false << ""
                                                       << "";
        QTest::newRow("XG page, GPON-only upstream band") << both << T::XgPon << "1310" << "5.00" << false << ""
                                                          << "";
        QTest::newRow("PON page, XG downstream band") << both << T::Gpon << "1577" << "-20.00" << false << "" << "";
        QTest::newRow("XG class under the GPON key") << "gpon=xgpon-n1\n" << T::Gpon << "1270" << "4.00" << false
                                                     << "" << "";

        // Files from before the per-technology choice.
        QTest::newRow("old GPON key, PON page") << "class=gpon-cplus\n" << T::Gpon << "1490" << "-27.00" << false
                                                << "within" << "3.00";
        QTest::newRow("old GPON key, XG page") << "class=gpon-cplus\n" << T::XgPon << "1270" << "6.00" << false
                                               << "" << "";
        QTest::newRow("old XG key, XG page") << "class=XGSPON-N2\n" << T::XgPon << "1270" << "6.50" << false
                                             << "within" << "2.50";
        QTest::newRow("old XG key, PON page") << "class=xgspon-n2\n" << T::Gpon << "1310" << "2.00" << false << ""
                                              << "";
        QTest::newRow("new key wins over the old") << "class=gpon-bplus\ngpon=\n" << T::Gpon << "1490" << "-20.00"
                                                   << false << "" << "";
    }

    void verdicts()
    {
        QFETCH(QString, settings);
        QFETCH(PonClassCheck::Technology, page);
        QFETCH(QString, wavelength);
        QFETCH(QString, power);
        QFETCH(bool, relative);
        QFETCH(QString, verdict);
        QFETCH(QString, margin);

        QTemporaryDir dir;
        const QString path = dir.filePath("settings.ini");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[ponClass]\n" + settings.toUtf8());
        file.close();
        const PonClassCheck check = PonClassCheck::fromSettings(QSettings(path, QSettings::IniFormat), page);

        PowerInfo info;
        info.wavelength = wavelength;
        info.power = power;
        info.isRelative = relative;
        const PonClassCheck::Result result = check.check(info);
        QCOMPARE(PonClassCheck::verdictWord(result), verdict);
        QCOMPARE(PonClassCheck::marginText(result), margin);
        QCOMPARE(check.toolTip(result).isEmpty(), verdict.isEmpty());
        QCOMPARE(PonClassCheck::powerStyle(result).isEmpty(), verdict.isEmpty() || verdict == "within");
    }

    void summaryCountsEachKind()
    {
        const PonClassCheck check(PonClassCheck::builtInClasses().first(), PonClassCheck::builtInVideoLimits());
        PonClassCheck::Tally tally;
        for (const auto &[nm, dBm] : QList<QPair<int, double>>{
                 {1490, -20}, {1490, -27}, {1490, -28}, {1490, -7}, {1310, 2}, {1310, 0}, {1625, -3}})
            tally.add(check.check(nm, dBm));
        QCOMPARE(check.summary(tally),
                 QStringLiteral("Class GPON B+: 1 within, 2 warning, 1 below sensitivity, 1 overload, "
                                "1 below launch range, 0 above launch range, 1 not checked"));
        QCOMPARE(PonClassCheck().summary(tally), QString());
    }
};

LUMISK_TEST(TestPonClassCheck)
#include "tst_ponclasscheck.moc"
