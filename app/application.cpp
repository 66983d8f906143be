#include "app/application.h"

#include "domain/configuration.h"
#include "app/mainwindow.h"
#include "link/uartworker.h"

#include <QApplication>
#include <QFont>

namespace {
// Any exit code of the event loop other than this one rebuilds the main
// window under the translators then in force; a language change uses
// RestartCode.
constexpr int QuitCode = 0;
constexpr int RestartCode = 1;
} // namespace

void applyLanguageChoice(int language, bool restartNow)
{
    Configuration *configuration = Configuration::instance();
    configuration->setLanguage(language, restartNow);
    configuration->saveLanguage();
    if (!restartNow)
        return;
    // The new window must start unconnected, so the port is released first.
    UartWorker::instance()->setConnected(false);
    QCoreApplication::exit(RestartCode);
}

int runApplication(int &argc, char **argv, const std::function<void(MainWindow &)> &windowMade)
{
    QApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(lumisk);
    QApplication::setFont(QFont(QStringLiteral("Arial")));
    Configuration::registerHeavyFont();

    int code = QuitCode;
    do {
        Configuration::instance()->loadTranslators();
        MainWindow window;
        if (windowMade)
            windowMade(window);
        window.show();
        code = QApplication::exec();
    } while (code != QuitCode);
    return 0;
}
