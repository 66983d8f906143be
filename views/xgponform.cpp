#include "views/xgponform.h"
#include "views/viewcleanup.h"

#include "report/xgponxlsx.h"
#include "ui_xgponform.h"
#include "views/recordstyle.h"
#include "views/xgponitem.h"
#include "widgets/pagewidget.h"

#include <QLabel>
#include <QListWidgetItem>
#include <algorithm>

namespace {
constexpr int ReadingColumns = 5;

template<typename W = QLabel>
W *readingWidget(QWidget *card, const char *base, int column)
{
    return card->findChild<W *>(QLatin1String(base) + QString::number(column));
}
} // namespace

XGPonForm::XGPonForm(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::XGPonForm)
{
    ui->setupUi(this);
    ui->pageWidget->hide();

    connect(ui->pageWidget, &PageWidget::gotoPage, this, &XGPonForm::gotoPage);
    connect(&items, &Agent::pageCountChanged, ui->pageWidget, &PageWidget::setPageCount);

    // The class summary stands above the records; without a class it is hidden.
    classSummaryLabel = new QLabel(this);
    classSummaryLabel->setObjectName(QStringLiteral("classSummaryLabel"));
    classSummaryLabel->setTextFormat(Qt::PlainText);
    classSummaryLabel->setStyleSheet(QStringLiteral("color: rgb(102, 102, 102); padding: 4px 9px;"));
    ui->verticalLayout->insertWidget(0, classSummaryLabel);
    check = PonClassCheck::fromConfiguration(PonClassCheck::Technology::XgPon);
    showClassSummary();
}

XGPonForm::~XGPonForm()
{
    delete ui;
}

void XGPonForm::drawRecord(int index, const PonOpmItemData &data, bool)
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
            const PonClassCheck::Result result = check.check(info);
            QLabel *power = readingWidget(card, "powerLgLabel", column);
            power->setToolTip(check.toolTip(result));
            const QString classStyle = PonClassCheck::powerStyle(result);
            if (!classStyle.isEmpty())
                power->setStyleSheet(classStyle);
            const QString verdict = recordstyle::verdictStyle(info.passStatus);
            if (!verdict.isEmpty())
                readingWidget<QWidget>(card, "stateWidget", column)->setStyleSheet(verdict);
        } else {
            for (const char *base : textBases)
                readingWidget(card, base, column)->setText(QStringLiteral(" "));
            readingWidget(card, "powerLgLabel", column)->setToolTip(QString());
        }
    }

    cards << card;
    ui->listWidget->insertItem(index, item);
    ui->listWidget->setItemWidget(item, card);
    item->setBackground(recordstyle::rowColor(index));
}

void XGPonForm::deleteCards()
{
    deleteItemWidgets(ui->listWidget, cards);
}

void XGPonForm::clearPage()
{
    deleteCards();
    ui->listWidget->clear();
}

void XGPonForm::recordStored(const PonOpmItemData &record)
{
    // A card shows the first five readings; the rest have no place.
    const int shown = std::min(int(record.powerInfos.size()), ReadingColumns);
    for (int i = 0; i < shown; ++i)
        tally.add(check.check(record.powerInfos.at(i)));
    if (check.isActive())
        showClassSummary();
}

void XGPonForm::clearView()
{
    tally = PonClassCheck::Tally();
    showClassSummary();
    clearPage();
    ui->pageWidget->reSetcurrentPage();
}

bool XGPonForm::writeReport(const QList<PonOpmItemData> &records, const QString &dir)
{
    return XGPonXlsx().save(records, dir);
}

void XGPonForm::reloadClassCheck()
{
    applyClassCheck(PonClassCheck::fromConfiguration(PonClassCheck::Technology::XgPon));
}

void XGPonForm::applyClassCheck(const PonClassCheck &classCheck)
{
    check = classCheck;
    tally = PonClassCheck::Tally();
    for (const PonOpmItemData &record : items.allItems())
        recordStored(record);
    showClassSummary();
    redrawCurrentPage();
}

void XGPonForm::showClassSummary()
{
    classSummaryLabel->setVisible(check.isActive());
    classSummaryLabel->setText(check.summary(tally));
}
