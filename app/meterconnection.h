#pragma once
// The connection to the meter as the window shows it: the connect button
// (opening and closing the port), the identified meter's model and the pages
// it offers, the choice among several meters, and the meter going away. A
// download or live run that lost the meter to a re-initialisation goes on
// once the meter is back, and only then; if it does not come back, the run
// ends. What runs on the pages is the window's: it hears about it through
// the signals.

#include "domain/pages.h"
#include "link/uart.h"

#include <QList>
#include <QObject>
#include <functional>

class ChartForm;
class QLabel;
class QPushButton;
struct DevDatas;

class MeterConnection : public QObject
{
    Q_OBJECT
public:
    struct Controls {
        QPushButton *connect;
        QLabel *device;
        QPushButton *chartButton;
        ChartForm *chart; // sampling is possible only with a meter
    };
    // pages: the window's page table (their buttons are enabled per meter,
    // their records go when a meter is connected);
    // meter: the identity the link fills in; portAlive: the port still works.
    MeterConnection(const Controls &controls, const QList<PageEntry> *pages, const DevDatas *meter,
                    std::function<bool()> portAlive, QObject *parent = nullptr);

    // The user wants the meter connected (from pressing connect until it is
    // closed, lost or not found).
    bool isRequested() const { return requested; }
    // The meter is still there: asked again after every question to the user,
    // since the link may have gone while the question was open.
    bool linkUp() const { return requested && portAlive(); }
    // A download or run waits for the meter to come back from a re-initialisation.
    void resumeOnReconnect() { resumeAfterReconnect = true; }

    // The connect button: opens when closed, closes when open.
    void toggle();
    // The port choice was closed without a port.
    void dropRequest() { requested = false; }
    // The link's answer to opening (or reopening) the port.
    void initDone(Uart::PortInitState state);
    // The port has closed.
    void closed();

signals:
    void opening();        // the port is about to be opened (the pages are empty)
    void closing();        // the port is to be closed
    void resumeFailed();   // the meter did not come back for the waiting download or run
    // A meter was chosen among several: the link is to open this port.
    void reinitRequested(const Uart::Settings &port);
    void identified();     // a meter answered, before it is shown
    void resumeDue();      // ...and the waiting download may go on
    void pageWithdrawn();  // the page shown is not one this meter offers
    void lost();           // the port has closed, before the controls say so

private:
    void enableOfferedPages();

    Controls ui;
    const QList<PageEntry> *pages;
    const DevDatas *meter;
    std::function<bool()> portAlive;
    bool requested = false;
    bool resumeAfterReconnect = false;
};
