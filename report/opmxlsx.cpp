#include "report/opmxlsx.h"
#include "report/multiwavelevel.h"
#include "report/reportsheet.h"

namespace {

constexpr int kFirstReadingColumn = 4;
constexpr int kColumnsPerReading = 4;

const QString NoValue = QStringLiteral("---");

} // namespace

OpmXlsx::OpmXlsx(QObject *parent)
    : QObject(parent)
{
}

bool OpmXlsx::saveSingleWave(const QList<OpmItemData> &datas, const QString &dir)
{
    // One row per record and no merges: written row by row, in little memory.
    ReportSheet sheet(tr("OPM single wave datas"), XlsxDocument::RowByRow);
    sheet.writeHeader({tr("No."), tr("Name"), tr("Date time"), tr("Wavelength(nm)"), tr("Power"),
                       QStringLiteral("REF(dBm)"), tr("Power(W)"), tr("Freqency(Hz)")});

    for (int k = 0; k < datas.size(); ++k) {
        const OpmItemData &item = datas.at(k);
        const int row = k + 2;
        sheet.writeRecordHead(row, item.number, item.name, item.time);
        // A record without a reading keeps its value cells empty.
        if (item.singleWaveOpmDatas.isEmpty())
            continue;
        const SingleWaveOpmData &wave = item.singleWaveOpmDatas.first();
        sheet.writeText(row, 4, wave.wavelength);
        sheet.writeText(row, 5, wave.power, wave.powerUnit);
        sheet.writeText(row, 6, wave.reference);
        sheet.writeText(row, 7, wave.powerW, wave.powerWUnit);
        sheet.writeText(row, 8, wave.frequency);
    }
    return sheet.save(dir, QStringLiteral("-Single.xlsx"));
}

bool OpmXlsx::saveMultiWave(const QList<OpmItemData> &datas, const QString &dir)
{
    ReportSheet sheet(tr("OPM muti wave datas"));
    const QString wavelength = tr("Wavelength(nm)");
    const QString power = tr("Power");
    const QString powerW = tr("Power(W)");
    sheet.writeHeader({tr("No."), tr("Name"), tr("Date time"),
                       wavelength, power, powerW, QStringLiteral("REF(dBm)"),
                       wavelength, power, powerW, QStringLiteral("REF(dBm)"),
                       wavelength, power, powerW, QStringLiteral("REF(dB)"),
                       wavelength, power, powerW, QStringLiteral("REF(dBm)")});

    for (int k = 0; k < datas.size(); ++k) {
        const OpmItemData &item = datas.at(k);
        const int row = k + 2;
        sheet.writeRecordHead(row, item.number, item.name, item.time);
        for (int j = 0; j < item.singleWaveOpmDatas.size(); ++j) {
            const SingleWaveOpmData &wave = item.singleWaveOpmDatas.at(j);
            const int column = kFirstReadingColumn + kColumnsPerReading * j;
            const bool relative = wave.reference != NoValue;
            // Out of range, a reading has no meaningful watt value.
            const bool outOfRange = multiWaveLevel(wave) != MultiWaveLevel::InRange;

            sheet.writeText(row, column, wave.wavelength);
            sheet.writeText(row, column + 1, multiWavePowerText(wave));
            sheet.writeText(row, column + 2, outOfRange ? NoValue : wave.powerW + wave.powerWUnit);
            sheet.writeText(row, column + 3, (!relative || outOfRange) ? NoValue : wave.reference);
        }
    }
    return sheet.save(dir, QStringLiteral("-muti.xlsx"));
}
