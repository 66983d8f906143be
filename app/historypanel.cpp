#include "app/historypanel.h"

#include "app/historyreplay.h"
#include "dialogs/messagedialog.h"
#include "views/historyform.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QPushButton>

HistoryPanel::HistoryPanel(const Places &places, HistoryStore *store, const Window &window, QObject *parent)
    : QObject(parent), store(store), window(window)
{
    historyBtn = new QPushButton(QCoreApplication::translate("MainWindow", "History"), places.tabFrame);
    historyBtn->setObjectName(QStringLiteral("historyBtn"));
    historyBtn->setCheckable(true);
    historyBtn->setFocusPolicy(Qt::NoFocus);
    historyBtn->setCursor(Qt::PointingHandCursor);
    historyBtn->setSizePolicy(places.neighbour->sizePolicy());
    historyBtn->setMinimumSize(places.neighbour->minimumSize());
    historyBtn->setMaximumSize(places.neighbour->maximumSize());
    places.buttons->insertWidget(places.buttons->indexOf(places.neighbour) + 1, historyBtn);
    historyPage = new HistoryForm(places.pagesWidget);
    historyPage->setObjectName(QStringLiteral("historyPage"));
    places.pages->addWidget(historyPage);
    historyPage->setStore(store);
    connect(historyBtn, &QPushButton::clicked, this, &HistoryPanel::show);
    connect(historyPage, &HistoryForm::openRequested, this, &HistoryPanel::open);
}

void HistoryPanel::show()
{
    if (window.busy()) {
        showMessage(QCoreApplication::translate("MainWindow", "Can not switch tab when it's importing datas"));
        keepButtonState();
        return;
    }
    window.askToSave();
    emit leavingPages();
    historyBtn->setChecked(true);
    historyPage->show();
    historyPage->refresh();
}

void HistoryPanel::open(const HistoryStore::SessionSummary &session)
{
    const PageEntry &entry = pageIn(*window.pages, HistoryReplay::pageOf(session.kind));
    if (!entry.records) {
        showMessage(QCoreApplication::translate("MainWindow", "Live runs cannot be opened from the history yet."));
        return;
    }
    if (window.busy())
        return;
    HistoryReplay::fill(entry.records, store->sessionRecords(session.id), session.rangeCode);
    emit opened(entry.type);
}

void HistoryPanel::keepButtonState()
{
    historyBtn->setChecked(historyPage->isVisible());
}

void HistoryPanel::retranslate()
{
    historyBtn->setText(QCoreApplication::translate("MainWindow", "History"));
}
