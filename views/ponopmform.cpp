#include "views/ponopmform.h"
#include "views/viewcleanup.h"

#include "link/logging.h"
#include "report/ponxlsx.h"
#include "ui_ponopmform.h"
#include "views/ponsinglewaveitem.h"
#include "views/recordstyle.h"
#include "widgets/pagewidget.h"

#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QTableWidgetItem>

namespace {
// Below this width the number, name and time columns fit their contents.
constexpr int NarrowWidth = 640;
// The "yy/MM/dd HH:mm" times are read whole at every width.
constexpr int TimeColumn = 2;
constexpr int RowHeight = 35;
// Readings go to column FirstWaveColumn + typeCode (1310, 1490, 1550 nm).
constexpr int FirstWaveColumn = 3;
constexpr int WaveColumns = 3;

QTableWidgetItem *centredItem(const QString &text, const QColor &background)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setBackground(background);
    return item;
}

void fillWaveItem(PonSingleWaveItem *item, const PowerInfo &info, bool odd, const PonClassCheck &check)
{
    const PonClassCheck::Result result = check.check(info);
    item->setToolTip(check.toolTip(result));
    item->powerLabel()->setText(info.showPower ? info.power + info.powerUnit
                                               : info.powerW + info.powerWUnit);
    const QString classStyle = PonClassCheck::powerStyle(result);
    if (!classStyle.isEmpty())
        item->powerLabel()->setStyleSheet(classStyle);
    item->refLabel()->setText(info.isRelative && info.inRange
                                  ? QStringLiteral("REF: ") + info.reference + QStringLiteral("dBm")
                                  : QStringLiteral("REF: ---"));
    const QString verdict = recordstyle::verdictStyle(info.passStatus);
    if (!verdict.isEmpty())
        item->stateWidget()->setStyleSheet(verdict);
    item->backgroundWidget()->setStyleSheet(recordstyle::rowBackgroundStyle(odd));
}
} // namespace

PonOpmForm::PonOpmForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PonOpmForm)
{
    ui->setupUi(this);
    ui->pageWidget->hide();

    setHeaderLabels();
    ui->tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->tableWidget->setSelectionMode(QAbstractItemView::NoSelection);
    QHeaderView *header = ui->tableWidget->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    for (int column = 0; column < FirstWaveColumn; ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);

    connect(ui->pageWidget, &PageWidget::gotoPage, this, &PonOpmForm::gotoPage);
    connect(&items, &Agent::pageCountChanged, ui->pageWidget, &PageWidget::setPageCount);

    // The class summary stands above the records; without a class it is hidden.
    classSummaryLabel = new QLabel(this);
    classSummaryLabel->setObjectName(QStringLiteral("classSummaryLabel"));
    classSummaryLabel->setTextFormat(Qt::PlainText);
    classSummaryLabel->setStyleSheet(QStringLiteral("color: rgb(102, 102, 102); padding: 4px 9px;"));
    ui->verticalLayout->insertWidget(0, classSummaryLabel);
    check = PonClassCheck::fromConfiguration(PonClassCheck::Technology::Gpon);
    showClassSummary();
}

PonOpmForm::~PonOpmForm()
{
    delete ui;
}

void PonOpmForm::drawRecord(int row, const PonOpmItemData &data, bool)
{
    QTableWidget *table = ui->tableWidget;
    setHeaderLabels();
    table->insertRow(row);
    const bool odd = row % 2;
    const QColor background = recordstyle::rowColor(row);
    table->setItem(row, 0, centredItem(data.number, background));
    table->setItem(row, 1, centredItem(data.name, background));
    table->setItem(row, 2, centredItem(data.time, background));

    bool filled[WaveColumns] = {false, false, false};
    for (const PowerInfo &info : data.powerInfos) {
        // Only the three PON wavelengths have a column; any other type code
        // has nowhere to go and is left out of the row.
        if (info.typeCode < 0 || info.typeCode >= WaveColumns)
            continue;
        auto *item = new PonSingleWaveItem;
        fillWaveItem(item, info, odd, check);
        table->setCellWidget(row, FirstWaveColumn + info.typeCode, item);
        cellWidgets << item;
        filled[info.typeCode] = true;
    }
    for (int t = 0; t < WaveColumns; ++t) {
        if (!filled[t])
            table->setItem(row, FirstWaveColumn + t, new QTableWidgetItem(QStringLiteral("---")));
    }
    table->setRowHeight(row, RowHeight);

    while (table->rowCount() > ITEMS_PER_PAGE)
        table->removeRow(table->rowCount() - 1);
}

void PonOpmForm::deleteCellWidgets()
{
    ::deleteCellWidgets(ui->tableWidget, FirstWaveColumn, cellWidgets);
}

void PonOpmForm::clearPage()
{
    deleteCellWidgets();
    ui->tableWidget->clear();
    ui->tableWidget->setRowCount(0);
    // clear() takes the header texts too; a page whose rows are all hidden
    // would otherwise be left with numbered columns.
    setHeaderLabels();
}

void PonOpmForm::pageDrawn()
{
    ui->tableWidget->scrollToTop();
}

void PonOpmForm::recordStored(const PonOpmItemData &record)
{
    // Only the readings with a column count, as only they are shown.
    for (const PowerInfo &info : record.powerInfos) {
        if (info.typeCode >= 0 && info.typeCode < WaveColumns)
            tally.add(check.check(info));
    }
    if (check.isActive())
        showClassSummary();
}

void PonOpmForm::clearView()
{
    tally = PonClassCheck::Tally();
    showClassSummary();
    deleteCellWidgets();
    ui->tableWidget->clearContents();
    ui->tableWidget->setRowCount(0);
    ui->pageWidget->reSetcurrentPage();
    qCDebug(lcViews) << "clearrrrrr  PonOpmForm ";
}

bool PonOpmForm::writeReport(const QList<PonOpmItemData> &records, const QString &dir)
{
    return PonXlsx().save(records, dir);
}

void PonOpmForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    QHeaderView *header = ui->tableWidget->horizontalHeader();
    if (event->size().width() < NarrowWidth) {
        for (int column = 0; column < FirstWaveColumn; ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    } else {
        header->setSectionResizeMode(QHeaderView::Stretch);
        header->setSectionResizeMode(TimeColumn, QHeaderView::ResizeToContents);
    }
    qCDebug(lcViews) << "987654";
}

void PonOpmForm::setHeaderLabels()
{
    ui->tableWidget->setHorizontalHeaderLabels({tr("No."), tr("Name"), tr("Time"), tr("ONT(1310nm)"),
                                                tr("OLT(1490nm)"), tr("VDO(1550nm)")});
}

void PonOpmForm::reloadClassCheck()
{
    applyClassCheck(PonClassCheck::fromConfiguration(PonClassCheck::Technology::Gpon));
}

void PonOpmForm::applyClassCheck(const PonClassCheck &classCheck)
{
    check = classCheck;
    tally = PonClassCheck::Tally();
    for (const PonOpmItemData &record : items.allItems())
        recordStored(record);
    showClassSummary();
    redrawCurrentPage();
}

void PonOpmForm::showClassSummary()
{
    classSummaryLabel->setVisible(check.isActive());
    classSummaryLabel->setText(check.summary(tally));
}
