#pragma once
// The store plumbing every record page shares: the paged store, the frame the
// link fills with the next record, the download path (take the record out of
// the frame, store it, draw it when it lands on the page shown, renew the
// frame), paging, emptying and the report export. A page adds only how it
// draws one record, how it empties its view and which report it writes.

#include "domain/baseformlogic.h"
#include "domain/historyrecords.h"
#include "views/items.h"

#include <QList>
#include <QString>
#include <functional>

// Runs the export of `count` records to `dir` through `write` and tells the
// user how it went; an empty store is refused, no folder means cancelled.
void exportRecords(int count, const QString &dir, const std::function<bool()> &write);

// A page names BaseFormLogic among its own bases as well (virtually, so there
// is one), which keeps the interface reachable by its name through the page's
// meta-object.
template<typename Record, typename FrameT>
class RecordPage : public virtual BaseFormLogic
{
public:
    // `numberOffset`: what nextItemNumber() adds to the stored count.
    explicit RecordPage(int numberOffset = 1)
        : numberOffset(numberOffset)
    {
        ownedFrame = new FrameT(meterIdentity);
    }

    int currentPage() override { return items.currentPage; }
    void setCurrentPage(int page) override { items.currentPage = page; }
    Frame *frame() override { return ownedFrame; }
    int nextItemNumber() override { return items.itemCount() + numberOffset; }
    int itemCount() const override { return items.itemCount(); }
    void createFrame() override { ownedFrame = new FrameT(meterIdentity); }
    QList<History::Record> storedRecords(const QString &family) const override
    {
        QList<History::Record> records;
        for (const Record &item : items.allItems())
            records << History::recordOf(family, item);
        return records;
    }

    void fillDatas() override
    {
        auto *filled = static_cast<FrameT *>(ownedFrame);
        addRecord(filled->itemData, arrivesCollapsed(*filled));
        renewFrame();
    }

    // Stores the record; draws it when it lands on the page shown.
    void addItemData(const Record &record) { addRecord(record, false); }

    void gotoPage(int page) override
    {
        // The navigator only sends 1..count; anything else is ignored rather
        // than read past the store.
        if (page < 1 || items.pageCount() < page || page == items.currentPage)
            return;
        clearPage();
        items.currentPage = page;
        const auto &records = *items.page(page);
        for (int i = 0; i < int(records.size()); ++i)
            drawRecord(i, records[size_t(i)], false);
        pageDrawn();
    }

    void clearDatas() override
    {
        items.clearItems();
        clearView();
    }

    // Draws the page shown again (after something that changes how records
    // look, such as the class their readings are checked against).
    void redrawCurrentPage()
    {
        const int page = items.currentPage;
        if (page < 1 || items.pageCount() < page)
            return;
        clearPage();
        const auto &records = *items.page(page);
        for (int i = 0; i < int(records.size()); ++i)
            drawRecord(i, records[size_t(i)], false);
        pageDrawn();
    }

    void saveDatas(const QString &dir)
    {
        exportRecords(items.itemCount(), dir, [&] { return writeReport(items.allItems(), dir); });
    }

    Items<Record> items;

protected:
    // Draws `record` at row or card `index` of the page shown. `collapsed`
    // only ever comes with a record as it arrives, never on a redraw.
    virtual void drawRecord(int index, const Record &record, bool collapsed) = 0;
    // Empties the view before another page of records is drawn.
    virtual void clearPage() = 0;
    // Empties the view and the navigator when the store is emptied.
    virtual void clearView() = 0;
    virtual void pageDrawn() {}
    virtual bool writeReport(const QList<Record> &records, const QString &dir) = 0;
    // Whether the answer in the frame asks for its record to take no room.
    virtual bool arrivesCollapsed(const FrameT &) const { return false; }
    // Trace points of the download: before a record is stored, and before
    // it is drawn at `index`.
    virtual void traceAppend() {}
    // Every record as it is stored, drawn or not.
    virtual void recordStored(const Record &) {}
    virtual void traceDraw(int) {}

private:
    void addRecord(const Record &record, bool collapsed)
    {
        traceAppend();
        items.append(record);
        recordStored(record);
        if (items.pageCount() == items.currentPage) {
            const int index = int(items.lastPage().size()) - 1;
            traceDraw(index);
            drawRecord(index, record, collapsed);
        }
    }

    const int numberOffset;
};
