#include "views/historyform.h"

#include "dialogs/messagedialog.h"
#include "history/historysync.h"
#include "link/valueformat.h"

#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The earliest day a filter offers; at it the filter has no bound.
const QDate NoBound(2000, 1, 1);
// A pause in typing long enough to read the list again.
constexpr int SearchDelayMs = 250;

// The page in the window's colours: its buttons as the dialogs' buttons, its
// table's header as the record pages' header.
const char PageStyle[] = R"(
HistoryForm { background-color: rgb(255, 255, 255); }
QPushButton {
    color: rgb(255, 255, 255); border: none; border-radius: 3px; padding: 4px 12px;
    background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1,
        stop:0 rgba(72, 85, 117, 255), stop:1 rgba(98, 113, 137, 255));
}
QPushButton:pressed {
    background-color: qlineargradient(spread:pad, x1:0, y1:0, x2:0, y2:1,
        stop:0 rgba(242, 148, 56, 255), stop:1 rgba(236, 101, 25, 255));
}
QPushButton:disabled { background-color: rgb(190, 195, 205); }
QHeaderView::section {
    background-color: rgb(72, 85, 117); color: rgb(255, 255, 255); border: none;
    border-right: 1px solid rgb(98, 113, 137); padding: 4px;
}
QTableWidget { gridline-color: rgb(220, 223, 230); selection-background-color: rgb(236, 101, 25); }
QLineEdit, QComboBox, QDateEdit { min-height: 22px; }
)";

} // namespace

// How far apart a live run's readings came: its length over its gaps (the
// history keeps when the run began and ended, not the interval chosen, so
// a pause in the run lengthens it: "about"). Empty for any other session,
// or a run too short to tell.
QString HistoryForm::intervalText(const HistoryStore::SessionSummary &session)
{
    if (History::pageOf(session.kind) != PageType::Chart || session.count < 2 || !session.ended.isValid())
        return QString();
    const qint64 ms = qMax<qint64>(0, session.started.msecsTo(session.ended));
    const double seconds = double(ms) / 1000.0 / (session.count - 1);
    return tr("about every %1 s").arg(seconds, 0, 'g', 3);
}

namespace {

QString durationText(const HistoryStore::SessionSummary &session)
{
    if (!session.ended.isValid())
        return HistoryForm::tr("unfinished");
    const qint64 seconds = qMax<qint64>(0, session.started.secsTo(session.ended));
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QDateEdit *dayFilter(QWidget *parent)
{
    auto *edit = new QDateEdit(parent);
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setMinimumDate(NoBound);
    edit->setDate(NoBound);
    return edit;
}

} // namespace

HistoryForm::HistoryForm(QWidget *parent)
    : QWidget(parent)
    , sourceCombo(new QComboBox(this))
    , meterCombo(new QComboBox(this))
    , fromEdit(dayFilter(this))
    , toEdit(dayFilter(this))
    , searchEdit(new QLineEdit(this))
    , searchDelay(new QTimer(this))
    , table(new QTableWidget(0, ColumnCount, this))
    , openBtn(new QPushButton(this))
    , deleteBtn(new QPushButton(this))
    , exportCsvBtn(new QPushButton(this))
    , exportPdfBtn(new QPushButton(this))
    , syncLabel(new QLabel(this))
    , readErrorLabel(new QLabel(this))
{
    sourceCombo->setObjectName(QStringLiteral("historySourceCombo"));
    syncLabel->setObjectName(QStringLiteral("historySyncLabel"));
    sourceCombo->addItems({QString(), QString()});
    sourceCombo->hide();
    syncLabel->hide();
    readErrorLabel->setObjectName(QStringLiteral("historyReadErrorLabel"));
    // The database's words: plain text, whatever they hold.
    readErrorLabel->setTextFormat(Qt::PlainText);
    readErrorLabel->setWordWrap(true);
    readErrorLabel->hide();
    meterCombo->setObjectName(QStringLiteral("historyMeterCombo"));
    fromEdit->setObjectName(QStringLiteral("historyFromEdit"));
    toEdit->setObjectName(QStringLiteral("historyToEdit"));
    searchEdit->setObjectName(QStringLiteral("historySearchEdit"));
    searchEdit->setClearButtonEnabled(true);
    searchDelay->setSingleShot(true);
    searchDelay->setInterval(SearchDelayMs);
    table->setObjectName(QStringLiteral("historyTable"));
    openBtn->setObjectName(QStringLiteral("historyOpenBtn"));
    deleteBtn->setObjectName(QStringLiteral("historyDeleteBtn"));
    exportCsvBtn->setObjectName(QStringLiteral("historyExportCsvBtn"));
    exportPdfBtn->setObjectName(QStringLiteral("historyExportPdfBtn"));

    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->hide();
    table->installEventFilter(this);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(QLatin1String(PageStyle));
    // Every column as wide as its texts, the meter's model takes what is left.
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    auto *filters = new QHBoxLayout;
    filters->addWidget(sourceCombo);
    filters->addWidget(meterCombo, 1);
    filters->addWidget(fromEdit);
    filters->addWidget(new QLabel(QStringLiteral("–"), this));
    filters->addWidget(toEdit);
    filters->addStretch();
    filters->addWidget(openBtn);
    filters->addWidget(deleteBtn);
    filters->addWidget(exportCsvBtn);
    filters->addWidget(exportPdfBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(searchEdit);
    layout->addWidget(readErrorLabel);
    layout->addWidget(table);
    layout->addWidget(syncLabel);

    connect(sourceCombo, QOverload<int>::of(&QComboBox::activated), this, &HistoryForm::refresh);
    connect(meterCombo, QOverload<int>::of(&QComboBox::activated), this, &HistoryForm::refresh);
    connect(fromEdit, &QDateEdit::dateChanged, this, &HistoryForm::refresh);
    connect(toEdit, &QDateEdit::dateChanged, this, &HistoryForm::refresh);
    connect(searchEdit, &QLineEdit::textChanged, searchDelay, QOverload<>::of(&QTimer::start));
    connect(searchEdit, &QLineEdit::returnPressed, this, &HistoryForm::refresh);
    connect(searchDelay, &QTimer::timeout, this, &HistoryForm::refresh);
    auto *find = new QShortcut(QKeySequence::Find, this);
    find->setContext(Qt::WidgetWithChildrenShortcut);
    connect(find, &QShortcut::activated, searchEdit, [this]() { searchEdit->setFocus(Qt::ShortcutFocusReason); });
    connect(table, &QTableWidget::cellDoubleClicked, this, &HistoryForm::openSelected);
    connect(openBtn, &QPushButton::clicked, this, &HistoryForm::openSelected);
    connect(deleteBtn, &QPushButton::clicked, this, &HistoryForm::deleteSelected);
    connect(exportCsvBtn, &QPushButton::clicked, this, [this]() { exportSelected(false); });
    connect(exportPdfBtn, &QPushButton::clicked, this, [this]() { exportSelected(true); });
    retranslate();
}

void HistoryForm::setStore(HistoryStore *history)
{
    for (const QMetaObject::Connection &connection : syncConnections)
        disconnect(connection);
    syncConnections.clear();
    store = history;
    HistorySync *sync = store ? store->sync() : nullptr;
    if (sync) {
        syncConnections << connect(sync, &HistorySync::stateChanged, this, &HistoryForm::updateSync)
                        << connect(sync, &HistorySync::sessionsListed, this, &HistoryForm::serverListed);
    } else {
        sourceCombo->setCurrentIndex(0);
    }
    sourceCombo->setVisible(sync);
    syncLabel->setVisible(sync);
    // A hidden page reads the sessions when it is shown: a year's history
    // is not read while the window starts.
    if (isVisible())
        refresh();
}

bool HistoryForm::listsServer() const
{
    return store && store->sync() && sourceCombo->currentIndex() == 1;
}

void HistoryForm::updateSync()
{
    if (!store || !store->sync())
        return;
    QString text = store->sync()->stateText();
    if (listsServer() && !serverError.isEmpty())
        text += QLatin1Char('\n') + tr("The team server's sessions cannot be listed: %1").arg(serverError);
    syncLabel->setText(text);
}

QString HistoryForm::familyText(const QString &kind)
{
    switch (History::pageOf(kind)) {
    case PageType::Opm:
        return tr("Single wavelength");
    case PageType::MultiWave:
        return tr("Multi-wavelength");
    case PageType::Partial:
        return tr("Partial wavelength");
    case PageType::Pon:
        return tr("PON");
    case PageType::XGPon:
        return tr("XG-PON");
    case PageType::Chart:
        return tr("Live run");
    default:
        return kind;
    }
}

void HistoryForm::retranslate()
{
    table->setHorizontalHeaderLabels(
        {tr("Date"), tr("Meter"), tr("Family"), tr("Records or readings"), tr("Duration"), tr("Technician"),
         tr("Interval")});
    fromEdit->setSpecialValueText(tr("From any day"));
    toEdit->setSpecialValueText(tr("To any day"));
    searchEdit->setPlaceholderText(tr("Find a record by name or number"));
    searchEdit->setToolTip(tr("Sessions with a record of this name or number, as the meter labels it"));
    searchEdit->setAccessibleName(tr("Find a record by name or number"));
    sourceCombo->setItemText(0, tr("This PC"));
    sourceCombo->setItemText(1, tr("All technicians (team server)"));
    updateSync();
    openBtn->setText(tr("Open"));
    deleteBtn->setText(tr("Delete"));
    exportCsvBtn->setText(tr("Export CSV…"));
    exportPdfBtn->setText(tr("Export PDF report…"));
    if (meterCombo->count() > 0)
        meterCombo->setItemText(0, tr("All meters"));
    else
        meterCombo->addItem(tr("All meters"));
    for (int row = 0; row < shown.size(); ++row) {
        if (QTableWidgetItem *item = table->item(row, FamilyColumn))
            item->setText(familyText(shown.at(row).kind));
        if (QTableWidgetItem *item = table->item(row, IntervalColumn))
            item->setText(intervalText(shown.at(row)));
        if (QTableWidgetItem *item = table->item(row, DurationColumn))
            item->setText(durationText(shown.at(row)));
    }
}

void HistoryForm::fillMeters(const QStringList &models)
{
    const QString chosen = meterCombo->currentIndex() > 0 ? meterCombo->currentText() : QString();
    const QSignalBlocker blocker(meterCombo);
    while (meterCombo->count() > 1)
        meterCombo->removeItem(1);
    meterCombo->addItems(models);
    const int index = chosen.isEmpty() ? 0 : meterCombo->findText(chosen);
    meterCombo->setCurrentIndex(qMax(0, index));
}

void HistoryForm::refresh()
{
    searchDelay->stop();
    // The server lists sessions, not their records: the search is this PC's.
    searchEdit->setEnabled(!listsServer());
    if (listsServer()) {
        // The sync's thread asks the server; serverListed() fills the table.
        store->sync()->requestSessions();
        return;
    }
    QString modelsWhy;
    fillMeters(store ? store->meterModels(&modelsWhy) : QStringList());
    const QString meter = meterCombo->currentIndex() > 0 ? meterCombo->currentText() : QString();
    // Whole days of this PC's clock, both included.
    HistoryStore::SessionFilter filter;
    filter.meter = meter;
    if (fromEdit->date() != NoBound)
        filter.from = QDateTime(fromEdit->date(), QTime(0, 0));
    if (toEdit->date() != NoBound)
        filter.to = QDateTime(toEdit->date().addDays(1), QTime(0, 0)).addMSecs(-1);
    filter.search = searchEdit->text().trimmed();
    QString listWhy;
    shown = store ? store->sessionList(filter, &listWhy) : QList<HistoryStore::SessionSummary>();
    showReadError(listWhy.isEmpty() ? modelsWhy : listWhy);
    fillTable();
}

void HistoryForm::showReadError(const QString &why)
{
    readErrorLabel->setText(why);
    readErrorLabel->setVisible(!why.isEmpty());
}

void HistoryForm::serverListed(const QList<HistoryStore::SessionSummary> &sessions, const QString &error)
{
    if (!listsServer())
        return;
    // The server's failures are said with its state.
    showReadError(QString());
    serverError = error;
    updateSync();
    QStringList models;
    for (const HistoryStore::SessionSummary &session : sessions) {
        if (!models.contains(session.meterModel))
            models << session.meterModel;
    }
    models.sort();
    fillMeters(models);
    const QString meter = meterCombo->currentIndex() > 0 ? meterCombo->currentText() : QString();
    const QDate from = fromEdit->date() == NoBound ? QDate() : fromEdit->date();
    const QDate to = toEdit->date() == NoBound ? QDate() : toEdit->date();
    shown.clear();
    for (const HistoryStore::SessionSummary &session : sessions) {
        const QDate day = session.started.date();
        if ((meter.isEmpty() || session.meterModel == meter) && (!from.isValid() || day >= from)
            && (!to.isValid() || day <= to))
            shown << session;
    }
    fillTable();
}

void HistoryForm::fillTable()
{
    const bool server = listsServer();
    table->clearContents();
    table->setRowCount(shown.size());
    for (int row = 0; row < shown.size(); ++row) {
        const HistoryStore::SessionSummary &session = shown.at(row);
        // From the server, where the session was measured tells technicians apart.
        const QString who = server && !session.host.isEmpty()
            ? QStringLiteral("%1 (%2)").arg(session.technician, session.host)
            : session.technician;
        const QStringList cells = {ValueFormat::dateTimeText(session.started, QStringLiteral("yyyy-MM-dd HH:mm")),
                                   session.meterModel,
                                   familyText(session.kind),
                                   QString::number(session.count),
                                   durationText(session),
                                   who,
                                   intervalText(session)};
        for (int column = 0; column < ColumnCount; ++column)
            table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    const bool any = !shown.isEmpty();
    openBtn->setEnabled(any && !server);
    deleteBtn->setEnabled(any && !server && store && !store->isReadOnly());
    // Only this PC's sessions have their readings at hand.
    exportCsvBtn->setEnabled(any && !server);
    exportPdfBtn->setEnabled(any && !server);
}

const HistoryStore::SessionSummary *HistoryForm::selected() const
{
    const int row = table->currentRow();
    return (row >= 0 && row < shown.size()) ? &shown.at(row) : nullptr;
}

void HistoryForm::openSelected()
{
    if (listsServer())
        return;
    if (const HistoryStore::SessionSummary *session = selected())
        emit openRequested(*session);
}

void HistoryForm::exportSelected(bool pdf)
{
    if (listsServer())
        return;
    if (const HistoryStore::SessionSummary *session = selected()) {
        if (pdf)
            emit exportPdfRequested(*session);
        else
            emit exportCsvRequested(*session);
    }
}

void HistoryForm::deleteSelected()
{
    const HistoryStore::SessionSummary *session = selected();
    if (!session || !store || listsServer())
        return;
    const qint64 id = session->id;
    if (question(tr("Delete the session of %1 from the history?")
                     .arg(ValueFormat::dateTimeText(session->started, QStringLiteral("yyyy-MM-dd HH:mm"))))
        != 1)
        return;
    QString why;
    if (!store->deleteSession(id, &why))
        showMessage(why.isEmpty() ? tr("The session could not be deleted.")
                                  : tr("The session could not be deleted.") + QLatin1Char('\n') + why);
    refresh();
}

bool HistoryForm::eventFilter(QObject *watched, QEvent *event)
{
    // Enter opens the session chosen, as a double-click does.
    if (watched == table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    refresh();
}

void HistoryForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}
