#include "app/startpanel.h"

#include "history/historysync.h"
#include "link/valueformat.h"
#include "views/historyform.h"

#include <QEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char PanelStyle[] = R"(
StartPanel { background-color: rgb(255, 255, 255); }
QLabel#startHintLabel { font-size: 18px; color: rgb(72, 85, 117); }
QLabel#startRecentLabel { font-weight: bold; color: rgb(72, 85, 117); }
QLabel#startDiagnosisLabel { color: rgb(160, 60, 20); }
QLabel#startDemoLabel, QLabel#startSyncLabel { color: rgb(102, 102, 102); }
QPushButton {
    color: rgb(255, 255, 255); border: none; border-radius: 3px; padding: 6px 18px;
    background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1,
        stop:0 rgba(72, 85, 117, 255), stop:1 rgba(98, 113, 137, 255));
}
QPushButton:pressed {
    background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1,
        stop:0 rgba(242, 148, 56, 255), stop:1 rgba(236, 101, 25, 255));
}
QListWidget { border: 1px solid rgb(220, 223, 230); }
QListWidget::item { padding: 4px; }
QListWidget::item:hover { background-color: rgb(236, 239, 245); }
)";

QLabel *plainLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText); // the ports' and the server's words as they are
    label->setWordWrap(true);
    return label;
}

} // namespace

StartPanel::StartPanel(QWidget *parent)
    : QWidget(parent)
    , hintLabel(plainLabel("startHintLabel", this))
    , connectBtn(new QPushButton(this))
    , diagnosisLabel(plainLabel("startDiagnosisLabel", this))
    , recentLabel(plainLabel("startRecentLabel", this))
    , recentList(new QListWidget(this))
    , syncLabel(plainLabel("startSyncLabel", this))
    , demoLabel(plainLabel("startDemoLabel", this))
{
    setObjectName(QStringLiteral("startPanel"));
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QLatin1String(PanelStyle));
    connectBtn->setObjectName(QStringLiteral("startConnectBtn"));
    connectBtn->setCursor(Qt::PointingHandCursor);
    recentList->setObjectName(QStringLiteral("startRecentList"));
    recentList->setMaximumHeight(RecentCount * 30);
    diagnosisLabel->hide();
    syncLabel->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 30, 40, 30);
    layout->setSpacing(12);
    layout->addWidget(hintLabel);
    layout->addWidget(connectBtn, 0, Qt::AlignLeft);
    layout->addWidget(diagnosisLabel);
    layout->addSpacing(12);
    layout->addWidget(recentLabel);
    layout->addWidget(recentList);
    layout->addWidget(syncLabel);
    layout->addStretch();
    layout->addWidget(demoLabel);

    connect(connectBtn, &QPushButton::clicked, this, &StartPanel::connectRequested);
    connect(recentList, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        const int row = recentList->row(item);
        if (row >= 0 && row < sessions.size())
            emit openRequested(sessions.at(row));
    });
    retranslate();
}

void StartPanel::setStore(HistoryStore *history)
{
    disconnect(syncConnection);
    store = history;
    if (store && store->sync())
        syncConnection = connect(store->sync(), &HistorySync::stateChanged, this, &StartPanel::updateSync);
    updateSync();
}

void StartPanel::setPortReports(const QList<PortDiagnosis::PortReport> &found)
{
    reports = found;
    retranslate();
}

void StartPanel::refresh()
{
    HistoryStore::SessionFilter recent;
    recent.limit = RecentCount;
    QString why;
    sessions = store ? store->sessionList(recent, &why) : QList<HistoryStore::SessionSummary>();
    recentList->clear();
    for (const HistoryStore::SessionSummary &session : sessions) {
        recentList->addItem(
            QStringLiteral("%1   %2   %3   %4")
                .arg(ValueFormat::dateTimeText(session.started, QStringLiteral("yyyy-MM-dd HH:mm")),
                     session.meterModel, HistoryForm::familyText(session.kind), QString::number(session.count)));
    }
    recentLabel->setVisible(!sessions.isEmpty());
    recentList->setVisible(!sessions.isEmpty());
    updateSync();
}

void StartPanel::updateSync()
{
    HistorySync *sync = store ? store->sync() : nullptr;
    syncLabel->setVisible(sync);
    if (sync)
        syncLabel->setText(tr("Team server: %1").arg(sync->stateText()));
}

void StartPanel::retranslate()
{
    hintLabel->setText(tr("Plug in the meter and press Connect."));
    connectBtn->setText(tr("Connect"));
    recentLabel->setText(tr("Recent sessions (one click opens one)"));
    demoLabel->setText(tr("No meter at hand? Try Lumisk with the simulated meter: run scripts/demo (or "
                          "lumisk-metersim) and press Connect."));
    QStringList lines;
    for (const PortDiagnosis::PortReport &report : reports)
        lines << PortDiagnosis::describe(report);
    if (!lines.isEmpty())
        lines.prepend(tr("The last scan found no meter. What each port showed:"));
    diagnosisLabel->setText(lines.join(QLatin1Char('\n')));
    diagnosisLabel->setVisible(!lines.isEmpty());
    updateSync();
}

void StartPanel::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // After the paint that shows the panel: the history may be large.
    QTimer::singleShot(0, this, &StartPanel::refresh);
}

void StartPanel::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void StartPanel::showIfAlone()
{
    for (QWidget *shown : parentWidget()->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (shown != this && !shown->isHidden())
            return;
    }
    show();
}
