#include "widgets/marker.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <qwt_painter.h>

Marker::Marker() = default;

void Marker::setHovered(bool value)
{
    hovered = value;
}

void Marker::setDragging(bool value)
{
    dragging = value;
}

bool Marker::isDragging() const
{
    return dragging;
}

bool Marker::isHovered() const
{
    return hovered;
}

void Marker::setReadout(const QString &text)
{
    readout = text;
}

QString Marker::readoutText() const
{
    return readout;
}

void Marker::drawLines(QPainter *painter, const QRectF &canvasRect, const QPointF &pos) const
{
    if (lineStyle() == QwtPlotMarker::NoLine)
        return;

    QPointF point = pos;
    if (QwtPainter::roundingAlignment(painter))
        point = QPointF(qRound(point.x()), qRound(point.y()));

    constexpr int readoutPointSize = 9;
    constexpr int readoutLines = 4;
    constexpr int readoutExtraHeight = 25;

    painter->save();
    QFont font;
    font.setPointSize(readoutPointSize);
    painter->setFont(font);
    painter->setRenderHint(QPainter::Antialiasing, true);

    const QColor colour = (hovered || dragging) ? activeColor : idleColor;
    painter->setBrush(colour);
    painter->setPen(colour);

    QwtPainter::drawLine(painter, point.x(), canvasRect.top(), point.x(), canvasRect.bottom() - 1);

    if (!readout.isEmpty()) {
        const QFontMetricsF metrics(font, painter->device());
        const double lineHeight = metrics.height();
        const double width = metrics.horizontalAdvance(readout) / 2.0;
        QRectF textRect(point.x() + labelOffset / 2, point.y() - 2 * lineHeight, width,
                        readoutLines * lineHeight + readoutExtraHeight);
        // Near the right edge the text would be cut off: put it on the
        // other side of the line instead.
        if (textRect.right() > canvasRect.right() && point.x() - labelOffset / 2 - width >= canvasRect.left())
            textRect.moveRight(point.x() - labelOffset / 2);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, readout);
    }
    painter->restore();
}
