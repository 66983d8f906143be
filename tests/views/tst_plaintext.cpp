// Texts the meter supplies reach the screen as the characters they are: a
// record named "<b>x</b>" or "<img src=...>" is never drawn as markup.

#include "link/realtimeopmvalueframe.h"
#include "records.h"
#include "testregistry.h"
#include "views/multiwaveopmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"
#include "widgets/chartform.h"

#include <QListWidget>
#include <QTableWidget>
#include <QTest>
#include <memory>

using namespace views_test;

namespace {

enum Place { MultiWaveName, XGPonName, PartialWave, PartialPower, PartialTwoWaves, PonCell, ChartReadout };

QWidget *cardOf(QWidget *form)
{
    auto *list = form->findChild<QListWidget *>(QStringLiteral("listWidget"));
    return list->itemWidget(list->item(0));
}

QWidget *cellOf(QWidget *form, int column)
{
    return form->findChild<QTableWidget *>(QStringLiteral("tableWidget"))->cellWidget(0, column);
}

// Builds the page that shows `text` at `place` and returns the label that
// shows it; the page is handed to `owner`.
QLabel *showAt(Place place, const QString &text, std::unique_ptr<QWidget> &owner)
{
    switch (place) {
    case MultiWaveName: {
        auto *form = new MultiWaveOpmForm;
        owner.reset(form);
        OpmItemData record = opmRecord(1, 1);
        record.name = text;
        form->addItemData(record);
        return cardOf(form)->findChild<QLabel *>(QStringLiteral("nameLabel"));
    }
    case XGPonName: {
        auto *form = new XGPonForm;
        owner.reset(form);
        PonOpmItemData record = ponRecord(1, {powerInfo(0)});
        record.name = text;
        form->addItemData(record);
        return cardOf(form)->findChild<QLabel *>(QStringLiteral("nameLabel"));
    }
    case PartialWave:
    case PartialPower:
    case PartialTwoWaves: {
        auto *form = new PartialOpmForm;
        owner.reset(form);
        OpmItemData record = partialRecord(1, place == PartialTwoWaves ? 2 : 1, 0, 0);
        record.partialOpmDatas[0].wave1.wavelength = text;
        record.partialOpmDatas[0].wave1.power = text;
        form->addItemData(record);
        if (place == PartialWave)
            return cellOf(form, 3)->findChild<QLabel *>(QStringLiteral("powerLabel"));
        return cellOf(form, 4)->findChild<QLabel *>(place == PartialPower ? QStringLiteral("valueLabel")
                                                                          : QStringLiteral("valueLabel1"));
    }
    case PonCell: {
        auto *form = new PonOpmForm;
        owner.reset(form);
        PowerInfo info = powerInfo(0);
        info.power = text;
        info.powerUnit.clear();
        form->addItemData(ponRecord(1, {info}));
        return cellOf(form, 3)->findChild<QLabel *>(QStringLiteral("powerLabel"));
    }
    case ChartReadout: {
        auto *chart = new ChartForm;
        owner.reset(chart);
        RealTimeOpmValueFrame *frame = chart->frame();
        frame->power = QStringLiteral("-10.00");
        frame->wavelength = text;
        frame->frequency = QStringLiteral("CW");
        chart->addRealTimeValue();
        return chart->findChild<QLabel *>(QStringLiteral("wavelengthLabel"));
    }
    }
    return nullptr;
}

} // namespace

class TestPlainText : public QObject
{
    Q_OBJECT
private slots:
    void meterTextsShowLiterally_data();
    void meterTextsShowLiterally();
};

void TestPlainText::meterTextsShowLiterally_data()
{
    QTest::addColumn<int>("place");
    QTest::addColumn<QString>("text");
    const struct {
        const char *name;
        Place place;
    } places[] = {
        {"multi-wave card name", MultiWaveName}, {"XG-PON card name", XGPonName},
        {"partial-wave wavelength cell", PartialWave}, {"partial-wave power cell", PartialPower},
        {"partial-wave two-wave cell", PartialTwoWaves}, {"PON cell", PonCell},
        {"chart read-out", ChartReadout},
    };
    for (const auto &p : places) {
        QTest::addRow("%s, bold", p.name) << int(p.place) << QStringLiteral("<b>x</b>");
        QTest::addRow("%s, image", p.name) << int(p.place) << QStringLiteral("<img src=\":/img/pass.png\">");
    }
}

void TestPlainText::meterTextsShowLiterally()
{
    QFETCH(int, place);
    QFETCH(QString, text);
    std::unique_ptr<QWidget> page;
    QLabel *label = showAt(Place(place), text, page);
    QVERIFY(label);
    QCOMPARE(label->text(), text);
    // Drawn as markup, the label would need the room of one bold "x" or of a
    // small image; drawn as characters it needs the room of all of them.
    QVERIFY2(label->sizeHint().width() >= label->fontMetrics().horizontalAdvance(text),
             qPrintable(QStringLiteral("%1 of %2 px").arg(label->sizeHint().width())
                            .arg(label->fontMetrics().horizontalAdvance(text))));
}

LUMISK_TEST(TestPlainText)
#include "tst_plaintext.moc"
