#pragma once

#include "forms/grid/gridmodel.h"

#include <QWidget>

namespace ferncastle {

// The disk map: one cell per track (across) and side (down) in the state's
// colour and mark, the cell being worked on outlined, the legend below.
// A selectable grid lets the user pick a cell by click or arrow keys.
// Hundreds of cells are one widget painting rectangles.
class TrackGrid : public QWidget
{
    Q_OBJECT

public:
    explicit TrackGrid(QWidget *parent = nullptr);

    // A new model clears the selection.
    void setModel(GridModel model);
    const GridModel &model() const { return m_model; }

    void setSelectable(bool selectable);
    int selectedTrack() const { return m_track; }
    int selectedSide() const { return m_side; }
    void select(int track, int side);

    QRect cellRect(int track, int side) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void cellSelected(int track, int side);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    static constexpr int margin = 4;
    static constexpr int swatchGap = 4; // between a legend swatch and its words
    static constexpr int entryGap = 14; // between legend entries

    int labelWidth() const;
    int axisHeight() const;
    int cellHeight() const;
    int cellWidth() const;
    int gridHeight() const;
    int legendRowHeight() const;
    // Where each legend entry starts, below the cells, flowing into rows.
    QList<QPoint> legendPlaces(int width) const;
    int legendRows(int width) const;
    int heightFor(int legendRows) const;
    QPoint cellAt(QPoint position) const;
    void paintLabels(QPainter &painter) const;
    void paintCells(QPainter &painter) const;
    void paintOutlines(QPainter &painter) const;
    void paintLegend(QPainter &painter) const;
    void describeForScreenReaders();

    GridModel m_model;
    bool m_selectable = false;
    int m_track = -1;
    int m_side = -1;
    int m_legendRows = 0;
};

} // namespace ferncastle
