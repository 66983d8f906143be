// What the five record pages share: the interface the main window drives,
// the record number each one asks for, the frame renewed per record, paging
// bounds, emptying, and the export texts in both languages.

#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "records.h"
#include "testregistry.h"
#include "views/multiwaveopmform.h"
#include "views/opmform.h"
#include "views/partialopmform.h"
#include "views/ponopmform.h"
#include "views/xgponform.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTest>
#include <QTranslator>
#include <functional>
#include <memory>

using namespace views_test;

namespace {
struct PageKind {
    const char *name;
    std::function<QWidget *()> make;
    // Puts record `number` into the page's frame as the link would.
    std::function<void(Frame *, int)> fill;
    // Number of the record the frame holds; empty for a fresh frame.
    std::function<QString(Frame *)> held;
    int numberOffset;
};

const PageKind pageKinds[] = {
    {"single-wave", [] { return new OpmForm; },
     [](Frame *f, int n) { static_cast<OpmValueFrame *>(f)->itemData = opmRecord(n); },
     [](Frame *f) { return static_cast<OpmValueFrame *>(f)->itemData.number; }, 1},
    {"multi-wave", [] { return new MultiWaveOpmForm; },
     [](Frame *f, int n) { static_cast<OpmValueFrame *>(f)->itemData = opmRecord(n, 2); },
     [](Frame *f) { return static_cast<OpmValueFrame *>(f)->itemData.number; }, 0},
    {"partial-wave", [] { return new PartialOpmForm; },
     [](Frame *f, int n) { static_cast<PartialOpmValueFrame *>(f)->itemData = opmRecord(n); },
     [](Frame *f) { return static_cast<PartialOpmValueFrame *>(f)->itemData.number; }, 1},
    {"PON", [] { return new PonOpmForm; },
     [](Frame *f, int n) { static_cast<PonFrame *>(f)->itemData = ponRecord(n, {}); },
     [](Frame *f) { return static_cast<PonFrame *>(f)->itemData.number; }, 1},
    {"XG-PON", [] { return new XGPonForm; },
     [](Frame *f, int n) { static_cast<PonFrame *>(f)->itemData = ponRecord(n, {}); },
     [](Frame *f) { return static_cast<PonFrame *>(f)->itemData.number; }, 1},
};
} // namespace

class TestRecordPages : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("lumisk.*.debug=false")); }
    void cleanupTestCase() { QLoggingCategory::setFilterRules(QString()); }
    void storePlumbing();
    void exportTextsAreTranslated();
};

void TestRecordPages::storePlumbing()
{
    for (const PageKind &kind : pageKinds) {
        const std::unique_ptr<QWidget> widget(kind.make());
        auto *page = qobject_cast<BaseFormLogic *>(widget.get());
        QVERIFY2(page, kind.name);
        QCOMPARE(page->itemCount(), 0);
        QCOMPARE(page->currentPage(), 0);
        QCOMPARE(page->nextItemNumber(), kind.numberOffset);

        for (int n = 1; n <= 101; ++n) {
            kind.fill(page->frame(), n);
            page->fillDatas();
            // The next answer lands in a fresh frame.
            QVERIFY2(page->frame() && kind.held(page->frame()).isEmpty(), kind.name);
        }
        QCOMPARE(page->itemCount(), 101);
        QCOMPARE(page->nextItemNumber(), 101 + kind.numberOffset);
        QCOMPARE(page->currentPage(), 1);

        // Pages outside the store are ignored.
        for (int page_ : {0, 3, -1})
            page->gotoPage(page_);
        QCOMPARE(page->currentPage(), 1);
        page->gotoPage(2);
        QCOMPARE(page->currentPage(), 2);

        page->clearDatas();
        QCOMPARE(page->itemCount(), 0);
        QCOMPARE(page->currentPage(), 0);
        QCOMPARE(page->nextItemNumber(), kind.numberOffset);
    }
}

void TestRecordPages::exportTextsAreTranslated()
{
    QTranslator chinese;
    QVERIFY(chinese.load(QStringLiteral("language_zh.qm"), QStringLiteral(LUMISK_BUILD_DIR "/language")));
    QCoreApplication::installTranslator(&chinese);
    PonOpmForm form;
    QString shown;
    testsupport::answerMessage(QStringLiteral("yesBtn"), &shown);
    form.saveDatas(QStringLiteral("/nonexistent"));
    QCoreApplication::removeTranslator(&chinese);
    QCOMPARE(shown, QStringLiteral("保存失败，没有数据！"));
}

LUMISK_TEST(TestRecordPages)
#include "tst_recordpages.moc"
