#include "app/historypanel.h"

#include "domain/configuration.h"
#include "session/historyrecorder.h"
#include "session/historyreplay.h"
#include "dialogs/messagedialog.h"
#include "link/valueformat.h"
#include "views/historyform.h"
#include "widgets/chartform.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTimer>

HistoryPanel::HistoryPanel(const Places &places, HistoryRecorder *recorder, const Window &window, QObject *parent)
    : QObject(parent), store(recorder->store()), window(window)
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
    connect(historyPage, &HistoryForm::exportCsvRequested, this,
            [this](const HistoryStore::SessionSummary &session) { exportSession(session, ExportFiles::Format::Csv); });
    connect(historyPage, &HistoryForm::exportPdfRequested, this,
            [this](const HistoryStore::SessionSummary &session) { exportSession(session, ExportFiles::Format::Pdf); });
    connect(store, &HistoryStore::failed, this, &HistoryPanel::reportProblem);
    connect(store, &HistoryStore::waiting, this, &HistoryPanel::reportProblem);
    reportProblem(recorder->startProblem());
    QTimer::singleShot(0, this, &HistoryPanel::offerInterrupted);
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

namespace {
// A live run's readings as the chart keeps them.
QPair<QList<QDateTime>, QList<RealTimeOpmValue>> liveReadings(HistoryStore *store, qint64 session, QString *why)
{
    QList<QDateTime> arrivals;
    QList<RealTimeOpmValue> values;
    for (const HistoryStore::LiveReading &reading : store->sessionLiveReadings(session, why)) {
        arrivals << reading.arrival;
        values << reading.value();
    }
    return {arrivals, values};
}
} // namespace

HistoryStore::Session HistoryPanel::identityOf(const HistoryStore::SessionSummary &session)
{
    HistoryStore::Session identity;
    identity.kind = session.kind;
    identity.meterModel = session.meterModel;
    identity.meterVersion = session.meterVersion;
    identity.meterKind = session.meterKind;
    identity.rangeCode = session.rangeCode;
    identity.technician = session.technician;
    identity.host = session.host;
    return identity;
}

ExportContent HistoryPanel::content(const HistoryStore::SessionSummary &session, QString *why) const
{
    ExportContent content;
    content.kind = session.kind;
    content.meter = identityOf(session);
    content.taken = session.started;
    if (content.isLive()) {
        const auto [arrivals, values] = liveReadings(store, session.id, why);
        content.arrivals = arrivals;
        content.readings = values;
        // Sampled when the first reading came, as the chart page says.
        if (!arrivals.isEmpty())
            content.taken = arrivals.first();
    } else {
        content.records = store->sessionRecords(session.id, why);
        if (const auto technology = PonClassCheck::technologyOf(content.kind))
            content.classCheck = PonClassCheck::fromConfiguration(*technology);
    }
    return content;
}

void HistoryPanel::exportSession(const HistoryStore::SessionSummary &session, ExportFiles::Format format)
{
    if (!store)
        return;
    QString why;
    const ExportContent stored = content(session, &why);
    if (!why.isEmpty()) {
        showMessage(why);
        return;
    }
    ExportFlow::run(stored, format);
}

void HistoryPanel::open(const HistoryStore::SessionSummary &session)
{
    const bool live = History::pageOf(session.kind) == PageType::Chart;
    const PageEntry &entry = pageIn(*window.pages, live ? PageType::Chart : HistoryReplay::pageOf(session.kind));
    if (!live && !entry.records) {
        showMessage(QCoreApplication::translate("MainWindow", "This session cannot be opened."));
        return;
    }
    if (window.busy())
        return;
    // Read whole before the page changes: a history that cannot be read
    // leaves the page as it was.
    QString why;
    if (live) {
        const auto [arrivals, values] = liveReadings(store, session.id, &why);
        if (!why.isEmpty()) {
            showMessage(why);
            return;
        }
        window.chart->showStored(arrivals, values);
    } else {
        const QList<HistoryStore::Record> records = store->sessionRecords(session.id, &why);
        if (!why.isEmpty()) {
            showMessage(why);
            return;
        }
        HistoryReplay::fill(entry.records, records, session.rangeCode);
    }
    emit opened(entry.type);
    emit sessionOpened(session);
}

void HistoryPanel::offerInterrupted()
{
    if (!store || !store->isOpen())
        return;
    QSettings settings(Configuration::instance()->settingsPath(), QSettings::IniFormat);
    const QDateTime offered = QDateTime::fromString(settings.value(offeredKey()).toString(), Qt::ISODateWithMs);
    // The sessions never ended since the one offered last, newest first.
    HistoryStore::SessionFilter unfinished;
    unfinished.unfinished = true;
    if (offered.isValid())
        unfinished.from = offered.addMSecs(1);
    for (const HistoryStore::SessionSummary &session : store->sessionList(unfinished)) {
        // A session lumisk-cli or another window is recording now was not cut off.
        if (session.count == 0 || store->isRecording(session.id))
            continue;
        // Asked once, whatever the answer.
        settings.setValue(offeredKey(), session.started.toUTC().toString(Qt::ISODateWithMs));
        settings.sync();
        const QString text = QCoreApplication::translate(
            "MainWindow", "Lumisk was closed while it recorded %1 (%2, started %3).\nOpen what was recorded?");
        const QString started = ValueFormat::dateTimeText(session.started, QStringLiteral("yyyy-MM-dd HH:mm"));
        if (question(text.arg(HistoryForm::familyText(session.kind), session.meterModel, started)) == 1)
            open(session);
        return;
    }
}

void HistoryPanel::reportProblem(const QString &message)
{
    static QSet<QString> told;
    if (message.isEmpty() || told.contains(message))
        return;
    told.insert(message);
    QTimer::singleShot(0, this, [message]() {
        showMessage(message + QLatin1Char('\n')
                    + QCoreApplication::translate("MainWindow", "Downloads and reports work as before."));
    });
}

void HistoryPanel::keepButtonState()
{
    historyBtn->setChecked(historyPage->isVisible());
}

void HistoryPanel::retranslate()
{
    historyBtn->setText(QCoreApplication::translate("MainWindow", "History"));
}
