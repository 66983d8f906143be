#pragma once
// The chart's vertical read-out marker: a line over the whole canvas with the
// values of the sample under it written beside the line. It is drawn in the
// accent colour while the pointer is over it or it is being dragged.

#include <QColor>
#include <QString>
#include <qwt_plot_marker.h>

class Marker : public QwtPlotMarker
{
public:
    Marker();

    void setHovered(bool value);
    void setDragging(bool value);
    bool isDragging() const;
    bool isHovered() const;
    void setReadout(const QString &text);
    QString readoutText() const;

protected:
    void drawLines(QPainter *painter, const QRectF &canvasRect, const QPointF &pos) const override;

private:
    QColor activeColor{236, 101, 56};
    QColor idleColor{72, 85, 117};
    QString readout;
    bool hovered = false;
    bool dragging = false;
    int labelOffset = 20;
};
