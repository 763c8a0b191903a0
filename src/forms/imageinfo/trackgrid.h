#pragma once

#include "core/image/imagereport.h"

#include <QColor>
#include <QWidget>

namespace ferncastle {

// The disk map: one cell per track (across) and side (down), coloured by
// the track's state. Click a cell or move with the arrow keys to select it.
class TrackGrid : public QWidget
{
    Q_OBJECT

public:
    explicit TrackGrid(QWidget *parent = nullptr);

    void setImage(const DiskImage &image);

    int tracks() const { return m_tracks; }
    int sides() const { return m_sides; }
    TrackState cellState(int track, int side) const;
    QRect cellRect(int track, int side) const;
    int selectedTrack() const { return m_track; }
    int selectedSide() const { return m_side; }
    void select(int track, int side);

    static QColor stateColor(TrackState state);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void cellSelected(int track, int side);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int cellWidth() const;
    QPoint cellAt(QPoint position) const;
    void paintLabels(class QPainter &painter) const;

    int m_tracks = 0;
    int m_sides = 0;
    QList<TrackState> m_states;
    QStringList m_descriptions;
    int m_track = -1;
    int m_side = -1;
};

} // namespace ferncastle
