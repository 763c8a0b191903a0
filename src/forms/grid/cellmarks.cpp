#include "forms/grid/cellmarks.h"

#include "forms/grid/trackgrid.h"

#include <QEvent>
#include <QPainter>

namespace ferncastle {

CellMarks::CellMarks(TrackGrid &grid) : QWidget(&grid), m_grid(grid)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    grid.installEventFilter(this);
    setGeometry(grid.rect());
}

void CellMarks::setCells(const QList<QPoint> &cells)
{
    m_cells = cells;
    setGeometry(m_grid.rect());
    raise();
    update();
}

bool CellMarks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_grid && event->type() == QEvent::Resize)
        setGeometry(m_grid.rect());
    return false;
}

void CellMarks::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
    for (const QPoint &cell : std::as_const(m_cells)) {
        const QRect rect = m_grid.cellRect(cell.x(), cell.y()).adjusted(1, 1, -1, -1);
        painter.drawRect(rect);
        painter.drawLine(rect.topLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomLeft());
    }
}

} // namespace ferncastle
