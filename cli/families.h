#pragma once
// The record families a download can fetch, each with the requests that
// fetch it (as the window's page table has them) and a store that keeps the
// decoded records for the report the window writes of that page.

#include "domain/pages.h"
#include "report/csvwriter.h"
#include "domain/baseformlogic.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

// The records of one family as they arrive; writes the window's report.
class FamilyStore : public BaseFormLogic
{
public:
    // The page's workbook, into dir, named as the window names it.
    virtual bool writeReport(const QString &dir) const = 0;
};

template<typename Record, typename FrameT>
class RecordStore : public FamilyStore
{
public:
    using Writer = std::function<bool(const QList<Record> &, const QString &)>;
    RecordStore(const DevDatas *meter, Writer writer) : writer(std::move(writer))
    {
        meterIdentity = meter;
        ownedFrame = new FrameT(meter);
    }

    int currentPage() override { return records.isEmpty() ? 0 : 1; }
    void setCurrentPage(int) override {}
    Frame *frame() override { return ownedFrame; }
    int nextItemNumber() override { return int(records.size()) + 1; }
    void fillDatas() override
    {
        records.append(static_cast<FrameT *>(ownedFrame)->itemData);
        renewFrame();
    }
    void gotoPage(int) override {}
    void createFrame() override { ownedFrame = new FrameT(meterIdentity); }
    void clearDatas() override { records.clear(); }
    int itemCount() const override { return int(records.size()); }
    bool writeReport(const QString &dir) const override { return writer(records, dir); }

    QList<Record> records;

private:
    Writer writer;
};

namespace Families {
// single, multi, partial, pon, xgpon (the history's family names).
QStringList names();
// PageType::None for a name that is none of them.
PageType typeOf(const QString &name);
// A store whose frames decode the answers of this meter.
std::unique_ptr<FamilyStore> storeFor(PageType type, const DevDatas *meter);
// The page entry a DownloadSession runs on: the store and its requests.
PageEntry pageFor(PageType type, FamilyStore *store);
// The columns a CSV of the family adds: the class check of the PON and
// XG-PON readings against the class chosen in settings.ini, as the window's
// exports have them; none for the other families.
CsvWriter::RecordColumns csvColumns(const QString &name);
} // namespace Families
