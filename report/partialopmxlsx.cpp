#include "report/partialopmxlsx.h"
#include "report/reportsheet.h"

namespace {

// Columns D to H of one wavelength.
void writeWave(ReportSheet &sheet, int row, const SingleWaveOpmData &wave, int verdict)
{
    sheet.writeVerdictText(row, 4, wave.wavelength, verdict);
    sheet.writeText(row, 5, wave.power, wave.powerUnit);
    sheet.writeText(row, 6, wave.reference);
    sheet.writeText(row, 7, wave.powerW, wave.powerWUnit);
    sheet.writeText(row, 8, wave.frequency);
}

} // namespace

PartialOpmXlsx::PartialOpmXlsx(QObject *parent)
    : QObject(parent)
{
}

bool PartialOpmXlsx::save(const QList<OpmItemData> &datas, const QString &dir)
{
    // Same sheet and file name as the single-wave report.
    ReportSheet sheet(tr("OPM single wave datas"));
    sheet.writeHeader({tr("No."), tr("Name"), tr("Date time"), tr("Wavelength(nm)"), tr("Power"),
                       QStringLiteral("REF(dBm)"), tr("Power(W)"), tr("Freqency(Hz)")});

    int twoWaveRecordsBefore = 0;
    for (int k = 0; k < datas.size(); ++k) {
        const OpmItemData &item = datas.at(k);
        const int row = 2 + k + twoWaveRecordsBefore;
        // A record without a partial reading, or with an unknown wave count,
        // keeps its row empty.
        if (item.partialOpmDatas.isEmpty())
            continue;
        const PartialOpmData &reading = item.partialOpmDatas.first();
        if (reading.waveCount == 1) {
            sheet.writeRecordHead(row, item.number, item.name, item.time);
            writeWave(sheet, row, reading.wave1, reading.passStatus1);
        } else if (reading.waveCount == 2) {
            writeWave(sheet, row, reading.wave1, reading.passStatus1);
            writeWave(sheet, row + 1, reading.wave2, reading.passStatus2);
            // The merges put number, name and time over both rows; the
            // second row's cells under them would be blanked anyway.
            sheet.mergeRows(1, row, row + 1, item.number);
            sheet.mergeRows(2, row, row + 1, item.name);
            sheet.mergeRows(3, row, row + 1, item.time);
            ++twoWaveRecordsBefore;
        }
    }
    return sheet.save(dir, QStringLiteral("-Single.xlsx"));
}
