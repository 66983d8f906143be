#include "views/ponopmform.h"
#include "views/viewcleanup.h"

#include "dialogs/messagedialog.h"
#include "link/ponframe.h"
#include "report/ponxlsx.h"
#include "ui_ponopmform.h"
#include "views/ponsinglewaveitem.h"
#include "widgets/pagewidget.h"

#include <QColor>
#include <QDebug>
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

const QColor OddRowColor(242, 242, 239);
const QColor EvenRowColor(Qt::white);

QString verdictStyle(int verdict)
{
    switch (verdict) {
    case 0:
        return QStringLiteral("image: url(:/img/pass.png);");
    case 1:
        return QStringLiteral("image: url(:/img/warn.png);");
    case 2:
        return QStringLiteral("image: url(:/img/not_pass.png);");
    default:
        return QString();
    }
}

QTableWidgetItem *centredItem(const QString &text, const QColor &background)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    item->setBackground(background);
    return item;
}

void fillWaveItem(PonSingleWaveItem *item, const PowerInfo &info, bool odd)
{
    item->powerLabel()->setText(info.showPower ? info.power + info.powerUnit
                                               : info.powerW + info.powerWUnit);
    item->refLabel()->setText(info.isRelative && info.inRange
                                  ? QStringLiteral("REF: ") + info.reference + QStringLiteral("dBm")
                                  : QStringLiteral("REF: ---"));
    const QString verdict = verdictStyle(info.passStatus);
    if (!verdict.isEmpty())
        item->stateWidget()->setStyleSheet(verdict);
    item->backgroundWidget()->setStyleSheet(odd ? QStringLiteral("background-color: rgb(242, 242, 239);")
                                                : QStringLiteral("background-color: White;"));
}
} // namespace

PonOpmForm::PonOpmForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PonOpmForm)
{
    ui->setupUi(this);
    ownedFrame = new PonFrame;
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
}

PonOpmForm::~PonOpmForm()
{
    delete ui;
}

int PonOpmForm::currentPage()
{
    return items.currentPage;
}

void PonOpmForm::setCurrentPage(int page)
{
    items.currentPage = page;
}

Frame *PonOpmForm::frame()
{
    return ownedFrame;
}

int PonOpmForm::nextItemNumber()
{
    return items.itemCount() + 1;
}

int PonOpmForm::itemCount() const
{
    return items.itemCount();
}

void PonOpmForm::fillDatas()
{
    auto *ponFrame = static_cast<PonFrame *>(ownedFrame);
    addItemData(ponFrame->itemData);
    renewFrame();
}

void PonOpmForm::createFrame()
{
    ownedFrame = new PonFrame;
}

void PonOpmForm::addItemData(const PonOpmItemData &data)
{
    items.append(data);
    if (items.pageCount() == items.currentPage)
        addOneRow(int(items.lastPage().size()) - 1, data);
}

void PonOpmForm::addOneRow(int row, const PonOpmItemData &data)
{
    QTableWidget *table = ui->tableWidget;
    setHeaderLabels();
    table->insertRow(row);
    const bool odd = row % 2;
    const QColor background = odd ? OddRowColor : EvenRowColor;
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
        fillWaveItem(item, info, odd);
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

void PonOpmForm::gotoPage(int page)
{
    if (page < 1 || items.pageCount() < page || page == items.currentPage)
        return;
    deleteCellWidgets();
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

void PonOpmForm::clearDatas()
{
    items.clearItems();
    deleteCellWidgets();
    ui->tableWidget->clearContents();
    ui->tableWidget->setRowCount(0);
    ui->pageWidget->reSetcurrentPage();
    qDebug() << "clearrrrrr  PonOpmForm ";
}

void PonOpmForm::saveDatas(const QString &dir)
{
    if (items.itemCount() < 1) {
        showMessage(tr("Save Fail,No Data!"));
        return;
    }
    if (dir.isEmpty())
        return;
    PonXlsx writer;
    if (writer.save(items.allItems(), dir))
        showMessage(tr("Report exported"));
    else
        showMessage(tr("Failed to export report"));
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
    qDebug() << "987654";
}

void PonOpmForm::setHeaderLabels()
{
    ui->tableWidget->setHorizontalHeaderLabels({tr("No."), tr("Name"), tr("Time"), tr("ONT(1310nm)"),
                                                tr("OLT(1490nm)"), tr("VDO(1550nm)")});
}
