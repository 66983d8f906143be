#include "views/pdfreport.h"

#include "domain/powerstatistics.h"
#include "link/ponopmitemdata.h"
#include "link/valueformat.h"
#include "report/csvwriter.h"
#include "views/historyform.h"

#include <QFontDatabase>
#include <QMap>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_renderer.h>

namespace {

constexpr int Resolution = 300; // dots per inch of the drawing
constexpr double MarginMm = 15.0;
constexpr double CurveHeightMm = 80.0;
constexpr double BodyPoints = 8.5;
constexpr double WideTablePoints = 7.5; // the PON tables' ten columns
constexpr double TitlePoints = 14.0;
constexpr int PowerDecimals = 2;

double mm(double millimetres)
{
    return millimetres * Resolution / 25.4;
}

QString dB(double value)
{
    return QString::number(value, 'f', PowerDecimals);
}

// A table column: its heading and its share of the page's width.
struct Column {
    QString title;
    int weight;
};

QString verdictText(int verdict)
{
    switch (verdict) {
    case 0:
        return PdfReport::tr("pass");
    case 1:
        return PdfReport::tr("warning");
    case 2:
        return PdfReport::tr("fail");
    default:
        return QString();
    }
}

// Minimum, maximum and mean of the absolute (dBm) readings of one wavelength.
struct WavelengthPower {
    int count = 0;
    double minimum = 0.0;
    double maximum = 0.0;
    double sum = 0.0;
    void take(double dBm)
    {
        minimum = count == 0 ? dBm : std::min(minimum, dBm);
        maximum = count == 0 ? dBm : std::max(maximum, dBm);
        sum += dBm;
        ++count;
    }
};

// Everything the report prints, gathered before the first page is drawn.
struct Layout {
    QStringList header;
    QStringList summary;
    QList<Column> columns;
    QList<QStringList> rows;
    bool curve = false;
};

void addPower(QMap<double, WavelengthPower> &powers, const QString &wavelength, const QString &power,
              const QString &unit)
{
    if (unit != QLatin1String("dBm"))
        return;
    bool nmOk = false;
    bool powerOk = false;
    const double nm = ReadingText::plainNumber(wavelength).toDouble(&nmOk);
    const double dBm = ReadingText::plainNumber(power).toDouble(&powerOk);
    if (nmOk && powerOk && std::isfinite(dBm))
        powers[nm].take(dBm);
}

Layout layoutOf(const ExportContent &content)
{
    Layout layout;
    const HistoryStore::Session &meter = content.meter;
    QString model = meter.meterModel;
    if (!meter.meterVersion.isEmpty())
        model += QLatin1Char(' ') + meter.meterVersion;
    if (meter.meterKind > 0)
        model += QLatin1Char(' ') + PdfReport::tr("(kind %1)").arg(meter.meterKind);
    layout.header << PdfReport::tr("Meter: %1").arg(model.trimmed())
                  << PdfReport::tr("Technician: %1").arg(meter.technician);
    const QString taken = ValueFormat::dateTimeText(content.taken, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    layout.header << (content.isLive() ? PdfReport::tr("Sampled: %1") : PdfReport::tr("Downloaded: %1")).arg(taken);
    layout.header << PdfReport::tr("Report made: %1")
                         .arg(ValueFormat::dateTimeText(QDateTime::currentDateTime(),
                                                        QStringLiteral("yyyy-MM-dd HH:mm:ss")));

    QMap<double, WavelengthPower> powers;
    if (content.isLive()) {
        const bool loss = content.reference.isSet();
        layout.columns = {{PdfReport::tr("No."), 8},         {PdfReport::tr("Time"), 26},
                          {PdfReport::tr("Wavelength (nm)"), 14}, {PdfReport::tr("Power"), 12},
                          {PdfReport::tr("Unit"), 8}};
        if (loss)
            layout.columns << Column{PdfReport::tr("Loss (dB)"), 12};
        const int count = std::min(content.arrivals.size(), content.readings.size());
        for (int i = 0; i < count; ++i) {
            const RealTimeOpmValue &reading = content.readings.at(i);
            QStringList row{QString::number(i + 1),
                            ValueFormat::dateTimeText(content.arrivals.at(i), QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")),
                            reading.wavelength, reading.power, reading.powerUnit};
            if (loss) {
                const std::optional<double> value = content.reference.loss(reading.wavelength, reading.powerValue);
                row << (value ? dB(*value) : QStringLiteral("---"));
            }
            layout.rows << row;
            addPower(powers, reading.wavelength, reading.power, reading.powerUnit);
        }
        layout.summary << PdfReport::tr("Readings: %1").arg(count);
        layout.curve = count > 0;
    } else {
        const bool pon = content.isPon();
        layout.columns = {{PdfReport::tr("No."), 5},        {PdfReport::tr("Name"), 16},
                          {PdfReport::tr("Date time"), 14}, {PdfReport::tr("Wavelength (nm)"), 14},
                          {PdfReport::tr("Power"), 8},      {PdfReport::tr("Unit"), 6},
                          {PdfReport::tr("Reference"), 10}, {PdfReport::tr("Verdict"), 8}};
        if (pon)
            layout.columns << Column{PdfReport::tr("Class check"), 15} << Column{PdfReport::tr("Margin (dB)"), 11};
        int verdicts[3] = {0, 0, 0};
        PonClassCheck::Tally tally;
        for (const HistoryStore::Record &record : content.records) {
            for (const HistoryStore::Reading &reading : record.readings) {
                QStringList row{record.number,     record.name, record.time,          reading.wavelength,
                                reading.powerText, reading.unit, reading.reference, verdictText(reading.verdict)};
                if (reading.verdict >= 0 && reading.verdict <= 2)
                    ++verdicts[reading.verdict];
                if (pon) {
                    const PonClassCheck::Result result = content.classCheck.check(ExportFiles::powerInfoOf(reading));
                    tally.add(result);
                    row << PonClassCheck::verdictText(result) << PonClassCheck::marginText(result);
                }
                layout.rows << row;
                addPower(powers, reading.wavelength, reading.powerText, reading.unit);
            }
            if (record.readings.isEmpty())
                layout.rows << QStringList{record.number, record.name, record.time};
        }
        layout.summary << PdfReport::tr("Records: %1").arg(content.records.size())
                       << PdfReport::tr("Pass: %1   Warning: %2   Fail: %3")
                              .arg(verdicts[0])
                              .arg(verdicts[1])
                              .arg(verdicts[2]);
        if (pon && content.classCheck.isActive())
            layout.summary << content.classCheck.summary(tally);
    }
    for (auto it = powers.cbegin(); it != powers.cend(); ++it) {
        const WavelengthPower &p = it.value();
        layout.summary << PdfReport::tr("%1 nm: minimum %2 dBm, maximum %3 dBm, mean %4 dBm (%5 readings)")
                              .arg(it.key())
                              .arg(dB(p.minimum), dB(p.maximum), dB(p.sum / p.count))
                              .arg(p.count);
    }
    return layout;
}

// The live power curve over the reading index, drawn by Qwt into `rect`.
void drawCurve(QPainter &painter, const QRectF &rect, const ExportContent &content)
{
    QwtPlot plot;
    plot.setAutoReplot(false);
    plot.setCanvasBackground(Qt::white);
    plot.setAxisTitle(QwtPlot::xBottom, PdfReport::tr("Reading"));
    plot.setAxisTitle(QwtPlot::yLeft, QStringLiteral("dBm"));
    QVector<double> x;
    QVector<double> y;
    for (int i = 0; i < content.readings.size(); ++i) {
        const double power = double(content.readings.at(i).powerValue);
        if (!std::isfinite(power))
            continue;
        x << i + 1;
        y << power;
    }
    auto *curve = new QwtPlotCurve;
    curve->setPen(QColor(0x1f, 0x77, 0xb4), 0.0);
    curve->setRenderHint(QwtPlotItem::RenderAntialiased);
    curve->setSamples(x, y);
    curve->attach(&plot); // the plot deletes it
    plot.replot();
    QwtPlotRenderer renderer;
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardBackground);
    renderer.setDiscardFlag(QwtPlotRenderer::DiscardCanvasBackground);
    renderer.render(&plot, &painter, rect);
}

QStringList statisticsLines(const ExportContent &content)
{
    PowerStatistics statistics;
    for (const RealTimeOpmValue &reading : content.readings)
        statistics.add(double(reading.powerValue));
    const PowerStatistics::Summary s = statistics.overall();
    if (s.isEmpty())
        return {};
    return {PdfReport::tr("Power over %1 readings: minimum %2 dBm, maximum %3 dBm, mean %4 dBm")
                .arg(s.count)
                .arg(dB(s.minimum), dB(s.maximum), dB(s.mean)),
            PdfReport::tr("Standard deviation %1 dB, peak-to-peak %2 dB").arg(dB(s.standardDeviation), dB(s.peakToPeak))};
}

} // namespace

QStringList PdfReport::fontFamilies()
{
    // Latin letters and digits from DejaVu Sans: Qt's PDF output maps the
    // digits of the CJK faces back to no text at all, which would leave a
    // report whose numbers cannot be searched or copied. Chinese from Noto
    // Sans CJK SC, the face the window's own Chinese comes from.
    QStringList chosen;
    const QStringList installed = QFontDatabase().families();
    for (const char *family : {"DejaVu Sans", "Noto Sans CJK SC", "Noto Sans CJK TC", "Noto Sans SC"}) {
        if (installed.contains(QLatin1String(family)))
            chosen << QLatin1String(family);
    }
    return chosen;
}

bool PdfReport::write(const QString &path, const ExportContent &content)
{
    const Layout layout = layoutOf(content);
    QStringList intro = layout.summary;
    if (layout.curve)
        intro << statisticsLines(content);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&file);
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(tr("Lumisk report") + QStringLiteral(" — ") + HistoryForm::familyText(content.kind));
    writer.setCreator(QStringLiteral("Lumisk"));

    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        return false;
    }
    QFont body;
    body.setFamilies(fontFamilies());
    body.setPointSizeF(BodyPoints);
    QFont bold = body;
    bold.setBold(true);
    QFont cellFont = body;
    if (layout.columns.size() > 8)
        cellFont.setPointSizeF(WideTablePoints);
    QFont headingFont = cellFont;
    headingFont.setBold(true);
    QFont title = bold;
    title.setPointSizeF(TitlePoints);

    const QRectF page(mm(MarginMm), mm(MarginMm), writer.width() - 2 * mm(MarginMm),
                      writer.height() - 2 * mm(MarginMm));
    painter.setFont(body);
    const double line = painter.fontMetrics().height() * 1.35;
    const double footer = line * 1.5;
    const double tableBottom = page.bottom() - footer;

    // Where the table starts on the first page: after the title, the
    // header, the summary and the curve.
    const double titleHeight = QFontMetricsF(title, &writer).height() * 1.6;
    double firstTop = page.top() + titleHeight + line * (layout.header.size() + 0.5) + line * (1 + intro.size());
    if (layout.curve)
        firstTop += mm(CurveHeightMm) + line;
    const int firstRows = std::max(0, int((tableBottom - firstTop) / line) - 1);
    const int laterRows = std::max(1, int((tableBottom - page.top()) / line) - 1);
    const int rows = layout.rows.size();
    const int pages = 1 + (rows > firstRows ? (rows - firstRows + laterRows - 1) / laterRows : 0);

    int totalWeight = 0;
    for (const Column &column : layout.columns)
        totalWeight += column.weight;
    const auto drawRow = [&](double top, const QStringList &cells, bool heading) {
        painter.setFont(heading ? headingFont : cellFont);
        double left = page.left();
        for (int c = 0; c < layout.columns.size(); ++c) {
            const double width = page.width() * layout.columns.at(c).weight / totalWeight;
            const QRectF cell(left + mm(0.8), top, width - mm(1.6), line);
            const QString text = c < cells.size() ? cells.at(c) : QString();
            painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                             painter.fontMetrics().elidedText(text, Qt::ElideRight, int(cell.width())));
            left += width;
        }
        if (heading)
            painter.drawLine(QPointF(page.left(), top + line), QPointF(page.right(), top + line));
    };
    QStringList titles;
    for (const Column &column : layout.columns)
        titles << column.title;

    int next = 0;
    for (int p = 1; p <= pages; ++p) {
        double y = page.top();
        if (p == 1) {
            painter.setFont(title);
            painter.drawText(QRectF(page.left(), y, page.width(), titleHeight), Qt::AlignLeft | Qt::AlignTop,
                             tr("Lumisk report") + QStringLiteral(" — ") + HistoryForm::familyText(content.kind));
            y += titleHeight;
            painter.setFont(body);
            for (const QString &text : layout.header) {
                painter.drawText(QRectF(page.left(), y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter, text);
                y += line;
            }
            y += line * 0.5;
            painter.setFont(bold);
            painter.drawText(QRectF(page.left(), y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                             tr("Summary"));
            y += line;
            painter.setFont(body);
            for (const QString &text : intro) {
                painter.drawText(QRectF(page.left(), y, page.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                                 painter.fontMetrics().elidedText(text, Qt::ElideRight, int(page.width())));
                y += line;
            }
            if (layout.curve) {
                y += line * 0.5;
                drawCurve(painter, QRectF(page.left(), y, page.width(), mm(CurveHeightMm)), content);
                y += mm(CurveHeightMm) + line * 0.5;
                painter.setFont(body);
            }
        }
        drawRow(y, titles, true);
        y += line;
        const int take = std::min(rows - next, p == 1 ? firstRows : laterRows);
        for (int i = 0; i < take; ++i, ++next) {
            drawRow(y, layout.rows.at(next), false);
            y += line;
        }
        painter.setFont(body);
        painter.drawText(QRectF(page.left(), page.bottom() - line, page.width(), line), Qt::AlignCenter,
                         tr("page %1 of %2").arg(p).arg(pages));
        if (p < pages && !writer.newPage()) {
            painter.end();
            file.cancelWriting();
            return false;
        }
    }
    painter.end();
    return file.commit();
}
