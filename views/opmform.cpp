#include "views/opmform.h"

#include "link/logging.h"
#include "report/opmxlsx.h"
#include "ui_opmform.h"
#include "views/recordstyle.h"
#include "widgets/pagewidget.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QTableWidgetItem>

namespace {
// Below this width the narrow columns shrink to their contents.
constexpr int NarrowWidth = 800;
// The "yy/MM/dd HH:mm" times are read whole at every width: this column
// always fits its contents, the others share the rest.
constexpr int TimeColumn = 2;

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

void OpmForm::fillDatas()
{
    qCDebug(lcViews) << "void __thiscall OpmForm::fillDatas(void)";
    RecordPage::fillDatas();
}

void OpmForm::traceDraw(int row)
{
    qCDebug(lcViews) << "lastRowIndex:" << row;
}

void OpmForm::drawRecord(int row, const OpmItemData &data, bool)
{
    QTableWidget *table = ui->tableWidget;
    table->insertRow(row);
    if (data.singleWaveOpmDatas.isEmpty()) {
        table->setRowHidden(row, true);
        return;
    }
    table->setRowHidden(row, false);
    qCDebug(lcViews) << "rowCount:" << table->rowCount();
    qCDebug(lcViews) << "data.singleWaveOpmDatas:" << data.singleWaveOpmDatas.size();

    const QColor background = recordstyle::rowColor(row);
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

void OpmForm::clearPage()
{
    ui->tableWidget->clear();
    ui->tableWidget->setRowCount(0);
    // clear() takes the header texts too; a page whose rows are all hidden
    // would otherwise be left with numbered columns.
    setHeaderLabels();
}

void OpmForm::pageDrawn()
{
    ui->tableWidget->scrollToTop();
}

void OpmForm::clearView()
{
    ui->tableWidget->clearContents();
    ui->tableWidget->setRowCount(0);
    ui->pageWidget->reSetcurrentPage();
}

bool OpmForm::writeReport(const QList<OpmItemData> &records, const QString &dir)
{
    return OpmXlsx().saveSingleWave(records, dir);
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
