#include "cli/families.h"

#include "session/historyrecorder.h"
#include "domain/ponclasscheck.h"
#include "link/commands.h"
#include "link/opmvalueframe.h"
#include "link/partialopmvalueframe.h"
#include "link/ponframe.h"
#include "report/opmxlsx.h"
#include "report/partialopmxlsx.h"
#include "report/ponxlsx.h"
#include "report/xgponxlsx.h"

namespace Families {

namespace {
const PageType RecordPages[] = {PageType::Opm, PageType::MultiWave, PageType::Partial, PageType::Pon,
                                PageType::XGPon};
}

QStringList names()
{
    QStringList list;
    for (PageType type : RecordPages)
        list << HistoryRecorder::familyOf(type);
    return list;
}

PageType typeOf(const QString &name)
{
    for (PageType type : RecordPages) {
        if (HistoryRecorder::familyOf(type) == name)
            return type;
    }
    return PageType::None;
}

std::unique_ptr<FamilyStore> storeFor(PageType type, const DevDatas *meter)
{
    switch (type) {
    case PageType::Opm:
        return std::make_unique<RecordStore<OpmItemData, OpmValueFrame>>(
            meter,
            [](const QList<OpmItemData> &records, const QString &dir) { return OpmXlsx().saveSingleWave(records, dir); });
    case PageType::MultiWave:
        return std::make_unique<RecordStore<OpmItemData, OpmValueFrame>>(
            meter,
            [](const QList<OpmItemData> &records, const QString &dir) { return OpmXlsx().saveMultiWave(records, dir); });
    case PageType::Partial:
        return std::make_unique<RecordStore<OpmItemData, PartialOpmValueFrame>>(
            meter,
            [](const QList<OpmItemData> &records, const QString &dir) { return PartialOpmXlsx().save(records, dir); });
    case PageType::Pon:
        return std::make_unique<RecordStore<PonOpmItemData, PonFrame>>(
            meter,
            [](const QList<PonOpmItemData> &records, const QString &dir) { return PonXlsx().save(records, dir); });
    case PageType::XGPon:
        return std::make_unique<RecordStore<PonOpmItemData, PonFrame>>(
            meter,
            [](const QList<PonOpmItemData> &records, const QString &dir) { return XGPonXlsx().save(records, dir); });
    default:
        return nullptr;
    }
}

PageEntry pageFor(PageType type, FamilyStore *store)
{
    // The window's page table, with stores that number their records from 1.
    PageEntry entry;
    entry.type = type;
    entry.records = store;
    switch (type) {
    case PageType::Opm:
        entry.countRequest = &Command::opmCount;
        entry.recordRequest = &Command::singleWaveRecord;
        break;
    case PageType::MultiWave:
        entry.countRequest = &Command::multiWaveCount;
        entry.recordRequest = &Command::multiWaveRecord;
        break;
    case PageType::Partial:
        entry.countRequest = &Command::opmCount;
        entry.recordRequest = &Command::multiWaveRecord;
        break;
    case PageType::Pon:
        entry.countRequest = &Command::ponCount;
        entry.recordRequest = &Command::ponRecord;
        break;
    case PageType::XGPon:
        entry.countRequest = &Command::ponCount;
        entry.recordRequest = &Command::xgPonRecord;
        break;
    default:
        break;
    }
    return entry;
}

CsvWriter::RecordColumns csvColumns(const QString &name)
{
    const std::optional<PonClassCheck::Technology> technology = PonClassCheck::technologyOf(name);
    if (!technology)
        return {};
    const PonClassCheck check = PonClassCheck::fromConfiguration(*technology);
    return {PonClassCheck::csvHeader(), [check](const HistoryStore::Record &record, int index) -> QStringList {
                if (index < 0 || index >= record.readings.size())
                    return {};
                return check.csvFields(record.readings.at(index));
            }};
}

} // namespace Families
