#include "domain/pages.h"

#include "link/devdatas.h"

QList<PageType> pagesFor(const DevDatas &identity)
{
    if (!identity.hasRecordPages)
        return {PageType::Chart};

    const bool ranged = identity.rangeCode != 0;
    QList<PageType> pages;
    bool chart = ranged;
    switch (identity.kind()) {
    case MeterKind::Pon:
    case MeterKind::PonRanged:
    case MeterKind::XgPon:
        if (ranged)
            pages << PageType::Opm;
        pages << (identity.kind() == MeterKind::XgPon ? PageType::XGPon : PageType::Pon);
        break;
    case MeterKind::PonFttx:
        pages << PageType::Pon << PageType::Fttx;
        break;
    case MeterKind::MultiWave:
        pages << PageType::Opm << PageType::MultiWave;
        chart = true;
        break;
    case MeterKind::SingleWave6:
    case MeterKind::SingleWave7:
    case MeterKind::SingleWave8:
    case MeterKind::SingleWave10:
        pages << PageType::Opm;
        chart = true;
        break;
    case MeterKind::PartialWave:
        pages << PageType::Partial;
        chart = false;
        break;
    case MeterKind::Unknown:
    default:
        break;
    }
    if (chart)
        pages << PageType::Chart;
    return pages;
}

const PageEntry &pageIn(const QList<PageEntry> &pages, PageType type)
{
    static const PageEntry none;
    for (const PageEntry &entry : pages) {
        if (entry.type == type)
            return entry;
    }
    return none;
}
