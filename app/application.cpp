#include "app/application.h"

#include "domain/configuration.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QFont>

namespace {
// Any exit code of the event loop other than this one rebuilds the main
// window under the translators then in force (the language dialog uses 1).
constexpr int QuitCode = 0;
} // namespace

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
