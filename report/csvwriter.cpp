#include "report/csvwriter.h"

#include "link/realtimeopmvalue.h"

#include <QRegularExpression>
#include <QSaveFile>
#include <QVector>

namespace ReadingText {

namespace {
// A number, then perhaps a unit ("nm", "Hz", "uW", "dBm").
const QRegularExpression &numberPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)\\s*([A-Za-z\\x{00B5}]*)\\s*$"));
    return pattern;
}
} // namespace

QString plainNumber(const QString &text)
{
    const QRegularExpressionMatch match = numberPattern().match(text);
    if (!match.hasMatch())
        return QString();
    bool ok = false;
    const double value = match.captured(1).toDouble(&ok);
    return ok ? QString::number(value, 'g', 10) : QString();
}

QString watts(const QString &text)
{
    const QRegularExpressionMatch match = numberPattern().match(text);
    if (!match.hasMatch())
        return QString();
    bool ok = false;
    double value = match.captured(1).toDouble(&ok);
    if (!ok)
        return QString();
    const QString unit = match.captured(2).toLower();
    if (unit == QLatin1String("mw"))
        value *= 1e-3;
    else if (unit == QLatin1String("uw") || unit == QStringLiteral("\u00B5w"))
        value *= 1e-6;
    else if (unit == QLatin1String("nw"))
        value *= 1e-9;
    else if (unit != QLatin1String("w") && !unit.isEmpty())
        return QString();
    // Always with an exponent, the mantissa as short as its digits allow.
    QString number = QString::number(value, 'e', 9);
    const int e = number.indexOf(QLatin1Char('e'));
    int end = e;
    while (end > 0 && number.at(end - 1) == QLatin1Char('0'))
        --end;
    if (end > 0 && number.at(end - 1) == QLatin1Char('.'))
        --end;
    return number.left(end) + number.mid(e);
}

namespace {
QString withOffset(const QDateTime &when, Qt::DateFormat format)
{
    if (!when.isValid())
        return QString();
    const QDateTime fixed = when.toOffsetFromUtc(when.offsetFromUtc());
    QString text = fixed.toString(format);
    // Qt writes a zero offset as "Z"; the offset is always spelt out here.
    if (text.endsWith(QLatin1Char('Z')))
        text.replace(text.size() - 1, 1, QStringLiteral("+00:00"));
    return text;
}
} // namespace

QString isoWithOffset(const QDateTime &when)
{
    // Live readings come every half second: whole seconds would give two of
    // them one time.
    return withOffset(when, Qt::ISODateWithMs);
}

QString recordTime(const QString &shownTime)
{
    const QString iso = History::isoTime(shownTime);
    if (iso.isEmpty())
        return QString();
    // The meter keeps minutes: milliseconds would claim what it never measured.
    return withOffset(QDateTime::fromString(iso, Qt::ISODate), Qt::ISODate);
}

} // namespace ReadingText

QByteArray CsvWriter::byteOrderMark()
{
    return QByteArrayLiteral("\xEF\xBB\xBF");
}

QString CsvWriter::field(const QString &text)
{
    static const QRegularExpression special(QStringLiteral("[\",\r\n]"));
    if (!text.contains(special))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString CsvWriter::cell(const QString &text, Column column)
{
    // What spreadsheets take as the start of a formula (OWASP's list for CSV files).
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    // A whole plain number, nothing before or after it.
    static const QRegularExpression number(
        QRegularExpression::anchoredPattern(QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?")));
    if (text.isEmpty() || !formulaStarts.contains(text.at(0)))
        return text;
    if (column == Column::Value && number.match(text).hasMatch())
        return text;
    return QLatin1Char('\'') + text;
}

namespace {
// Each column's kind, by its name: free text, or values (numbers, and the
// power as shown, a number or a word such as "Low").
QVector<CsvWriter::Column> columnsOf(const QStringList &header)
{
    static const QStringList texts{QStringLiteral("family"), QStringLiteral("name"), QStringLiteral("time"),
                                   QStringLiteral("unit"), QStringLiteral("verdict")};
    QVector<CsvWriter::Column> columns;
    for (const QString &name : header)
        columns << (texts.contains(name) ? CsvWriter::Column::Text : CsvWriter::Column::Value);
    return columns;
}

QStringList cells(QStringList fields, const QVector<CsvWriter::Column> &columns)
{
    for (int i = 0; i < fields.size(); ++i)
        fields[i] = CsvWriter::cell(fields.at(i), columns.value(i, CsvWriter::Column::Value));
    return fields;
}

// The window's own columns after the standard ones: written as values.
QStringList extraCells(QStringList fields)
{
    return cells(std::move(fields), {});
}
} // namespace

QString CsvWriter::line(const QStringList &fields)
{
    QStringList quoted;
    quoted.reserve(fields.size());
    for (const QString &text : fields)
        quoted << field(text);
    return quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n");
}

QStringList CsvWriter::recordHeader()
{
    return {QStringLiteral("family"),     QStringLiteral("record"),     QStringLiteral("name"),
            QStringLiteral("time"),       QStringLiteral("reading"),    QStringLiteral("wavelength_nm"),
            QStringLiteral("power"),      QStringLiteral("unit"),       QStringLiteral("power_text"),
            QStringLiteral("reference"),  QStringLiteral("watt_w"),     QStringLiteral("frequency_hz"),
            QStringLiteral("verdict")};
}

QList<QStringList> CsvWriter::recordRows(const History::Record &record)
{
    using namespace ReadingText;
    static const QVector<Column> columns = columnsOf(recordHeader());
    QList<QStringList> rows;
    const QString time = recordTime(record.time);
    for (int i = 0; i < record.readings.size(); ++i) {
        const History::Reading &r = record.readings.at(i);
        rows << QStringList{record.family,         record.number,          record.name,
                            time,                  QString::number(i + 1), plainNumber(r.wavelength),
                            plainNumber(r.powerText), r.unit,              r.powerText,
                            plainNumber(r.reference), watts(r.watt),       plainNumber(r.frequency),
                            History::verdictWord(r.verdict)};
    }
    // A record without readings still shows up, with its head only.
    if (record.readings.isEmpty())
        rows << QStringList{record.family, record.number, record.name, time, QString(), QString(), QString(),
                            QString(),     QString(),     QString(),   QString(), QString(), QString()};
    for (QStringList &row : rows)
        row = cells(row, columns);
    return rows;
}

QStringList CsvWriter::liveHeader()
{
    return {QStringLiteral("time"),      QStringLiteral("wavelength_nm"), QStringLiteral("power"),
            QStringLiteral("unit"),      QStringLiteral("power_text"),    QStringLiteral("reference"),
            QStringLiteral("watt_w"),    QStringLiteral("frequency_hz")};
}

QStringList CsvWriter::liveRow(const QDateTime &arrival, const RealTimeOpmValue &reading)
{
    using namespace ReadingText;
    static const QVector<Column> columns = columnsOf(liveHeader());
    const QStringList row{isoWithOffset(arrival),        plainNumber(reading.wavelength), plainNumber(reading.power),
                          reading.powerUnit,             reading.power,                   plainNumber(reading.reference),
                          watts(reading.powerW + reading.powerWUnit), plainNumber(reading.frequency)};
    return cells(row, columns);
}

namespace {
bool writeAll(const QString &path, const QString &text)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray bytes = CsvWriter::byteOrderMark();
    bytes += text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
} // namespace

bool CsvWriter::saveRecords(const QString &path, const QList<History::Record> &records,
                            const RecordColumns &extra)
{
    const bool more = !extra.header.isEmpty() && extra.fields;
    QString text = line(more ? recordHeader() + extra.header : recordHeader());
    for (const History::Record &record : records) {
        const QList<QStringList> rows = recordRows(record);
        for (int i = 0; i < rows.size(); ++i) {
            if (!more) {
                text += line(rows.at(i));
                continue;
            }
            // Exactly as many extra fields as extra columns, whatever the callback gave.
            QStringList fields = extra.fields(record, record.readings.isEmpty() ? -1 : i);
            while (fields.size() < extra.header.size())
                fields << QString();
            text += line(rows.at(i) + extraCells(fields.mid(0, extra.header.size())));
        }
    }
    return writeAll(path, text);
}

bool CsvWriter::saveLive(const QString &path, const QList<QDateTime> &arrivals,
                         const QList<RealTimeOpmValue> &readings, const LiveColumns &extra)
{
    const bool more = !extra.header.isEmpty() && extra.fields;
    QString text = line(more ? liveHeader() + extra.header : liveHeader());
    const int count = qMin(arrivals.size(), readings.size());
    for (int i = 0; i < count; ++i) {
        QStringList row = liveRow(arrivals.at(i), readings.at(i));
        if (more) {
            QStringList fields = extra.fields(i);
            while (fields.size() < extra.header.size())
                fields << QString();
            row += extraCells(fields.mid(0, extra.header.size()));
        }
        text += line(row);
    }
    return writeAll(path, text);
}
