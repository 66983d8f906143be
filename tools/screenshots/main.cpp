// Pictures of the window for the user guide. Runs Lumisk's own start-up
// (settings, language, fonts) against the simulated meter named by
// LUMISK_SERIAL_PORTS, goes through the window by its widgets' object names as
// a user would, and saves what the screen shows at each stop as
// DIR/<screen>-<suffix>.png. scripts/screenshots runs it under Xvfb, once per
// language and screen size.
//
//   lumisk-screenshots --out DIR --suffix en-1366x768 [--screens connected,history]
//
// The tour always walks every stop in order (the history page lists what the
// downloads before it brought); --screens only picks which stops are saved.

#include "app/application.h"
#include "app/mainwindow.h"
#include "widgets/chartform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr int ConnectTimeoutMs = 15000;
constexpr int DownloadTimeoutMs = 60000;
constexpr int LiveTimeoutMs = 60000;
// Readings on the curve before its picture: 15 s at the window's 0.5 s.
constexpr int LiveReadings = 30;
// Time for the last repaints (the page button fonts follow the first resize).
constexpr int SettleMs = 400;
// The clock's first tick (it ticks every second).
constexpr int ClockTickMs = 2000;

struct Options {
    QString out;
    QString suffix;
    QStringList screens; // empty: all
};

bool failed = false;

void fail(const QString &message)
{
    std::fprintf(stderr, "lumisk-screenshots: %s\n", qPrintable(message));
    failed = true;
}

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void settle()
{
    waitFor([] { return false; }, SettleMs);
}

// A question on the way ("save the data first?") is answered No, as a user
// who only looks would; a message with only OK means something went wrong.
void answerModals()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    QPointer<QWidget> target(modal);
    auto *no = modal->findChild<QAbstractButton *>(QStringLiteral("noBtn"));
    if (no && no->isVisible()) {
        QTimer::singleShot(0, no, &QAbstractButton::click);
        return;
    }
    const auto *text = modal->findChild<QLabel *>(QStringLiteral("msgLabel"));
    fail(QStringLiteral("unexpected message: %1").arg(text ? text->text() : QString::fromLatin1(modal->metaObject()->className())));
    QTimer::singleShot(0, modal, [target] {
        if (target)
            target->close();
    });
}

class Tour
{
public:
    Tour(MainWindow &window, Options options) : window(window), options(std::move(options))
    {
        // The clock below the pages shows the form's placeholder until its
        // first tick, a second after the start.
        clock = window.findChild<QLabel *>(QStringLiteral("dateTimeLabel"));
        if (clock)
            clockPlaceholder = clock->text();
    }

    // One stop of the tour: what brings the window there, and the picture's
    // name. Add a screen here; scripts/screenshots picks up every picture.
    struct Stop {
        const char *screen; // nullptr: a step without a picture
        std::function<bool(Tour &)> prepare;
    };

    bool run(const std::vector<Stop> &stops)
    {
        for (const Stop &stop : stops) {
            if (!stop.prepare(*this))
                return false;
            if (stop.screen && !shoot(QString::fromLatin1(stop.screen)))
                return false;
        }
        return true;
    }

    bool click(const char *name)
    {
        auto *button = window.findChild<QPushButton *>(QString::fromLatin1(name));
        if (!button || !button->isEnabled()) {
            fail(QStringLiteral("no enabled button %1").arg(QString::fromLatin1(name)));
            return false;
        }
        button->click();
        return true;
    }

    bool connectMeter()
    {
        if (!click("connectBtn"))
            return false;
        auto *first = window.findChild<QPushButton *>(QStringLiteral("opmBtn"));
        return check(waitFor([first] { return first && first->isEnabled(); }, ConnectTimeoutMs),
                     QStringLiteral("the meter was not found (is LUMISK_SERIAL_PORTS set?)"));
    }

    bool download(const char *pageButton)
    {
        if (!click(pageButton) || !click("downloadBtn"))
            return false;
        return check(waitFor([this] { return !window.isImporting(); }, DownloadTimeoutMs),
                     QStringLiteral("the download did not end"));
    }

    bool openHistory()
    {
        if (!click("historyBtn"))
            return false;
        auto *table = window.findChild<QTableWidget *>(QStringLiteral("historyTable"));
        if (!check(table && waitFor([table] { return table->rowCount() > 0; }, DownloadTimeoutMs),
                   QStringLiteral("the history page lists no session")))
            return false;
        table->selectRow(0);
        return true;
    }

    bool liveRun()
    {
        auto *chart = window.findChild<ChartForm *>(QStringLiteral("chart"));
        if (!click("chartBtn") || !check(chart, QStringLiteral("no chart page")))
            return false;
        auto *play = chart->findChild<QPushButton *>(QStringLiteral("playBtn"));
        if (!check(play, QStringLiteral("no play button")))
            return false;
        play->click();
        return check(waitFor([chart] { return chart->sampleCount() >= LiveReadings; }, LiveTimeoutMs),
                     QStringLiteral("the live run brought no readings"));
    }

    // The live run paused, back to the single-wave page (whose records go
    // with the meter) and the meter disconnected: the start panel comes back.
    bool disconnectMeter()
    {
        auto *chart = window.findChild<ChartForm *>(QStringLiteral("chart"));
        auto *play = chart ? chart->findChild<QPushButton *>(QStringLiteral("playBtn")) : nullptr;
        if (play && play->isChecked())
            play->click();
        if (!waitFor([this] { return !window.isImporting(); }, LiveTimeoutMs) || !click("opmBtn")
            || !click("connectBtn"))
            return false;
        auto *start = window.findChild<QWidget *>(QStringLiteral("startPanel"));
        auto *recent = window.findChild<QWidget *>(QStringLiteral("startRecentList"));
        return check(start && recent && waitFor([start, recent] { return start->isVisible() && recent->isVisible(); },
                                                ConnectTimeoutMs),
                     QStringLiteral("the start panel did not come back with the recent sessions"));
    }

    bool searchHistory(const QString &text)
    {
        if (!click("historyBtn"))
            return false;
        auto *search = window.findChild<QLineEdit *>(QStringLiteral("historySearchEdit"));
        auto *table = window.findChild<QTableWidget *>(QStringLiteral("historyTable"));
        if (!check(search && table, QStringLiteral("no search field")))
            return false;
        const int all = table->rowCount();
        search->setText(text);
        if (!check(waitFor([table, all] { return table->rowCount() > 0 && table->rowCount() < all; },
                           DownloadTimeoutMs),
                   QStringLiteral("the search found nothing, or everything")))
            return false;
        table->selectRow(0);
        return true;
    }

private:
    static bool check(bool ok, const QString &message)
    {
        if (!ok)
            fail(message);
        return ok;
    }

    bool shoot(const QString &screen)
    {
        if (!options.screens.isEmpty() && !options.screens.contains(screen))
            return true;
        if (clock) {
            const QLabel *label = clock;
            const QString placeholder = clockPlaceholder;
            waitFor([label, placeholder] { return label->text() != placeholder; }, ClockTickMs);
        }
        settle();
        // What the screen shows where the window is, dialogs and pop-ups
        // above it included.
        const QRect area = window.frameGeometry();
        const QPixmap shot = window.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        const QString file = QDir(options.out).filePath(QStringLiteral("%1-%2.png").arg(screen, options.suffix));
        // Quality 0: the smallest PNG, no loss.
        if (shot.isNull() || !shot.save(file, "PNG", 0)) {
            fail(QStringLiteral("cannot write %1").arg(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    }

    MainWindow &window;
    Options options;
    const QLabel *clock = nullptr;
    QString clockPlaceholder;
};

bool parse(int argc, char **argv, Options *options)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString value = QString::fromLocal8Bit(argv[i + 1]);
        if (std::strcmp(argv[i], "--out") == 0)
            options->out = value;
        else if (std::strcmp(argv[i], "--suffix") == 0)
            options->suffix = value;
        else if (std::strcmp(argv[i], "--screens") == 0)
            options->screens = value.split(QLatin1Char(','), Qt::SkipEmptyParts);
        else
            return false;
    }
    return (argc % 2) == 1 && !options->out.isEmpty() && !options->suffix.isEmpty();
}

} // namespace

int main(int argc, char **argv)
{
    Options options;
    if (!parse(argc, argv, &options)) {
        std::fprintf(stderr, "usage: lumisk-screenshots --out DIR --suffix TEXT [--screens NAME,...]\n");
        return 2;
    }
    // The settings file of `lumisk` itself (the language, the technician).
    QCoreApplication::setApplicationName(QStringLiteral("lumisk"));
    int qtArgc = 1;
    const std::vector<Tour::Stop> stops = {
        {"first-start", [](Tour &) { return true; }},
        {"connected", [](Tour &t) { return t.connectMeter(); }},
        {"records", [](Tour &t) { return t.download("opmBtn"); }},
        {nullptr, [](Tour &t) { return t.download("multiWaveOpmBtn"); }},
        {"history", [](Tour &t) { return t.openHistory(); }},
        {"live", [](Tour &t) { return t.liveRun(); }},
        {"start", [](Tour &t) { return t.disconnectMeter(); }},
        {"history-search", [](Tour &t) { return t.searchHistory(QStringLiteral("REC-012")); }},
    };
    runApplication(qtArgc, argv, [&options, &stops](MainWindow &window) {
        QTimer::singleShot(0, &window, [&window, &options, &stops] {
            auto *modals = new QTimer(&window);
            QObject::connect(modals, &QTimer::timeout, &answerModals);
            modals->start(50);
            if (!Tour(window, options).run(stops))
                failed = true;
            // Closing ends the live run and asks about unsaved data (No).
            window.close();
            QCoreApplication::exit(0);
        });
    });
    return failed ? 1 : 0;
}
