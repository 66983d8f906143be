#include "report/ponxlsx.h"
#include "report/reportsheet.h"

#include <algorithm>

namespace {

constexpr int kPonItems = 3;
constexpr int kFirstItemColumn = 4;
constexpr int kColumnsPerItem = 3;

} // namespace

PonXlsx::PonXlsx(QObject *parent)
    : QObject(parent)
{
}

bool PonXlsx::save(const QList<PonOpmItemData> &datas, const QString &dir)
{
    ReportSheet sheet(tr("PON OPM datas"));
    sheet.writeHeader({tr("No."), tr("Name"), tr("Date time"),
                       tr("ONT power(1310nm)"), tr("ONT power unit"), QStringLiteral("ONT REF(dBm)"),
                       tr("OLT power(1490nm)"), tr("OLT power unit"), QStringLiteral("OLT REF(dBm)"),
                       tr("VDO power(1550nm)"), tr("VDO power unit"), QStringLiteral("VDO REF(dBm)")});

    for (int k = 0; k < datas.size(); ++k) {
        const PonOpmItemData &item = datas.at(k);
        const int row = k + 2;
        sheet.writeRecordHead(row, item.number, item.name, item.time);
        // Items the record does not have leave their three cells empty.
        const int items = std::min(kPonItems, int(item.powerInfos.size()));
        for (int j = 0; j < items; ++j) {
            const PowerInfo &info = item.powerInfos.at(j);
            const int column = kFirstItemColumn + kColumnsPerItem * j;
            sheet.writeVerdictText(row, column, info.showPower ? info.power : info.powerW, info.passStatus);
            sheet.writeText(row, column + 1, info.showPower ? info.powerUnit : info.powerWUnit);
            sheet.writeText(row, column + 2, info.reference);
        }
    }
    return sheet.save(dir, QStringLiteral("-PON.xlsx"));
}
