#pragma once
// The history page: the sessions of the measurement history, newest first,
// filtered by meter, by day and by a record's name or number; a session is
// opened (button, double-click or Enter) into the page of its records or
// deleted after a question. With a team server it shows the
// sync's state and lists either this PC's sessions or every technician's
// from the server (those are listed only). A history that cannot be read
// says so above the list, which stays empty.

#include "history/historystore.h"

#include <QList>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QTimer;
class QPushButton;
class QTableWidget;

class HistoryForm : public QWidget
{
    Q_OBJECT
public:
    // The interval is a live run's; the duration is every session's length.
    enum Column {
        DateColumn,
        MeterColumn,
        FamilyColumn,
        CountColumn,
        DurationColumn,
        TechnicianColumn,
        IntervalColumn,
        ColumnCount
    };

    explicit HistoryForm(QWidget *parent = nullptr);

    // The store listed; null lists nothing.
    void setStore(HistoryStore *store);
    // Reads the sessions again (the page does so whenever it is shown); from
    // the server the list follows when the server answers.
    void refresh();
    // Whether the list shows every technician's sessions from the server.
    bool listsServer() const;
    // The sessions listed, in table order.
    const QList<HistoryStore::SessionSummary> &sessions() const { return shown; }
    // The kind as the page shows it.
    static QString familyText(const QString &kind);
    // A live run's interval as the page shows it; empty for other sessions.
    static QString intervalText(const HistoryStore::SessionSummary &session);

signals:
    void openRequested(const HistoryStore::SessionSummary &session);
    // The selected session as a CSV file.
    void exportCsvRequested(const HistoryStore::SessionSummary &session);
    void exportPdfRequested(const HistoryStore::SessionSummary &session);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
    void fillMeters(const QStringList &models);
    void fillTable();
    // The reason a read of this PC's history failed; empty hides it.
    void showReadError(const QString &why);
    void updateSync();
    void serverListed(const QList<HistoryStore::SessionSummary> &sessions, const QString &error);
    const HistoryStore::SessionSummary *selected() const;
    void openSelected();
    void deleteSelected();
    void exportSelected(bool pdf);

    HistoryStore *store = nullptr;
    QList<HistoryStore::SessionSummary> shown;
    QString serverError;
    QList<QMetaObject::Connection> syncConnections;
    QComboBox *sourceCombo;
    QComboBox *meterCombo;
    QDateEdit *fromEdit;
    QDateEdit *toEdit;
    QLineEdit *searchEdit;
    QTimer *searchDelay; // a list read once the typing pauses, not at each key
    QTableWidget *table;
    QPushButton *openBtn;
    QPushButton *deleteBtn;
    QPushButton *exportCsvBtn;
    QPushButton *exportPdfBtn;
    QLabel *syncLabel;
    QLabel *readErrorLabel;
};
