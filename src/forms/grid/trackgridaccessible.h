#pragma once

#include <QAccessibleWidget>
#include <QHash>

namespace ferncastle {

class TrackGrid;

// The track grid as a screen reader meets it: a table of sides (rows) by
// tracks (columns), each cell named by its place and state ("track 44 side
// 1: CRC errors or damage") with the cell's tooltip as its description.
class TrackGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit TrackGridAccessible(TrackGrid *grid);
    ~TrackGridAccessible() override;

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int columnCount() const override;
    int rowCount() const override;
    int selectedCellCount() const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    // Cells are found by place and read the grid's model when asked, so a
    // new model needs nothing dropped here.
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    TrackGrid *grid() const;

    // One interface per place, made when first asked for; the registry
    // owns them until this goes.
    mutable QHash<quint32, QAccessible::Id> m_cells;
};

} // namespace ferncastle
