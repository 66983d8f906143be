#pragma once
// The interface through which the main window drives every record page while
// records are downloaded: the page owns the frame the link fills with the next
// record, says which record number comes next, takes the parsed record and
// empties itself when a meter is connected.

#include <QList>
#include <QString>
#include <QtPlugin>

class Frame;
namespace History {
struct Record;
}
struct DevDatas;

class BaseFormLogic
{
public:
    BaseFormLogic() = default;
    BaseFormLogic(const BaseFormLogic &) = delete;
    BaseFormLogic &operator=(const BaseFormLogic &) = delete;
    virtual ~BaseFormLogic();

    // 1-based page the store shows; 0 while the store is empty.
    virtual int currentPage() = 0;
    virtual void setCurrentPage(int page) = 0;
    virtual Frame *frame() = 0;
    // Number of the record to request next.
    virtual int nextItemNumber() = 0;
    // Takes the record out of the frame, stores (and maybe draws) it and
    // replaces the frame so the next answer lands in a fresh one.
    virtual void fillDatas();
    virtual void gotoPage(int page) = 0;
    // Makes a fresh frame of the page's kind; the previous pointer is simply
    // overwritten, renewFrame() is the call that releases it.
    virtual void createFrame() = 0;
    virtual void renewFrame();
    // Puts this frame in the page's place and hands back the one it held,
    // which the caller now owns.
    Frame *exchangeFrame(Frame *replacement)
    {
        Frame *previous = ownedFrame;
        ownedFrame = replacement;
        return previous;
    }
    virtual void clearDatas() = 0;
    // Records held by the page's store.
    virtual int itemCount() const = 0;
    // The records held, as the history and the exports keep them under `family`.
    virtual QList<History::Record> storedRecords(const QString &family) const;

    // The meter whose answers the page's frames decode (its range code sets
    // the precision of the power texts): the window or the command line hands
    // in the connected meter's identity. The frame in hand is renewed, so it
    // must not be out with the link.
    void setIdentity(const DevDatas *meter);
    const DevDatas *identity() const { return meterIdentity; }

protected:
    Frame *ownedFrame = nullptr;
    const DevDatas *meterIdentity = nullptr;
};

#define BaseFormLogic_iid "lumisk.BaseFormLogic"
Q_DECLARE_INTERFACE(BaseFormLogic, BaseFormLogic_iid)
