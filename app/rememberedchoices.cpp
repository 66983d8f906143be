#include "app/rememberedchoices.h"

#include "domain/configuration.h"
#include "link/logging.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>

namespace {

const char GeometryKey[] = "Desktop/windowGeometry";
const char MaximizedKey[] = "Desktop/windowMaximized";
const char StateKey[] = "Desktop/windowState";
const char FolderKey[] = "Desktop/lastFolder";

QString settingsFile()
{
    return Configuration::instance()->settingsPath();
}

// A choice not remembered costs the user a click next time: it is logged,
// not put to them.
void written(QSettings &store)
{
    store.sync();
    if (store.status() != QSettings::NoError)
        qCWarning(lcApp) << "could not remember the window's choices in" << store.fileName();
}

} // namespace

namespace RememberedChoices {

QRect fitted(const QRect &remembered, const QRect &available)
{
    if (!remembered.isValid() || !available.isValid())
        return {};
    const QSize size = remembered.size().boundedTo(available.size());
    const int x = qBound(available.left(), remembered.x(), available.right() + 1 - size.width());
    const int y = qBound(available.top(), remembered.y(), available.bottom() + 1 - size.height());
    return {QPoint(x, y), size};
}

QString proposedFolder(const QString &remembered)
{
    const QStringList candidates{remembered, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                 QDir::homePath()};
    for (const QString &folder : candidates) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir())
            return folder;
    }
    return QDir::homePath();
}

QString lastFolder()
{
    return QSettings(settingsFile(), QSettings::IniFormat).value(QLatin1String(FolderKey)).toString();
}

void rememberFolder(const QString &folder)
{
    QSettings store(settingsFile(), QSettings::IniFormat);
    store.setValue(QLatin1String(FolderKey), folder);
    written(store);
}

void saveWindow(const QMainWindow *window)
{
    QSettings store(settingsFile(), QSettings::IniFormat);
    store.setValue(QLatin1String(GeometryKey), window->normalGeometry());
    store.setValue(QLatin1String(MaximizedKey), window->isMaximized());
    store.setValue(QLatin1String(StateKey), window->saveState());
    written(store);
}

bool restoreWindow(QMainWindow *window)
{
    const QSettings store(settingsFile(), QSettings::IniFormat);
    const QRect remembered = store.value(QLatin1String(GeometryKey)).toRect();
    if (!remembered.isValid())
        return false;
    // The screen it was on, or the main one when that screen has gone.
    QScreen *screen = QGuiApplication::screenAt(remembered.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return false;
    const QRect place = fitted(remembered, screen->availableGeometry());
    if (!place.isValid())
        return false;
    window->setGeometry(place);
    window->restoreState(store.value(QLatin1String(StateKey)).toByteArray());
    if (store.value(QLatin1String(MaximizedKey)).toBool())
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
    return true;
}

} // namespace RememberedChoices
