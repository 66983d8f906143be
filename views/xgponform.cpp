#include "views/xgponform.h"
#include "views/viewcleanup.h"

#include "dialogs/messagedialog.h"
#include "link/ponframe.h"
#include "report/xgponxlsx.h"
#include "ui_xgponform.h"
#include "views/xgponitem.h"
#include "widgets/pagewidget.h"

#include <QColor>
#include <QLabel>
#include <QListWidgetItem>

namespace {
constexpr int ReadingColumns = 5;

const QColor OddRowColor(242, 242, 239);
const QColor EvenRowColor(Qt::white);

template<typename W = QLabel>
W *readingWidget(QWidget *card, const char *base, int column)
{
    return card->findChild<W *>(QLatin1String(base) + QString::number(column));
}

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
} // namespace

XGPonForm::XGPonForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::XGPonForm)
{
    ui->setupUi(this);
    ownedFrame = new PonFrame;
    ui->pageWidget->hide();

    connect(ui->pageWidget, &PageWidget::gotoPage, this, &XGPonForm::gotoPage);
    connect(&items, &Agent::pageCountChanged, ui->pageWidget, &PageWidget::setPageCount);
}

XGPonForm::~XGPonForm()
{
    delete ui;
}

int XGPonForm::currentPage()
{
    return items.currentPage;
}

void XGPonForm::setCurrentPage(int page)
{
    items.currentPage = page;
}

Frame *XGPonForm::frame()
{
    return ownedFrame;
}

int XGPonForm::nextItemNumber()
{
    return items.itemCount() + 1;
}

int XGPonForm::itemCount() const
{
    return items.itemCount();
}

void XGPonForm::fillDatas()
{
    auto *ponFrame = static_cast<PonFrame *>(ownedFrame);
    addItemData(ponFrame->itemData);
    renewFrame();
}

void XGPonForm::createFrame()
{
    ownedFrame = new PonFrame;
}

void XGPonForm::addItemData(const PonOpmItemData &data)
{
    items.append(data);
    if (items.pageCount() == items.currentPage)
        addOneRow(int(items.lastPage().size()) - 1, data);
}

void XGPonForm::addOneRow(int index, const PonOpmItemData &data)
{
    auto *item = new QListWidgetItem;
    auto *card = new XGPonItem;
    card->numLabel()->setText(data.number);
    card->nameLabel()->setText(data.name);
    card->dateTimeLabel()->setText(data.time);
    item->setSizeHint(card->size());

    static const char *const textBases[] = {"waveLabel", "powerLgLabel", "lgUnitLabel",
                                            "powerWLabel", "wUnitLabel", "refLabel"};
    for (int column = 1; column <= ReadingColumns; ++column) {
        const int t = column - 1;
        if (data.powerInfos.size() > t) {
            const PowerInfo &info = data.powerInfos.at(t);
            const QString texts[] = {info.wavelength, info.power,      info.powerUnit,
                                     info.powerW,     info.powerWUnit, info.reference};
            for (int i = 0; i < 6; ++i)
                readingWidget(card, textBases[i], column)->setText(texts[i]);
            const QString verdict = verdictStyle(info.passStatus);
            if (!verdict.isEmpty())
                readingWidget<QWidget>(card, "stateWidget", column)->setStyleSheet(verdict);
        } else {
            for (const char *base : textBases)
                readingWidget(card, base, column)->setText(QStringLiteral(" "));
        }
    }

    cards << card;
    ui->listWidget->insertItem(index, item);
    ui->listWidget->setItemWidget(item, card);
    item->setBackground(index % 2 ? OddRowColor : EvenRowColor);
}

void XGPonForm::deleteCards()
{
    deleteItemWidgets(ui->listWidget, cards);
}

void XGPonForm::gotoPage(int page)
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

void XGPonForm::clearDatas()
{
    items.clearItems();
    deleteCards();
    ui->listWidget->clear();
    ui->pageWidget->reSetcurrentPage();
}

void XGPonForm::saveDatas(const QString &dir)
{
    if (items.itemCount() < 1) {
        showMessage(tr("Save Fail,No Data!"));
        return;
    }
    if (dir.isEmpty())
        return;
    XGPonXlsx writer;
    if (writer.save(items.allItems(), dir))
        showMessage(tr("Report exported"));
    else
        showMessage(tr("Failed to export report"));
}
