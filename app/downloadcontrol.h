#pragma once
// The download button of a record page and what goes with it: the question
// before unsaved records go, the question before a download is stopped, the
// progress bar, and the menu and save buttons, which wait while a download
// runs. The download itself is the session's.

#include "domain/pages.h"

#include <QObject>
#include <functional>

class DownloadSession;
class QProgressBar;
class QPushButton;
class SaveFlow;

class DownloadControl : public QObject
{
    Q_OBJECT
public:
    struct Controls {
        QPushButton *download;
        QPushButton *save;
        QPushButton *menu;
        QProgressBar *progress;
    };
    struct Parts {
        DownloadSession *session;
        SaveFlow *saves;
        std::function<const PageEntry &()> shownPage;
        std::function<bool()> busy;   // a download or live run goes
        std::function<bool()> linkUp; // the meter is still there
    };
    DownloadControl(const Controls &controls, const Parts &parts, QObject *parent = nullptr);

    // The download button pressed (checked) or released.
    void clicked(bool checked);
    // The download ends, whatever ended it.
    void finish();

signals:
    // A download has ended: the page's frame may still be out with the worker.
    void finished();

private:
    Controls ui;
    Parts parts;
};
