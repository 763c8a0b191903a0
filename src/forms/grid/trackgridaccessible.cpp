#include "forms/grid/trackgridaccessible.h"

#include "forms/grid/trackgrid.h"

#include <QPointer>

namespace ferncastle {

namespace {

class TrackCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    TrackCellAccessible(TrackGrid *grid, int track, int side)
        : m_grid(grid), m_track(track), m_side(side)
    {
    }

    bool isValid() const override
    {
        return m_grid && m_track < m_grid->model().tracks && m_side < m_grid->model().sides;
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override
    {
        return m_grid ? m_grid->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return {};
        if (t == QAccessible::Name)
            return m_grid->model().spokenCell(m_track, m_side);
        if (t == QAccessible::Description)
            return m_grid->model().cell(m_track, m_side).description;
        return {};
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect cell = m_grid->cellRect(m_track, m_side);
        return {m_grid->mapToGlobal(cell.topLeft()), cell.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = m_grid && m_grid->focusPolicy() != Qt::NoFocus;
        state.selected = isSelected();
        state.invisible = !m_grid || !m_grid->isVisible();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override
    {
        return m_grid && m_grid->selectedTrack() == m_track && m_grid->selectedSide() == m_side;
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_track; }
    int rowIndex() const override { return m_side; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QPointer<TrackGrid> m_grid;
    int m_track;
    int m_side;
};

quint32 placeKey(int track, int side)
{
    return quint32(track) << 8 | quint32(side);
}

} // namespace

TrackGridAccessible::TrackGridAccessible(TrackGrid *grid) : QAccessibleWidget(grid, QAccessible::Table)
{
}

TrackGridAccessible::~TrackGridAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

TrackGrid *TrackGridAccessible::grid() const
{
    return static_cast<TrackGrid *>(widget());
}

void *TrackGridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int TrackGridAccessible::rowCount() const
{
    return grid()->model().sides;
}

int TrackGridAccessible::columnCount() const
{
    return grid()->model().tracks;
}

int TrackGridAccessible::childCount() const
{
    return rowCount() * columnCount();
}

// Row by row, as a table's children are read.
QAccessibleInterface *TrackGridAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    return cellAt(index / columnCount(), index % columnCount());
}

int TrackGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const QAccessibleTableCellInterface *cell = child ? const_cast<QAccessibleInterface *>(child)->tableCellInterface() : nullptr;
    if (!cell || child->parent() != this)
        return -1;
    return cell->rowIndex() * columnCount() + cell->columnIndex();
}

QAccessibleInterface *TrackGridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return nullptr;
    const quint32 key = placeKey(column, row);
    if (const auto found = m_cells.constFind(key); found != m_cells.cend())
        return QAccessible::accessibleInterface(*found);
    auto *cell = new TrackCellAccessible(grid(), column, row);
    m_cells.insert(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
}

QAccessibleInterface *TrackGridAccessible::childAt(int x, int y) const
{
    for (int side = 0; side < rowCount(); ++side) {
        for (int track = 0; track < columnCount(); ++track) {
            const QRect cell = grid()->cellRect(track, side);
            if (QRect(grid()->mapToGlobal(cell.topLeft()), cell.size()).contains(x, y))
                return cellAt(side, track);
        }
    }
    return nullptr;
}

int TrackGridAccessible::selectedCellCount() const
{
    return grid()->selectedTrack() >= 0 ? 1 : 0;
}

QList<QAccessibleInterface *> TrackGridAccessible::selectedCells() const
{
    if (grid()->selectedTrack() < 0)
        return {};
    return {cellAt(grid()->selectedSide(), grid()->selectedTrack())};
}

QString TrackGridAccessible::columnDescription(int column) const
{
    return QStringLiteral("track %1").arg(column);
}

QString TrackGridAccessible::rowDescription(int row) const
{
    return QStringLiteral("side %1").arg(row);
}

} // namespace ferncastle
