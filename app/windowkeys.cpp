#include "app/windowkeys.h"

#include <QAbstractButton>
#include <QAction>
#include <QWidget>

WindowKeys::WindowKeys(QWidget *window, const QList<Key> &keyList, const QList<Tip> &tipList)
    : QObject(window), keys(keyList), tips(tipList)
{
    for (const Key &key : keys) {
        auto *action = new QAction(window);
        action->setObjectName(QLatin1String(key.actionName));
        action->setShortcut(key.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        std::function<void()> trigger = key.trigger;
        QAbstractButton *button = key.button;
        connect(action, &QAction::triggered, this, [trigger, button]() {
            if (trigger)
                trigger();
            else
                clickIfShown(button);
        });
        window->addAction(action);
        actions << action;
    }
    retranslate();
}

QString WindowKeys::tipText(const QString &words, const QKeySequence &keys)
{
    if (keys.isEmpty())
        return words;
    return QStringLiteral("%1 (%2)").arg(words, keys.toString(QKeySequence::NativeText));
}

void WindowKeys::retranslate()
{
    for (int i = 0; i < keys.size(); ++i) {
        const QString words = QCoreApplication::translate("WindowKeys", keys.at(i).tip);
        actions.at(i)->setText(words);
        actions.at(i)->setToolTip(tipText(words, keys.at(i).keys));
        if (QAbstractButton *button = keys.at(i).button) {
            button->setToolTip(tipText(words, keys.at(i).keys));
            // A button with words of its own is read by them.
            if (button->text().isEmpty())
                button->setAccessibleName(words);
        }
    }
    for (const Tip &tip : tips) {
        if (!tip.button)
            continue;
        const QString words = QCoreApplication::translate("WindowKeys", tip.tip);
        tip.button->setToolTip(words);
        tip.button->setAccessibleName(words);
    }
}

void WindowKeys::describe(QAbstractButton *button, const char *actionName) const
{
    for (QAction *action : actions) {
        if (button && action->objectName() == QLatin1String(actionName))
            button->setToolTip(action->toolTip());
    }
}

void WindowKeys::clickIfShown(QAbstractButton *button)
{
    if (button && button->isVisible() && button->isEnabled())
        button->click();
}

WindowKeys *WindowKeys::forWindow(QWidget *window, const WindowButtons &buttons)
{
    auto chartButton = [&buttons](const char *name) {
        return buttons.chart->findChild<QAbstractButton *>(QLatin1String(name));
    };
    return new WindowKeys(
        window,
        {
            {"connectAction", QKeySequence(Qt::CTRL + Qt::Key_K),
             QT_TRANSLATE_NOOP("WindowKeys", "Connect to the meter, or disconnect"), buttons.connect, {}},
            {"downloadAction", QKeySequence(Qt::CTRL + Qt::Key_D),
             QT_TRANSLATE_NOOP("WindowKeys", "Download the meter's records"), buttons.download, {}},
            {"saveAction", QKeySequence(QKeySequence::Save), QT_TRANSLATE_NOOP("WindowKeys", "Save the report"),
             buttons.save, {}},
            {"exportCsvAction", QKeySequence(Qt::CTRL + Qt::Key_E), QT_TRANSLATE_NOOP("WindowKeys", "Export CSV"),
             nullptr, buttons.exportCsv},
            {"exportPdfAction", QKeySequence(QKeySequence::Print), QT_TRANSLATE_NOOP("WindowKeys", "Export PDF"),
             nullptr, buttons.exportPdf},
            {"historyAction", QKeySequence(Qt::CTRL + Qt::Key_H),
             QT_TRANSLATE_NOOP("WindowKeys", "Show the measurement history"), buttons.history, {}},
            {"liveRunAction", QKeySequence(Qt::CTRL + Qt::Key_R),
             QT_TRANSLATE_NOOP("WindowKeys", "Start or pause the live run"), chartButton("playBtn"), {}},
        },
        {
            {buttons.menu, QT_TRANSLATE_NOOP("WindowKeys", "Menu")},
            {chartButton("cleanBtn"), QT_TRANSLATE_NOOP("WindowKeys", "Clear the curve")},
            {chartButton("resetBtn"), QT_TRANSLATE_NOOP("WindowKeys", "Fit the curve to the window again")},
        });
}
