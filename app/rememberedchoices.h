#pragma once
// What the window remembers between runs, in a section of its own in the
// settings file: its place, size and state, and the folder last used for a
// report or an export. What is read back is checked against today's
// screens and folders: a window always opens on a screen, and the folder
// proposed always exists.

#include <QRect>
#include <QString>

class QMainWindow;

namespace RememberedChoices {

// The remembered geometry moved and shrunk as little as needed to lie
// within `available`; a null rectangle when there is nothing usable.
QRect fitted(const QRect &remembered, const QRect &available);
// The folder to propose: the remembered one while it exists, else the
// Documents folder, else the home folder.
QString proposedFolder(const QString &remembered);

QString lastFolder();
void rememberFolder(const QString &folder);

void saveWindow(const QMainWindow *window);
// Puts the window where it was (within the screen it opens on); false when
// nothing was remembered, and the window keeps its opening size.
bool restoreWindow(QMainWindow *window);

} // namespace RememberedChoices
