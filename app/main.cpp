// Lumisk: desktop companion for handheld optical power meters.

#include "app/configuration.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <QFont>

namespace {
// Any exit code of the event loop other than this one rebuilds the main
// window under the translators then in force (the language dialog uses 1).
constexpr int QuitCode = 0;
} // namespace

int main(int argc, char *argv[])
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
        window.show();
        code = QApplication::exec();
    } while (code != QuitCode);
    return 0;
}
