#include "forms/grid/trackgrid.h"

#include <QPainter>

#include <algorithm>

namespace ferncastle {

namespace {

// Numbering every fifth track where the numbers fit, less often where the
// cells are narrow.
int axisStep(int cellWidth, int numberWidth)
{
    for (int step : {5, 10, 20, 50})
        if (step * cellWidth >= numberWidth)
            return step;
    return 100;
}

} // namespace

void TrackGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintLabels(painter);
    paintCells(painter);
    paintOutlines(painter);
    paintLegend(painter);
}

void TrackGrid::paintLabels(QPainter &painter) const
{
    painter.setPen(palette().color(QPalette::WindowText));
    for (int side = 0; side < m_model.sides; ++side) {
        const QRect row = cellRect(0, side);
        painter.drawText(QRect(margin, row.top(), labelWidth() - 4, row.height()),
                         Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Side %1").arg(side));
    }
    const int numberWidth = fontMetrics().horizontalAdvance(QStringLiteral("000")) + 4;
    const int step = axisStep(cellWidth(), numberWidth);
    for (int track = 0; track < m_model.tracks; track += step)
        painter.drawText(QRect(cellRect(track, 0).left(), margin, numberWidth, axisHeight()),
                         Qt::AlignLeft | Qt::AlignBottom, QString::number(track));
}

// A pixel of background between cells keeps neighbours of one state apart.
void TrackGrid::paintCells(QPainter &painter) const
{
    for (int track = 0; track < m_model.tracks; ++track)
        for (int side = 0; side < m_model.sides; ++side)
            paintCell(painter, cellRect(track, side).adjusted(0, 0, -1, -1),
                      m_model.cell(track, side).state);
}

void TrackGrid::paintOutlines(QPainter &painter) const
{
    painter.setBrush(Qt::NoBrush);
    if (m_model.currentTrack >= 0 && m_model.currentTrack < m_model.tracks
        && m_model.currentSide >= 0 && m_model.currentSide < m_model.sides) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
        painter.drawRect(
            cellRect(m_model.currentTrack, m_model.currentSide).adjusted(0, 0, -1, -1));
    }
    if (m_track >= 0) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.drawRect(cellRect(m_track, m_side).adjusted(1, 1, -2, -2));
    }
}

// The swatches are cells painted as the grid paints them, marks and all.
void TrackGrid::paintLegend(QPainter &painter) const
{
    const int swatch = fontMetrics().height();
    const QList<QPoint> places = legendPlaces(width());
    for (qsizetype i = 0; i < places.size(); ++i) {
        const LegendEntry &entry = m_model.legend.at(i);
        const QPoint at = places.at(i);
        paintCell(painter, QRect(at.x(), at.y() + 2, swatch, swatch), entry.state);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(at.x() + swatch + swatchGap, at.y(),
                               fontMetrics().horizontalAdvance(entry.words) + 2, legendRowHeight()),
                         Qt::AlignLeft | Qt::AlignVCenter, entry.words);
    }
}

} // namespace ferncastle
