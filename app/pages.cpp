#include "app/pages.h"

#include "link/devdatas.h"

QList<PageType> pagesFor(const DevDatas &identity)
{
    if (!identity.hasRecordPages)
        return {PageType::Chart};

    const bool ranged = identity.rangeCode != 0;
    QList<PageType> pages;
    bool chart = ranged;
    switch (identity.devKind) {
    case 1:
    case 2:
    case 3:
        if (ranged)
            pages << PageType::Opm;
        pages << (identity.devKind == 3 ? PageType::XGPon : PageType::Pon);
        break;
    case 4:
        pages << PageType::Pon << PageType::Fttx;
        break;
    case 5:
        pages << PageType::Opm << PageType::MultiWave;
        chart = true;
        break;
    case 6:
    case 7:
    case 8:
    case 10:
        pages << PageType::Opm;
        chart = true;
        break;
    case 9:
        pages << PageType::Partial;
        chart = false;
        break;
    default:
        break;
    }
    if (chart)
        pages << PageType::Chart;
    return pages;
}
