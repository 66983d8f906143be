#include "views/multiwaveopmform.h"
#include "views/viewcleanup.h"

#include "dialogs/messagedialog.h"
#include "link/opmvalueframe.h"
#include "report/multiwavelevel.h"
#include "report/opmxlsx.h"
#include "ui_multiwaveopmform.h"
#include "views/multiwaveopmitem.h"
#include "widgets/pagewidget.h"

#include <QColor>
#include <QDebug>
#include <QLabel>
#include <QListWidgetItem>

namespace {
constexpr int ReadingColumns = 5;

const QColor OddRowColor(242, 242, 239);
const QColor EvenRowColor(Qt::white);

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
        qDebug() << "LOW..............";
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
    , ui(new Ui::MultiWaveOpmForm)
{
    ui->setupUi(this);
    ownedFrame = new OpmValueFrame;
    ui->pageWidget->hide();

    connect(ui->pageWidget, &PageWidget::gotoPage, this, &MultiWaveOpmForm::gotoPage);
    connect(&items, &Agent::pageCountChanged, ui->pageWidget, &PageWidget::setPageCount);
}

MultiWaveOpmForm::~MultiWaveOpmForm()
{
    delete ui;
}

int MultiWaveOpmForm::currentPage()
{
    return items.currentPage;
}

void MultiWaveOpmForm::setCurrentPage(int page)
{
    items.currentPage = page;
}

Frame *MultiWaveOpmForm::frame()
{
    return ownedFrame;
}

int MultiWaveOpmForm::nextItemNumber()
{
    return items.itemCount();
}

int MultiWaveOpmForm::itemCount() const
{
    return items.itemCount();
}

void MultiWaveOpmForm::fillDatas()
{
    qDebug() << "void __thiscall MultiWaveOpmForm::fillDatas(void)";
    auto *opmFrame = static_cast<OpmValueFrame *>(ownedFrame);
    // The 0x17 mark belongs to this answer: taken with the record now, while
    // the page holds the frame, never read from a frame the worker may be
    // filling.
    addItemData(opmFrame->itemData, opmFrame->isCode17);
    renewFrame();
}

void MultiWaveOpmForm::createFrame()
{
    ownedFrame = new OpmValueFrame;
}

void MultiWaveOpmForm::addItemData(const OpmItemData &data, bool collapsed)
{
    qDebug() << "void __thiscall MultiWaveOpmForm::addItemData(class OpmItemData)"
             << "-----------------:" << items.currentPage << "-----------" << items.pageCount();
    items.append(data);
    if (items.pageCount() == items.currentPage) {
        qDebug() << "1111111";
        addOneRow(ui->listWidget->count(), data, collapsed);
    }
}

void MultiWaveOpmForm::addOneRow(int index, const OpmItemData &data, bool collapsed)
{
    qDebug() << "addOneRow";
    qDebug() << "void __thiscall MultiWaveOpmForm::addOneRow(int,class OpmItemData)";
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
    item->setBackground(index % 2 ? OddRowColor : EvenRowColor);
}

void MultiWaveOpmForm::deleteCards()
{
    deleteItemWidgets(ui->listWidget, cards);
}

void MultiWaveOpmForm::gotoPage(int page)
{
    if (page < 1 || items.pageCount() < page || page == items.currentPage)
        return;
    deleteCards();
    ui->listWidget->clear();
    items.currentPage = page;
    const auto &records = *items.page(page);
    for (int i = 0; i < int(records.size()); ++i)
        addOneRow(i, records[size_t(i)]);
}

void MultiWaveOpmForm::clearDatas()
{
    items.clearItems();
    deleteCards();
    ui->listWidget->clear();
    ui->pageWidget->reSetcurrentPage();
}

void MultiWaveOpmForm::saveDatas(const QString &dir)
{
    if (items.itemCount() < 1) {
        showMessage(tr("Save Fail,No Data!"));
        return;
    }
    if (dir.isEmpty())
        return;
    OpmXlsx writer;
    if (writer.saveMultiWave(items.allItems(), dir))
        showMessage(tr("Report exported"));
    else
        showMessage(tr("Failed to export report"));
}
