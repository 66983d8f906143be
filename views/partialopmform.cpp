#include "views/partialopmform.h"
#include "views/viewcleanup.h"

#include "link/logging.h"
#include "report/partialopmxlsx.h"
#include "ui_partialopmform.h"
#include "views/partialopmwave.h"
#include "views/poweritem.h"
#include "views/recordstyle.h"
#include "widgets/doubleexcelitem.h"
#include "widgets/pagewidget.h"

#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QTableWidgetItem>

namespace {
// Below this width every column but the two value columns fits its contents.
constexpr int NarrowWidth = 800;
// The "yy/MM/dd HH:mm" times are read whole at every width.
constexpr int TimeColumn = 2;
// The value cells need their full width; narrow windows scroll sideways.
constexpr int MinimumColumnWidth = 72;
// Rows that stack two wavelengths need room for two lines.
constexpr int TwoWaveRowHeight = 48;
// Where the verdict icons sit in the wavelength cell and how big they are.
const QRect FirstIconGeometry(18, 56, 14, 14);
const QRect SecondIconGeometry(18, 127, 14, 14);
constexpr int WarningIconSize = 16;

// Shows the verdict icon at `geometry`. A record without a verdict (and any
// code the meter does not define) gets no icon at all, rather than the pass
// icon the cell starts with.
void setVerdict(QWidget *state, int verdict, QRect geometry)
{
    const QString style = recordstyle::verdictStyle(verdict);
    if (style.isEmpty()) {
        state->setFixedSize(0, 0);
        state->setGeometry(geometry.x(), geometry.y(), 0, 0);
        state->hide();
        return;
    }
    state->setStyleSheet(style);
    state->setFixedSize(geometry.size());
    state->setGeometry(geometry);
    state->show();
}

QTableWidgetItem *centredItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}
} // namespace

PartialOpmForm::PartialOpmForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::PartialOpmForm)
{
    ui->setupUi(this);
    ui->pageWidget->hide();

    setHeaderLabels();
    ui->tableWidget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->tableWidget->setSelectionMode(QAbstractItemView::NoSelection);
    ui->tableWidget->horizontalHeader()->setMinimumSectionSize(MinimumColumnWidth);
    ui->tableWidget->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    setNarrowResizeModes();

    connect(ui->pageWidget, &PageWidget::gotoPage, this, &PartialOpmForm::gotoPage);
    connect(&items, &Agent::pageCountChanged, ui->pageWidget, &PageWidget::setPageCount);
}

PartialOpmForm::~PartialOpmForm()
{
    delete ui;
}

void PartialOpmForm::drawRecord(int row, const OpmItemData &data, bool)
{
    QTableWidget *table = ui->tableWidget;
    table->insertRow(row);
    table->setItem(row, 0, centredItem(data.number));
    table->setItem(row, 1, centredItem(data.name));
    table->setItem(row, 2, centredItem(data.time));

    // A record without a partial reading is drawn like one of an unknown
    // wave count: number, name and time only.
    if (data.partialOpmDatas.isEmpty())
        return;
    const PartialOpmData &partial = data.partialOpmDatas.first();
    if (partial.waveCount != 1 && partial.waveCount != 2)
        return;

    const bool odd = row % 2;
    auto *wave = new PartialopmWave;
    wave->powerLabel()->setText(partial.wave1.wavelength);
    setVerdict(wave->stateWidget(), partial.passStatus1, FirstIconGeometry);
    QList<int> textColumns{0, 1, 2};

    if (partial.waveCount == 1) {
        wave->powerLabel2()->hide();
        wave->stateWidget2()->hide();
        wave->setStyleSheet(recordstyle::greyTextCellStyle(odd));
        table->setCellWidget(row, 3, wave);

        auto *power = new PowerItem;
        power->valueLabel()->setText(partial.wave1.power);
        power->unitLabel()->setText(partial.wave1.powerUnit);
        power->backgroundWidget()->setStyleSheet(recordstyle::rowBackgroundStyle(odd));
        table->setCellWidget(row, 4, power);

        table->setItem(row, 5, centredItem(partial.wave1.reference));

        auto *watts = new PowerItem;
        watts->valueLabel()->setText(partial.wave1.powerW);
        watts->unitLabel()->setText(partial.wave1.powerWUnit);
        watts->backgroundWidget()->setStyleSheet(recordstyle::rowBackgroundStyle(odd));
        table->setCellWidget(row, 6, watts);

        table->setItem(row, 7, centredItem(partial.wave1.frequency));
        cellWidgets << wave << power << watts;
        textColumns << 5 << 7;
    } else {
        wave->powerLabel2()->setText(partial.wave2.wavelength);
        QRect second = SecondIconGeometry;
        if (partial.passStatus2 == recordstyle::VerdictWarning)
            second.setSize(QSize(WarningIconSize, WarningIconSize));
        setVerdict(wave->stateWidget2(), partial.passStatus2, second);
        wave->setStyleSheet(recordstyle::greyTextCellStyle(odd));
        table->setCellWidget(row, 3, wave);
        cellWidgets << wave;

        struct Pair {
            const QString &value1, &unit1, &value2, &unit2;
            bool units;
        };
        const SingleWaveOpmData &w1 = partial.wave1;
        const SingleWaveOpmData &w2 = partial.wave2;
        const Pair pairs[] = {
            {w1.power, w1.powerUnit, w2.power, w2.powerUnit, true},
            {w1.reference, QString(), w2.reference, QString(), false},
            {w1.powerW, w1.powerWUnit, w2.powerW, w2.powerWUnit, true},
            {w1.frequency, QString(), w2.frequency, QString(), false},
        };
        int column = 4;
        for (const Pair &pair : pairs) {
            auto *item = new DoubleExcelItem;
            item->valueLabel1()->setText(pair.value1);
            item->valueLabel2()->setText(pair.value2);
            if (pair.units) {
                item->unitLabel1()->setText(pair.unit1);
                item->unitLabel2()->setText(pair.unit2);
            } else {
                item->unitLabel1()->hide();
                item->unitLabel2()->hide();
            }
            item->setStyleSheet(recordstyle::greyTextCellStyle(odd));
            table->setCellWidget(row, column++, item);
            cellWidgets << item;
        }
        table->setRowHeight(row, TwoWaveRowHeight);
    }

    setHeaderLabels();
    const QColor background = recordstyle::rowColor(row);
    for (int column : textColumns)
        table->item(row, column)->setBackground(background);

    while (table->rowCount() > ITEMS_PER_PAGE)
        table->removeRow(table->rowCount() - 1);
}

void PartialOpmForm::deleteCellWidgets()
{
    ::deleteCellWidgets(ui->tableWidget, 0, cellWidgets);
}

void PartialOpmForm::clearPage()
{
    deleteCellWidgets();
    ui->tableWidget->clear();
    ui->tableWidget->setRowCount(0);
    // clear() takes the header texts too; a page whose rows are all hidden
    // would otherwise be left with numbered columns.
    setHeaderLabels();
}

void PartialOpmForm::pageDrawn()
{
    ui->tableWidget->scrollToTop();
}

void PartialOpmForm::clearView()
{
    deleteCellWidgets();
    ui->tableWidget->clearContents();
    ui->tableWidget->setRowCount(0);
    ui->pageWidget->reSetcurrentPage();
}

bool PartialOpmForm::writeReport(const QList<OpmItemData> &records, const QString &dir)
{
    return PartialOpmXlsx().save(records, dir);
}

void PartialOpmForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (event->size().width() < NarrowWidth)
        setNarrowResizeModes();
    else
        setWideResizeModes();
    qCDebug(lcViews) << "876543";
}

void PartialOpmForm::setHeaderLabels()
{
    ui->tableWidget->setHorizontalHeaderLabels({tr("No."), tr("Name"), tr("Time"), tr("Wave.(nm)"),
                                                tr("Power"), tr("REF(dBm)"), tr("Power(W)"),
                                                tr("Freq.(Hz)")});
}

void PartialOpmForm::setNarrowResizeModes()
{
    QHeaderView *header = ui->tableWidget->horizontalHeader();
    for (int column : {0, 1, TimeColumn, 3, 5, 7})
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    for (int column : {4, 6})
        header->setSectionResizeMode(column, QHeaderView::Stretch);
}

void PartialOpmForm::setWideResizeModes()
{
    QHeaderView *header = ui->tableWidget->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    header->setSectionResizeMode(TimeColumn, QHeaderView::ResizeToContents);
}
