#pragma once

#include "core/run/diskmap.h"

#include <QWidget>

namespace ferncastle {

// The disk map as a grid: one small square per track (columns) and side
// (rows), coloured by state, the cell being read outlined, a legend below.
// Painted from a copy of the map; hundreds of cells are one widget.
class RunTrackGrid : public QWidget
{
    Q_OBJECT

public:
    explicit RunTrackGrid(QWidget *parent = nullptr);

    void setMap(const DiskMap &map);
    const DiskMap &map() const { return m_map; }

    static QColor colourOf(RunTrackState state);
    static QString nameOf(RunTrackState state);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    QRect cellRect(int track, int side) const;
    int cellWidth() const;
    void paintCells(QPainter &painter) const;
    void paintLegend(QPainter &painter) const;

    DiskMap m_map;
};

} // namespace ferncastle
