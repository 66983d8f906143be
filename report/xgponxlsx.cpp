#include "report/xgponxlsx.h"
#include "report/reportsheet.h"

namespace {

constexpr int kHeaderGroups = 5;
constexpr int kFirstItemColumn = 4;
constexpr int kColumnsPerItem = 4;

} // namespace

XGPonXlsx::XGPonXlsx(QObject *parent)
    : QObject(parent)
{
}

bool XGPonXlsx::save(const QList<PonOpmItemData> &datas, const QString &dir)
{
    ReportSheet sheet(tr("XG-PON datas"));
    QStringList header{tr("No."), tr("Name"), tr("Date Time")};
    for (int n = 1; n <= kHeaderGroups; ++n) {
        const QString number = QString::number(n);
        header << tr("Wavelength(nm)") + number << tr("Power(lg)") + number
               << QStringLiteral("REF(dBm)") + number << tr("Power(W)") + number;
    }
    sheet.writeHeader(header);

    for (int k = 0; k < datas.size(); ++k) {
        const PonOpmItemData &item = datas.at(k);
        const int row = k + 2;
        sheet.writeRecordHead(row, item.number, item.name, item.time);
        for (int j = 0; j < item.powerInfos.size(); ++j) {
            const PowerInfo &info = item.powerInfos.at(j);
            const int column = kFirstItemColumn + kColumnsPerItem * j;
            sheet.writeText(row, column, info.wavelength);
            sheet.writeVerdictText(row, column + 1, info.power + info.powerUnit, info.passStatus);
            sheet.writeText(row, column + 2, info.reference);
            sheet.writeText(row, column + 3, info.powerW + info.powerWUnit);
        }
    }
    return sheet.save(dir, QStringLiteral("-XG-PON.xlsx"));
}
