// The page navigator: which controls a page count and a current page show,
// which one is checked, what each control emits and in which order.

#include "testregistry.h"

#include "widgets/pagewidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace {

// The row as a user sees it, left to right: "<< [1] 2 ... 20 >>", brackets
// around the checked button; the jump box and OK are left out.
QString rowOf(PageWidget &widget)
{
    auto *layout = qobject_cast<QHBoxLayout *>(widget.layout());
    QStringList parts;
    for (int i = 0; layout && i < layout->count(); ++i) {
        QWidget *child = layout->itemAt(i)->widget();
        if (!child || child->isHidden())
            continue;
        if (auto *button = qobject_cast<QPushButton *>(child)) {
            if (button->objectName() == QLatin1String("okButton"))
                continue;
            parts << (button->isChecked() ? QLatin1Char('[') + button->text() + QLatin1Char(']') : button->text());
        } else if (auto *label = qobject_cast<QLabel *>(child)) {
            parts << label->text();
        }
    }
    return parts.join(QLatin1Char(' '));
}

QPushButton *buttonWithText(PageWidget &widget, const QString &text)
{
    auto *layout = widget.layout();
    for (int i = 0; i < layout->count(); ++i) {
        auto *button = qobject_cast<QPushButton *>(layout->itemAt(i)->widget());
        if (button && !button->isHidden() && button->text() == text && button->isCheckable())
            return button;
    }
    return nullptr;
}

// Every navigator lives in a host widget, as it does under a view.

// A navigator with `pages` pages, moved to `current` through the jump box.
void prepare(PageWidget &widget, int pages, int current)
{
    widget.setPageCount(pages);
    auto *edit = widget.findChild<QLineEdit *>(QStringLiteral("lineEdit"));
    edit->setText(QString::number(current));
    QTest::mouseClick(widget.findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
}

} // namespace

class TestPageWidget : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void fewPagesHideIt_data();
    void fewPagesHideIt();
    void smallerCountKeepsCurrentPage();
    void numberedButtonEmitsBeforeRebuild();
    void clickingCurrentPageEmitsNothing();
    void nextAndPreviousEmitAfterRebuild();
    void twoPagesKeepTheirButtonChecked();
    void jumpBox_data();
    void jumpBox();
    void resetGoesBackToPageOne();
};

void TestPageWidget::rows_data()
{
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("row");
    QTest::newRow("5/3") << 5 << 3 << "<< 1 2 [3] 4 5 >>";
    QTest::newRow("20/1") << 20 << 1 << "<< [1] 2 3 4 5 ... 20 >>";
    QTest::newRow("20/5") << 20 << 5 << "<< 1 ... 4 [5] 6 ... 20 >>";
    QTest::newRow("20/16") << 20 << 16 << "<< 1 ... 15 [16] 17 ... 20 >>";
    QTest::newRow("20/17") << 20 << 17 << "<< 1 ... 15 16 [17] 18 19 20 >>";
    QTest::newRow("20/20") << 20 << 20 << "<< 1 ... 15 16 17 18 19 [20] >>";
    QTest::newRow("8/4") << 8 << 4 << "<< 1 2 3 [4] 5 ... 8 >>";
    QTest::newRow("8/5") << 8 << 5 << "<< 1 ... 3 4 [5] 6 7 8 >>";
    QTest::newRow("8/1") << 8 << 1 << "<< [1] 2 3 4 5 ... 8 >>";
    QTest::newRow("7/1") << 7 << 1 << "<< [1] 2 3 4 5 6 7 >>";
    QTest::newRow("7/7") << 7 << 7 << "<< 1 2 3 4 5 6 [7] >>";
    QTest::newRow("3/2") << 3 << 2 << "<< 1 [2] 3 >>";
    QTest::newRow("2/1") << 2 << 1 << "<< [1] 2 >>";
    QTest::newRow("2/2") << 2 << 2 << "<< 1 [2] >>";
}

void TestPageWidget::rows()
{
    QFETCH(int, pages);
    QFETCH(int, current);
    QWidget host;
    PageWidget widget(&host);
    host.show();
    prepare(widget, pages, current);
    QCOMPARE(widget.getCurrentPage(), current);
    QTEST(rowOf(widget), "row");
    QVERIFY(!widget.isHidden());
}

void TestPageWidget::fewPagesHideIt_data()
{
    QTest::addColumn<int>("pages");
    QTest::newRow("0") << 0;
    QTest::newRow("1") << 1;
    QTest::newRow("negative") << -3;
}

void TestPageWidget::fewPagesHideIt()
{
    QFETCH(int, pages);
    QWidget host;
    PageWidget widget(&host);
    host.show();
    widget.setPageCount(9);
    QVERIFY(!widget.isHidden());
    widget.setPageCount(pages);
    QVERIFY(widget.isHidden());
    widget.setPageCount(3);
    QVERIFY(!widget.isHidden());
    QCOMPARE(rowOf(widget), QStringLiteral("<< [1] 2 3 >>"));
}

void TestPageWidget::smallerCountKeepsCurrentPage()
{
    QWidget host;
    PageWidget widget(&host);
    QSignalSpy spy(&widget, &PageWidget::gotoPage);
    prepare(widget, 20, 12);
    spy.clear();
    widget.setPageCount(5);
    QCOMPARE(widget.getCurrentPage(), 12);
    QCOMPARE(widget.getPageCount(), 5);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(rowOf(widget), QStringLiteral("<< 1 2 3 4 5 >>"));
}

void TestPageWidget::numberedButtonEmitsBeforeRebuild()
{
    QWidget host;
    PageWidget widget(&host);
    host.show();
    widget.setPageCount(20);
    QStringList rowsSeen;
    connect(&widget, &PageWidget::gotoPage, &widget, [&](int page) {
        rowsSeen << QString::number(page) + QLatin1Char(':') + rowOf(widget);
    });

    // The clicked button is removed by the rebuild inside its own click.
    QPushButton *five = buttonWithText(widget, QStringLiteral("5"));
    QVERIFY(five);
    QTest::mouseClick(five, Qt::LeftButton);
    QCOMPARE(rowsSeen, QStringList{QStringLiteral("5:<< 1 2 3 4 [5] ... 20 >>")});
    QCOMPARE(rowOf(widget), QStringLiteral("<< 1 ... 4 [5] 6 ... 20 >>"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    rowsSeen.clear();
    QTest::mouseClick(buttonWithText(widget, QStringLiteral("20")), Qt::LeftButton);
    QCOMPARE(rowsSeen.size(), 1);
    QVERIFY(rowsSeen.first().startsWith(QLatin1String("20:")));
    QCOMPARE(rowOf(widget), QStringLiteral("<< 1 ... 15 16 17 18 19 [20] >>"));

    rowsSeen.clear();
    QTest::mouseClick(buttonWithText(widget, QStringLiteral("1")), Qt::LeftButton);
    QCOMPARE(rowsSeen.size(), 1);
    QVERIFY(rowsSeen.first().startsWith(QLatin1String("1:<< [1]")));
    QCOMPARE(rowOf(widget), QStringLiteral("<< [1] 2 3 4 5 ... 20 >>"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void TestPageWidget::clickingCurrentPageEmitsNothing()
{
    QWidget host;
    PageWidget widget(&host);
    host.show();
    prepare(widget, 20, 5);
    QSignalSpy spy(&widget, &PageWidget::gotoPage);
    QPushButton *five = buttonWithText(widget, QStringLiteral("5"));
    QVERIFY(five && five->isChecked());
    QTest::mouseClick(five, Qt::LeftButton);
    QCOMPARE(spy.count(), 0);
    QVERIFY(five->isChecked());
    QTest::mouseClick(buttonWithText(widget, QStringLiteral("1")), Qt::LeftButton);
    spy.clear();
    QTest::mouseClick(buttonWithText(widget, QStringLiteral("1")), Qt::LeftButton);
    QCOMPARE(spy.count(), 0);
    QCOMPARE(rowOf(widget), QStringLiteral("<< [1] 2 3 4 5 ... 20 >>"));
}

void TestPageWidget::nextAndPreviousEmitAfterRebuild()
{
    QWidget host;
    PageWidget widget(&host);
    host.show();
    widget.setPageCount(20);
    QStringList rowsSeen;
    connect(&widget, &PageWidget::gotoPage, &widget, [&](int page) {
        rowsSeen << QString::number(page) + QLatin1Char(':') + rowOf(widget);
    });
    auto *next = widget.findChild<QPushButton *>(QStringLiteral("nextBtn"));
    auto *previous = widget.findChild<QPushButton *>(QStringLiteral("preBtn"));
    QTest::mouseClick(previous, Qt::LeftButton); // already on the first page
    for (int i = 0; i < 4; ++i)
        QTest::mouseClick(next, Qt::LeftButton);
    QTest::mouseClick(previous, Qt::LeftButton);
    QCOMPARE(rowsSeen, QStringList({"2:<< 1 [2] 3 4 5 ... 20 >>", "3:<< 1 2 [3] 4 5 ... 20 >>",
                                    "4:<< 1 2 3 [4] 5 ... 20 >>", "5:<< 1 ... 4 [5] 6 ... 20 >>",
                                    "4:<< 1 2 3 [4] 5 ... 20 >>"}));

    // Next on the last page moves nowhere.
    prepare(widget, 20, 20);
    rowsSeen.clear();
    QTest::mouseClick(next, Qt::LeftButton);
    QVERIFY(rowsSeen.isEmpty());
    QCOMPARE(rowOf(widget), QStringLiteral("<< 1 ... 15 16 17 18 19 [20] >>"));
}

void TestPageWidget::twoPagesKeepTheirButtonChecked()
{
    // With two pages there is no numbered button; first and last still show
    // which page is current after every kind of move.
    QWidget host;
    PageWidget widget(&host);
    host.show();
    widget.setPageCount(2);
    QCOMPARE(rowOf(widget), QStringLiteral("<< [1] 2 >>"));
    QSignalSpy spy(&widget, &PageWidget::gotoPage);
    QTest::mouseClick(buttonWithText(widget, QStringLiteral("2")), Qt::LeftButton);
    QCOMPARE(rowOf(widget), QStringLiteral("<< 1 [2] >>"));
    QTest::mouseClick(buttonWithText(widget, QStringLiteral("1")), Qt::LeftButton);
    QCOMPARE(rowOf(widget), QStringLiteral("<< [1] 2 >>"));
    QTest::mouseClick(widget.findChild<QPushButton *>(QStringLiteral("nextBtn")), Qt::LeftButton);
    QCOMPARE(rowOf(widget), QStringLiteral("<< 1 [2] >>"));
    QCOMPARE(spy.count(), 3);
}

void TestPageWidget::jumpBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byReturn");
    QTest::addColumn<int>("emitted");
    QTest::newRow("page 7 by OK") << "7" << false << 7;
    QTest::newRow("page 7 by return") << "7" << true << 7;
    QTest::newRow("page already shown") << "3" << false << 3;
    QTest::newRow("beyond") << "21" << false << 0;
    QTest::newRow("zero") << "0" << true << 0;
    QTest::newRow("letters") << "abc" << true << 0;
    QTest::newRow("hex") << "0x5" << false << 0;
    QTest::newRow("huge") << "99999999999999999999" << false << 0;
}

void TestPageWidget::jumpBox()
{
    QFETCH(QString, typed);
    QFETCH(bool, byReturn);
    QFETCH(int, emitted);
    QWidget host;
    PageWidget widget(&host);
    host.show();
    prepare(widget, 20, 3);
    QSignalSpy spy(&widget, &PageWidget::gotoPage);
    auto *edit = widget.findChild<QLineEdit *>(QStringLiteral("lineEdit"));
    edit->setText(typed);
    if (byReturn) {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
    } else {
        QTest::mouseClick(widget.findChild<QPushButton *>(QStringLiteral("okButton")), Qt::LeftButton);
    }
    QVERIFY(edit->text().isEmpty());
    if (emitted) {
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.first().first().toInt(), emitted);
        QCOMPARE(widget.getCurrentPage(), emitted);
        QVERIFY(rowOf(widget).contains(QLatin1Char('[') + QString::number(emitted) + QLatin1Char(']')));
    } else {
        QCOMPARE(spy.count(), 0);
        QCOMPARE(widget.getCurrentPage(), 3);
    }
}

void TestPageWidget::resetGoesBackToPageOne()
{
    QWidget host;
    PageWidget widget(&host);
    QSignalSpy spy(&widget, &PageWidget::gotoPage);
    prepare(widget, 20, 9);
    spy.clear();
    widget.reSetcurrentPage();
    QCOMPARE(widget.returncurrentPage(), 1);
    QCOMPARE(spy.count(), 0);
    widget.setPageCount(20);
    QCOMPARE(rowOf(widget), QStringLiteral("<< [1] 2 3 4 5 ... 20 >>"));
}

LUMISK_TEST(TestPageWidget)
#include "tst_pagewidget.moc"
