#pragma once
// The window's keyboard: one action per command a technician repeats
// (connect, download, save, export, history, the live run), each with its
// keys, and the tooltip and accessible name of the icon-only button it
// stands for, its keys shown in the tooltip. The action presses the button
// as a click would, and only when the button is there to be pressed.

#include <QCoreApplication>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <functional>

class QAbstractButton;
class QAction;
class QWidget;

class WindowKeys : public QObject
{
    Q_OBJECT
public:
    struct Key {
        const char *actionName; // the action's object name
        QKeySequence keys;
        const char *tip;        // untranslated, context WindowKeys
        QAbstractButton *button; // the icon button it stands for; may be null
        std::function<void()> trigger; // null: click the button when it is shown and enabled
    };

    // An icon-only button without keys of its own.
    struct Tip {
        QAbstractButton *button;
        const char *tip;
    };

    WindowKeys(QWidget *window, const QList<Key> &keys, const QList<Tip> &tips);

    // The main window's commands: its buttons (the chart's are found in it by
    // name) and the two exports, which have no button of their own there.
    struct WindowButtons {
        QAbstractButton *connect;
        QAbstractButton *download;
        QAbstractButton *save;
        QAbstractButton *history;
        QAbstractButton *menu;
        QWidget *chart;
        std::function<void()> exportCsv;
        std::function<void()> exportPdf;
    };
    static WindowKeys *forWindow(QWidget *window, const WindowButtons &buttons);

    // Texts in the language now loaded.
    void retranslate();
    // The tooltip of a command: its words and, when it has keys, the keys.
    static QString tipText(const QString &words, const QKeySequence &keys);
    // Shows the keys of a command on another button that does the same (the menu's entries).
    void describe(QAbstractButton *button, const char *actionName) const;
    // Clicks the button when the user could: shown and enabled.
    static void clickIfShown(QAbstractButton *button);

private:
    QList<Key> keys;
    QList<Tip> tips;
    QList<QAction *> actions;
};
