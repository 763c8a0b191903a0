#pragma once

#include <QList>
#include <QPoint>
#include <QWidget>

namespace ferncastle {

class TrackGrid;

// Drawn over a map rather than in it, so several panels can mark the same
// map without changing its model: a marked cell gets a thick frame and a
// cross, so it reads without telling colours.
class CellMarks : public QWidget
{
public:
    explicit CellMarks(TrackGrid &grid);

    // Tracks (x) and sides (y).
    void setCells(const QList<QPoint> &cells);
    QList<QPoint> cells() const { return m_cells; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    TrackGrid &m_grid;
    QList<QPoint> m_cells;
};

} // namespace ferncastle
