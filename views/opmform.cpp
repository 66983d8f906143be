#include "views/opmform.h"

#include "dialogs/messagedialog.h"
#include "link/opmvalueframe.h"
#include "report/opmxlsx.h"
#include "ui_opmform.h"
#include "widgets/pagewidget.h"

#include <QColor>
#include <QDebug>
#include <QHeaderView>
#include <QResizeEvent>
#include <QTableWidgetItem>

namespace {
// Below this width the narrow columns shrink to their contents.
constexpr int NarrowWidth = 800;
// The "yy/MM/dd HH:mm" times are read whole at every width: this column
// always fits its contents, the others share the rest.
constexpr int TimeColumn = 2;
const QColor OddRowColor(242, 242, 239);
const QColor EvenRowColor(Qt::white);

QTableWidgetItem *centredItem(const QString &text, const QColor &background)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setBackground(background);
    return item;
}
} // namespace

OpmForm::OpmForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::OpmForm)
{
    ui->setupUi(this);
    ownedFrame = new OpmValueFrame;
    ui->pageWidget->hide();

    setHeaderLabels();
    ui->tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->tableWidget->setSelectionMode(QAbstractItemView::NoSelection);
    ui->tableWidget->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setNarrowResizeModes();

    connect(ui->pageWidget, &PageWidget::gotoPage, this, &OpmForm::gotoPage);
    connect(&items, &Agent::pageCountChanged, ui->pageWidget, &PageWidget::setPageCount);
}

OpmForm::~OpmForm()
{
    delete ui;
}

int OpmForm::currentPage()
{
    return items.currentPage;
}

void OpmForm::setCurrentPage(int page)
{
    items.currentPage = page;
}

Frame *OpmForm::frame()
{
    return ownedFrame;
}

int OpmForm::nextItemNumber()
{
    return items.itemCount() + 1;
}

int OpmForm::itemCount() const
{
    return items.itemCount();
}

void OpmForm::fillDatas()
{
    qDebug() << "void __thiscall OpmForm::fillDatas(void)";
    auto *opmFrame = static_cast<OpmValueFrame *>(ownedFrame);
    addItemData(opmFrame->itemData);
    renewFrame();
}

void OpmForm::createFrame()
{
    ownedFrame = new OpmValueFrame;
}

void OpmForm::addItemData(const OpmItemData &data)
{
    items.append(data);
    if (items.pageCount() == items.currentPage) {
        const int row = int(items.lastPage().size()) - 1;
        qDebug() << "lastRowIndex:" << row;
        addOneRow(row, data);
    }
}

void OpmForm::addOneRow(int row, const OpmItemData &data)
{
    QTableWidget *table = ui->tableWidget;
    table->insertRow(row);
    if (data.singleWaveOpmDatas.isEmpty()) {
        table->setRowHidden(row, true);
        return;
    }
    table->setRowHidden(row, false);
    qDebug() << "rowCount:" << table->rowCount();
    qDebug() << "data.singleWaveOpmDatas:" << data.singleWaveOpmDatas.size();

    const QColor background = (row % 2) ? OddRowColor : EvenRowColor;
    const SingleWaveOpmData &wave = data.singleWaveOpmDatas.first();
    table->setItem(row, 0, centredItem(data.number, background));
    table->setItem(row, 1, centredItem(data.name, background));
    table->setItem(row, 2, centredItem(data.time, background));
    table->setItem(row, 3, centredItem(wave.wavelength, background));
    table->setItem(row, 4, centredItem(wave.power + wave.powerUnit, background));
    table->setItem(row, 5, centredItem(wave.reference, background));
    table->setItem(row, 6, centredItem(wave.powerW + wave.powerWUnit, background));
    table->setItem(row, 7, centredItem(wave.frequency, background));
    setHeaderLabels();

    while (table->rowCount() > ITEMS_PER_PAGE)
        table->removeRow(table->rowCount() - 1);
}

void OpmForm::gotoPage(int page)
{
    // The navigator only sends 1..count; anything else is ignored rather than
    // read past the store.
    if (page < 1 || items.pageCount() < page || page == items.currentPage)
        return;
    ui->tableWidget->clear();
    ui->tableWidget->setRowCount(0);
    // clear() takes the header texts too; a page whose rows are all hidden
    // would otherwise be left with numbered columns.
    setHeaderLabels();
    items.currentPage = page;
    const auto &records = *items.page(page);
    for (int i = 0; i < int(records.size()); ++i)
        addOneRow(i, records[size_t(i)]);
    ui->tableWidget->scrollToTop();
}

void OpmForm::clearDatas()
{
    items.clearItems();
    ui->tableWidget->clearContents();
    ui->tableWidget->setRowCount(0);
    ui->pageWidget->reSetcurrentPage();
}

void OpmForm::saveDatas(const QString &dir)
{
    if (items.itemCount() < 1) {
        showMessage(tr("Save Fail,No Data!"));
        return;
    }
    if (dir.isEmpty())
        return;
    OpmXlsx writer;
    if (writer.saveSingleWave(items.allItems(), dir))
        showMessage(tr("Report exported"));
    else
        showMessage(tr("Failed to export report"));
}

void OpmForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() < NarrowWidth)
        setNarrowResizeModes();
    else
        setWideResizeModes();
}

void OpmForm::setHeaderLabels()
{
    ui->tableWidget->setHorizontalHeaderLabels({tr("No."), tr("Name"), tr("Time"), tr("Wave.(nm)"),
                                                tr("Power"), tr("REF(dBm)"), tr("Power(W)"),
                                                tr("Freq.(Hz)")});
}

void OpmForm::setNarrowResizeModes()
{
    QHeaderView *header = ui->tableWidget->horizontalHeader();
    for (int column : {0, 1, 4})
        header->setSectionResizeMode(column, QHeaderView::Stretch);
    for (int column : {TimeColumn, 3, 5, 6, 7})
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
}

void OpmForm::setWideResizeModes()
{
    QHeaderView *header = ui->tableWidget->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(TimeColumn, QHeaderView::ResizeToContents);
}
