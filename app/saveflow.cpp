#include "app/saveflow.h"

#include "app/rememberedchoices.h"
#include "dialogs/messagedialog.h"
#include "link/logging.h"

#include <QCoreApplication>
#include <QFileDialog>

namespace {
SaveFlow::DirectoryChooser &chooser()
{
    static SaveFlow::DirectoryChooser instance;
    return instance;
}
} // namespace

void SaveFlow::setDirectoryChooser(DirectoryChooser chooser)
{
    ::chooser() = std::move(chooser);
}

SaveFlow::SaveFlow(std::function<bool()> busy, std::function<void(const QString &)> saveShown, QObject *parent)
    : QObject(parent), busy(std::move(busy)), saveShown(std::move(saveShown))
{
}

QString SaveFlow::chooseDirectory()
{
    if (::chooser())
        return ::chooser()();
    // The folder used last time, while it exists; else one that does.
    const QString dir = QFileDialog::getExistingDirectory(
        nullptr, QCoreApplication::translate("MainWindow", "Save file"),
        RememberedChoices::proposedFolder(RememberedChoices::lastFolder()), QFileDialog::ShowDirsOnly);
    if (!dir.isEmpty())
        RememberedChoices::rememberFolder(dir);
    return dir;
}

bool SaveFlow::askToSave()
{
    bool asked = false;
    if (unsaved) {
        noPromptCopy = noLongerPrompt;
        if (noPromptCopy) {
            qCDebug(lcApp) << "show out!";
        } else {
            asked = true;
            const QString text = QCoreApplication::translate(
                "MainWindow", "Data has not been saved.\nDo you want to save the data first?");
            // A download or run that began while the question was open keeps
            // its data: nothing is saved under it.
            if (questionWithOption(text, true) == 1 && !busy()) {
                const QString dir = chooseDirectory();
                if (!dir.isEmpty())
                    saveShown(dir);
            }
        }
    }
    unsaved = false;
    return asked;
}

void SaveFlow::save()
{
    if (busy())
        return;
    const QString dir = chooseDirectory();
    if (dir.isEmpty())
        return;
    saveShown(dir);
    unsaved = false;
}
