#include "views/multiwaveopmform.h"
#include "views/viewcleanup.h"

#include "link/logging.h"
#include "report/multiwavelevel.h"
#include "report/opmxlsx.h"
#include "ui_multiwaveopmform.h"
#include "views/multiwaveopmitem.h"
#include "views/recordstyle.h"
#include "widgets/pagewidget.h"

#include <QLabel>
#include <QListWidgetItem>

namespace {
constexpr int ReadingColumns = 5;

QLabel *readingLabel(QWidget *card, const char *base, int column)
{
    return card->findChild<QLabel *>(QLatin1String(base) + QString::number(column));
}

void fillColumn(QWidget *card, int column, const SingleWaveOpmData &wave)
{
    QLabel *waveLabel = readingLabel(card, "waveLabel", column);
    QLabel *powerLabel = readingLabel(card, "powerLgLabel", column);
    QLabel *wattsLabel = readingLabel(card, "powerWLabel", column);
    QLabel *freqLabel = readingLabel(card, "freqLabel", column);
    QLabel *refLabel = readingLabel(card, "refLabel", column);

    const bool outOfRange = multiWaveLevel(wave) != MultiWaveLevel::InRange;
    const QString none = QStringLiteral("---");

    freqLabel->hide();
    waveLabel->setText(wave.wavelength);
    if (wave.power == QLatin1String("Low") || wave.power == QLatin1String("High"))
        qCDebug(lcViews) << "LOW..............";
    powerLabel->setText(multiWavePowerText(wave));
    if (wave.powerW == none)
        wattsLabel->setText(none);
    else
        wattsLabel->setText(outOfRange ? none : wave.powerW + wave.powerWUnit);
    freqLabel->setText(outOfRange ? none : wave.frequency);
    refLabel->setText(outOfRange ? none : wave.reference);
}

void hideColumn(QWidget *card, int column)
{
    for (const char *base : {"waveLabel", "powerLgLabel", "powerWLabel", "freqLabel", "refLabel"})
        readingLabel(card, base, column)->hide();
}
} // namespace

MultiWaveOpmForm::MultiWaveOpmForm(QWidget *parent)
    : QWidget(parent)
    , RecordPage(0)
    , ui(new Ui::MultiWaveOpmForm)
{
    ui->setupUi(this);
    ui->pageWidget->hide();

    connect(ui->pageWidget, &PageWidget::gotoPage, this, &MultiWaveOpmForm::gotoPage);
    connect(&items, &Agent::pageCountChanged, ui->pageWidget, &PageWidget::setPageCount);
}

MultiWaveOpmForm::~MultiWaveOpmForm()
{
    delete ui;
}

void MultiWaveOpmForm::fillDatas()
{
    qCDebug(lcViews) << "void __thiscall MultiWaveOpmForm::fillDatas(void)";
    RecordPage::fillDatas();
}

bool MultiWaveOpmForm::arrivesCollapsed(const OpmValueFrame &frame) const
{
    // The 0x17 mark belongs to this answer: taken with the record while the
    // page holds the frame, never read from a frame the worker may be filling.
    return frame.isCode17;
}

void MultiWaveOpmForm::traceAppend()
{
    qCDebug(lcViews) << "void __thiscall MultiWaveOpmForm::addItemData(class OpmItemData)"
                     << "-----------------:" << items.currentPage << "-----------"
                     << items.pageCount();
}

void MultiWaveOpmForm::traceDraw(int)
{
    qCDebug(lcViews) << "1111111";
}

void MultiWaveOpmForm::drawRecord(int index, const OpmItemData &data, bool collapsed)
{
    qCDebug(lcViews) << "addOneRow";
    qCDebug(lcViews) << "void __thiscall MultiWaveOpmForm::addOneRow(int,class OpmItemData)";
    auto *item = new QListWidgetItem;
    auto *card = new MultiWaveOpmItem;
    card->numLabel()->setText(data.number);
    card->nameLabel()->setText(data.name);
    card->dateTimeLabel()->setText(data.time);
    // A record answered with code 0x17 is kept but takes no room in the list
    // as it arrives; a redrawn page shows every card at full height.
    item->setSizeHint(QSize(card->width(), collapsed ? 0 : card->height()));

    for (int column = 1; column <= ReadingColumns; ++column) {
        const int t = column - 1;
        if (data.singleWaveOpmDatas.size() > t)
            fillColumn(card, column, data.singleWaveOpmDatas.at(t));
        else
            hideColumn(card, column);
    }

    ui->listWidget->insertItem(index, item);
    ui->listWidget->setItemWidget(item, card);
    cards << card;
    item->setBackground(recordstyle::rowColor(index));
}

void MultiWaveOpmForm::deleteCards()
{
    deleteItemWidgets(ui->listWidget, cards);
}

void MultiWaveOpmForm::clearPage()
{
    deleteCards();
    ui->listWidget->clear();
}

void MultiWaveOpmForm::clearView()
{
    clearPage();
    ui->pageWidget->reSetcurrentPage();
}

bool MultiWaveOpmForm::writeReport(const QList<OpmItemData> &records, const QString &dir)
{
    return OpmXlsx().saveMultiWave(records, dir);
}
