// The class check on the PON and XG-PON pages: the line above the records
// counts every stored reading (not only the page shown), each power cell
// says its verdict and margin and is coloured amber in the warning zone and
// red outside, and choosing no class hides it all.

#include "domain/ponclasscheck.h"
#include "records.h"
#include "testregistry.h"
#include "views/ponopmform.h"
#include "views/ponsinglewaveitem.h"
#include "views/xgponform.h"

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>
#include <QTest>

using namespace views_test;

namespace {
PowerInfo reading(int typeCode, const QString &wavelength, const QString &power)
{
    PowerInfo info = powerInfo(typeCode);
    info.wavelength = wavelength;
    info.power = power;
    info.isRelative = false;
    return info;
}

PonClassCheck bPlus()
{
    return PonClassCheck(PonClassCheck::builtInClasses().first(), PonClassCheck::builtInVideoLimits());
}

const QString Amber = QStringLiteral("color: rgb(242, 148, 56);");
const QString Red = QStringLiteral("color: rgb(217, 54, 62);");

// More records than a page holds, so the count covers pages not shown; the
// 1310 nm readings lie 1.5 dB inside the launch range (a warning).
QList<PonOpmItemData> records()
{
    QList<PonOpmItemData> list;
    for (int n = 1; n <= ITEMS_PER_PAGE + 2; ++n)
        list << ponRecord(n, {reading(0, "1310", "2.00"), reading(1, "1490", n == 1 ? "-27.50" : "-20.00")});
    list.last().powerInfos << reading(2, "1550", "High");
    return list;
}

QString expectedSummary()
{
    return PonClassCheck::tr("Class %1: %2 within, %3 warning, %4 below sensitivity, %5 overload")
        .arg("GPON B+")
        .arg(ITEMS_PER_PAGE + 1)
        .arg(ITEMS_PER_PAGE + 2)
        .arg(1)
        .arg(1);
}
} // namespace

class TestPonClassView : public QObject
{
    Q_OBJECT
private slots:
    void ponTable()
    {
        PonOpmForm form;
        form.applyClassCheck(bPlus());
        for (const PonOpmItemData &record : records())
            form.addItemData(record);
        auto *summary = form.findChild<QLabel *>("classSummaryLabel");
        QCOMPARE(summary->text(), expectedSummary());
        QVERIFY(!summary->isHidden());

        auto *table = form.findChild<QTableWidget *>("tableWidget");
        // Record 1's 1490 nm cell: half a dB below the sensitivity.
        const QString tip = table->cellWidget(0, 4)->toolTip();
        QVERIFY2(tip.contains(PonClassCheck::tr("below sensitivity")) && tip.contains("-0.50 dB"), qPrintable(tip));
        const auto power = [table](int row, int column) {
            return table->cellWidget(row, column)->findChild<QLabel *>("powerLabel")->styleSheet();
        };
        QCOMPARE(power(0, 3), Amber);
        QCOMPARE(power(0, 4), Red);
        QVERIFY(power(1, 4) != Amber && power(1, 4) != Red);

        form.applyClassCheck(PonClassCheck());
        QVERIFY(summary->isHidden());
        QVERIFY(table->cellWidget(0, 4)->toolTip().isEmpty());
    }

    void xgPonCards()
    {
        XGPonForm form;
        for (const PonOpmItemData &record : records())
            form.addItemData(record);
        // Chosen after the download: the stored records are counted again.
        form.applyClassCheck(bPlus());
        QCOMPARE(form.findChild<QLabel *>("classSummaryLabel")->text(), expectedSummary());
        auto *list = form.findChild<QListWidget *>("listWidget");
        QWidget *card = list->itemWidget(list->item(0));
        const QString tip = card->findChild<QLabel *>("powerLgLabel1")->toolTip();
        QVERIFY2(tip.contains(PonClassCheck::tr("warning")) && tip.contains("1.50 dB"), qPrintable(tip));
        QCOMPARE(card->findChild<QLabel *>("powerLgLabel1")->styleSheet(), Amber);
        QVERIFY(card->findChild<QLabel *>("powerLgLabel3")->toolTip().isEmpty());
        form.clearDatas();
        QCOMPARE(form.findChild<QLabel *>("classSummaryLabel")->text(),
                 PonClassCheck::tr("Class %1: %2 within, %3 warning, %4 below sensitivity, %5 overload")
                     .arg("GPON B+").arg(0).arg(0).arg(0).arg(0));
    }
};

LUMISK_TEST(TestPonClassView)
#include "tst_ponclassview.moc"
