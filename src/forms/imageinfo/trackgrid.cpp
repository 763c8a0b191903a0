#include "forms/imageinfo/trackgrid.h"

#include "forms/common/plaintext.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace ferncastle {

namespace {

constexpr int leftMargin = 52;  // room for "Side 0"
constexpr int topMargin = 18;   // room for track numbers
constexpr int cellHeight = 22;
constexpr int minCellWidth = 6;
constexpr int preferredCellWidth = 10;
constexpr int maxCellWidth = 24;

} // namespace

TrackGrid::TrackGrid(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("trackGrid"));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TrackGrid::setImage(const DiskImage &image)
{
    m_tracks = image.geometry.tracks;
    m_sides = image.geometry.sides;
    m_states.clear();
    m_descriptions.clear();
    for (int t = 0; t < m_tracks; ++t) {
        for (int s = 0; s < m_sides; ++s) {
            const TrackInfo *track = image.track(t, s);
            m_states.append(track ? trackState(*track) : TrackState::Empty);
            m_descriptions.append(track ? trackDescription(*track)
                                        : QStringLiteral("Track %1 side %2: not in the file")
                                              .arg(t)
                                              .arg(s));
        }
    }
    m_track = m_side = -1;
    updateGeometry();
    update();
}

TrackState TrackGrid::cellState(int track, int side) const
{
    const int index = track * m_sides + side;
    if (track < 0 || side < 0 || side >= m_sides || index >= m_states.size())
        return TrackState::Empty;
    return m_states[index];
}

QColor TrackGrid::stateColor(TrackState state)
{
    switch (state) {
    case TrackState::Good:
        return QColor(0x43, 0xa0, 0x47);
    case TrackState::Bad:
        return QColor(0xe5, 0x39, 0x35);
    case TrackState::MissingSectors:
        return QColor(0xff, 0xa7, 0x26);
    case TrackState::Empty:
        break;
    }
    return QColor(0xbd, 0xbd, 0xbd);
}

int TrackGrid::cellWidth() const
{
    if (m_tracks == 0)
        return preferredCellWidth;
    return qBound(minCellWidth, (width() - leftMargin - 1) / m_tracks, maxCellWidth);
}

QRect TrackGrid::cellRect(int track, int side) const
{
    const int w = cellWidth();
    return QRect(leftMargin + track * w, topMargin + side * cellHeight, w, cellHeight);
}

QPoint TrackGrid::cellAt(QPoint position) const
{
    const int track = (position.x() - leftMargin) / cellWidth();
    const int side = (position.y() - topMargin) / cellHeight;
    if (position.x() < leftMargin || position.y() < topMargin || track >= m_tracks
        || side >= m_sides)
        return {-1, -1};
    return {track, side};
}

void TrackGrid::select(int track, int side)
{
    if (track < 0 || side < 0 || track >= m_tracks || side >= m_sides)
        return;
    if (track == m_track && side == m_side)
        return;
    m_track = track;
    m_side = side;
    update();
    Q_EMIT cellSelected(track, side);
}

QSize TrackGrid::sizeHint() const
{
    return {leftMargin + qMax(1, m_tracks) * preferredCellWidth + 1,
            topMargin + qMax(1, m_sides) * cellHeight + 1};
}

QSize TrackGrid::minimumSizeHint() const
{
    return {leftMargin + qMax(1, m_tracks) * minCellWidth + 1,
            topMargin + qMax(1, m_sides) * cellHeight + 1};
}

void TrackGrid::paintLabels(QPainter &painter) const
{
    painter.setPen(palette().color(QPalette::WindowText));
    for (int s = 0; s < m_sides; ++s)
        painter.drawText(QRect(0, topMargin + s * cellHeight, leftMargin - 4, cellHeight),
                         Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Side %1").arg(s));
    const int step = cellWidth() >= 10 ? 5 : 10;
    for (int t = 0; t < m_tracks; t += step)
        painter.drawText(QRect(leftMargin + t * cellWidth(), 0, 40, topMargin),
                         Qt::AlignLeft | Qt::AlignBottom, QString::number(t));
}

void TrackGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintLabels(painter);
    const QColor border = palette().color(QPalette::Window);
    for (int t = 0; t < m_tracks; ++t) {
        for (int s = 0; s < m_sides; ++s) {
            const QRect cell = cellRect(t, s);
            painter.fillRect(cell, stateColor(cellState(t, s)));
            painter.setPen(border);
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    if (m_track >= 0) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.drawRect(cellRect(m_track, m_side).adjusted(1, 1, -2, -2));
    }
}

void TrackGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint cell = cellAt(event->position().toPoint());
    select(cell.x(), cell.y());
}

void TrackGrid::keyPressEvent(QKeyEvent *event)
{
    const int track = qMax(0, m_track);
    const int side = qMax(0, m_side);
    switch (event->key()) {
    case Qt::Key_Left:
        return select(track - 1, side);
    case Qt::Key_Right:
        return select(m_track < 0 ? 0 : track + 1, side);
    case Qt::Key_Up:
        return select(track, side - 1);
    case Qt::Key_Down:
        return select(track, m_side < 0 ? 0 : side + 1);
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TrackGrid::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QPoint cell = cellAt(help->pos());
        if (cell.x() >= 0)
            QToolTip::showText(help->globalPos(),
                               richTextShowingPlainText(m_descriptions[cell.x() * m_sides + cell.y()]),
                               this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace ferncastle
