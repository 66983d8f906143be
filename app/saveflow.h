#pragma once
// Keeping what was collected: whether the pages hold data nobody saved yet,
// the question before that data goes (a new download, another page, the
// meter unplugged, closing), the folder a report goes into, and the save
// button. What is saved is the page shown; the window says which.

#include <QObject>
#include <QString>
#include <functional>

class SaveFlow : public QObject
{
    Q_OBJECT
public:
    // Asks for the folder a report goes into; an empty answer means
    // cancelled. A null chooser means the file dialog.
    using DirectoryChooser = std::function<QString()>;
    static void setDirectoryChooser(DirectoryChooser chooser);

    // busy: a download or live run is going (nothing is saved meanwhile);
    // saveShown: writes the report of the page shown into a folder.
    SaveFlow(std::function<bool()> busy, std::function<void(const QString &)> saveShown,
             QObject *parent = nullptr);

    bool hasUnsaved() const { return unsaved; }
    // New data arrives (a download or run starts)...
    void markUnsaved() { unsaved = true; }
    // ...or what is shown needs no saving (saved, cleared, or read back from
    // the history).
    void markSaved() { unsaved = false; }
    // The last question was skipped because the user asked not to be asked.
    bool isPromptOff() const { return noPromptCopy; }

    // Before unsaved data goes: offers to save it first (unless the user
    // ticked "No longer prompt"). Afterwards nothing counts as unsaved. True
    // when the question was put, since the world may have changed meanwhile.
    bool askToSave();
    // The save button: the folder, then the report. Nothing while busy or
    // when the folder was not chosen.
    void save();

    static QString chooseDirectory();

private:
    std::function<bool()> busy;
    std::function<void(const QString &)> saveShown;
    bool unsaved = false;
    bool noPromptCopy = false;
};
