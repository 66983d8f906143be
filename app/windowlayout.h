#pragma once
// Sizes of the main window: its opening size on the screen it opens on, and
// the heavy font of the page buttons, which grows with the buttons.

#include <QList>
#include <functional>

class QPushButton;
class QWidget;

namespace WindowLayout {
constexpr int MinimumWidth = 640;
constexpr int PageButtonPointSize = 8;

// Resizes a window to its opening size: a preferred size, but never more than
// most of the screen, and never less than the window already is.
void fitInitialSize(QWidget *window);
// The point size that fits buttons of this one's size.
int pageButtonPointSize(const QPushButton *button);
void applyPageButtonFont(const QList<QPushButton *> &buttons, int pointSize);
// Refits the font of `buttons` to `reference`'s size whenever the window or
// that button is resized. The window's own resize comes before its layout has
// sized the buttons; the button's resize brings the size the font is to fit.
void keepPageButtonFont(QWidget *window, QPushButton *reference, std::function<QList<QPushButton *>()> buttons);
} // namespace WindowLayout
