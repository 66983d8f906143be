#pragma once
// The application's whole run: the Qt application object, the resources and
// fonts, then the main window until the user quits (rebuilt after a change of
// language). `lumisk` is this and nothing else; the start-up benchmark runs
// the same code and watches the window it makes.

#include <functional>

class MainWindow;

// `windowMade` sees every main window once it is made, before it is shown.
int runApplication(int &argc, char **argv, const std::function<void(MainWindow &)> &windowMade = {});

// Stores the language chosen in the language dialog. With restartNow the
// link lets go of the meter and the running window ends, to be rebuilt in
// that language (unconnected).
void applyLanguageChoice(int language, bool restartNow);
