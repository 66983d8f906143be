#pragma once
// Driving the whole main window against a simulated meter: start the meter,
// build a window, connect, look widgets up by object name, answer the modal
// boxes that come up, and read a saved report back.

#include "app/mainwindow.h"
#include "testregistry.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace e2e {

inline void prepareProcess()
{
    // Never the user's own settings file; translations from the build tree.
    QStandardPaths::setTestModeEnabled(true);
    QDir::setCurrent(QStringLiteral(LUMISK_BUILD_DIR));
}

template<typename T = QWidget>
T *widget(QWidget *window, const char *name)
{
    return window->findChild<T *>(QString::fromLatin1(name));
}

inline QPushButton *button(QWidget *window, const char *name)
{
    return widget<QPushButton>(window, name);
}

// Modal boxes are answered with testsupport's helpers, which fail the test
// when the box does not come up or lacks the button.
using testsupport::answerMessage;
using testsupport::clickButton;
using testsupport::onNextModal;

inline bool isConnected(MainWindow *window)
{
    return button(window, "connectBtn")->isEnabled()
        && widget<QLabel>(window, "deviceLabel")->text() != MainWindow::tr("No connection");
}

// Presses connect and waits for the meter to be identified.
inline bool connectWindow(MainWindow *window, int timeoutMs = 10000)
{
    button(window, "connectBtn")->click();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < timeoutMs) {
        QTest::qWait(10);
        if (isConnected(window))
            return true;
    }
    return false;
}

// Record numbers the meter was asked for with this command (hex, e.g. "06").
inline QList<int> requestedRecords(const testsupport::MeterSim &sim, const QString &command)
{
    QList<int> numbers;
    for (const QString &line : sim.logLines()) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() >= 3 && fields.at(1) == command)
            numbers << fields.at(2).toInt();
    }
    return numbers;
}

inline int requestCount(const testsupport::MeterSim &sim, const QString &command)
{
    int count = 0;
    for (const QString &line : sim.logLines()) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() >= 2 && fields.at(1) == command)
            ++count;
    }
    return count;
}

// Columns A and B (number and name) of the data rows of a saved report.
inline bool readReport(const QString &file, QStringList *numbers, QStringList *names, QString *error)
{
    QString output;
    const int code = testsupport::runPython(QStringLiteral("e2e/report_columns.py"), {file}, &output);
    if (code != 0) {
        *error = output;
        return false;
    }
    const QJsonArray rows = QJsonDocument::fromJson(output.toUtf8()).array();
    for (const auto &row : rows) {
        const QJsonArray cells = row.toArray();
        *numbers << cells.at(0).toString();
        *names << cells.at(1).toString();
    }
    return true;
}

} // namespace e2e
