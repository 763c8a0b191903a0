#include "forms/run/runtrackgrid.h"

#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <array>

namespace ferncastle {

namespace {

constexpr int margin = 4;
constexpr int labelWidth = 44;
constexpr int cellHeight = 16;
constexpr int axisHeight = 14;
constexpr int legendHeight = 18;
constexpr int minCellWidth = 3;
constexpr int maxCellWidth = 14;

constexpr std::array legendStates{RunTrackState::Clean, RunTrackState::AfterRetries,
                                  RunTrackState::Unrecovered, RunTrackState::Unformatted,
                                  RunTrackState::NotRead};

} // namespace

RunTrackGrid::RunTrackGrid(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void RunTrackGrid::setMap(const DiskMap &map)
{
    const bool resized = map.tracks() != m_map.tracks() || map.sides() != m_map.sides();
    m_map = map;
    if (resized)
        updateGeometry();
    update();
}

QColor RunTrackGrid::colourOf(RunTrackState state)
{
    switch (state) {
    case RunTrackState::Clean: return QColor(0x2e, 0x9d, 0x3c);
    case RunTrackState::AfterRetries: return QColor(0xe0, 0xb0, 0x00);
    case RunTrackState::Unrecovered: return QColor(0xd0, 0x24, 0x24);
    case RunTrackState::Unformatted: return QColor(0x7d, 0x8c, 0xa3);
    case RunTrackState::NotRead: break;
    }
    return QColor(0xdd, 0xdd, 0xdd);
}

QString RunTrackGrid::nameOf(RunTrackState state)
{
    switch (state) {
    case RunTrackState::Clean: return QStringLiteral("read cleanly");
    case RunTrackState::AfterRetries: return QStringLiteral("read after retries");
    case RunTrackState::Unrecovered: return QStringLiteral("unrecovered errors");
    case RunTrackState::Unformatted: return QStringLiteral("unformatted");
    case RunTrackState::NotRead: break;
    }
    return QStringLiteral("not read");
}

QSize RunTrackGrid::sizeHint() const
{
    const int sides = std::max(1, m_map.sides());
    return {labelWidth + std::max(40, m_map.tracks()) * 8 + 2 * margin,
            2 * margin + sides * cellHeight + axisHeight + legendHeight};
}

QSize RunTrackGrid::minimumSizeHint() const
{
    return {labelWidth + 2 * margin + 40 * minCellWidth, sizeHint().height()};
}

int RunTrackGrid::cellWidth() const
{
    if (m_map.tracks() == 0)
        return maxCellWidth;
    const int available = width() - labelWidth - 2 * margin;
    return std::clamp(available / m_map.tracks(), minCellWidth, maxCellWidth);
}

QRect RunTrackGrid::cellRect(int track, int side) const
{
    const int widthEach = cellWidth();
    return {labelWidth + margin + track * widthEach, margin + side * cellHeight, widthEach - 1,
            cellHeight - 2};
}

void RunTrackGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintCells(painter);
    paintLegend(painter);
}

void RunTrackGrid::paintCells(QPainter &painter) const
{
    painter.setPen(palette().color(QPalette::WindowText));
    for (int side = 0; side < m_map.sides(); ++side)
        painter.drawText(QRect(margin, margin + side * cellHeight, labelWidth, cellHeight),
                         Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Side %1").arg(side));
    for (int track = 0; track < m_map.tracks(); ++track) {
        for (int side = 0; side < m_map.sides(); ++side)
            painter.fillRect(cellRect(track, side), colourOf(m_map.cell(track, side).state));
        if (track % 10 == 0) {
            const QRect below = cellRect(track, m_map.sides());
            painter.drawText(QRect(below.left(), below.top(), 30, axisHeight),
                             Qt::AlignLeft | Qt::AlignTop, QString::number(track));
        }
    }
    if (m_map.currentTrack() >= 0 && m_map.currentSide() < m_map.sides()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
        painter.drawRect(cellRect(m_map.currentTrack(), m_map.currentSide()).adjusted(0, 0, -1, -1));
    }
}

void RunTrackGrid::paintLegend(QPainter &painter) const
{
    int x = margin;
    const int y = height() - legendHeight;
    painter.setPen(palette().color(QPalette::WindowText));
    for (const RunTrackState state : legendStates) {
        painter.fillRect(QRect(x, y + 4, 10, 10), colourOf(state));
        const QString name = nameOf(state);
        const int textWidth = painter.fontMetrics().horizontalAdvance(name);
        painter.drawText(QRect(x + 14, y, textWidth + 2, legendHeight), Qt::AlignVCenter, name);
        x += 14 + textWidth + 14;
    }
}

// Hovering a cell says what the tool reported for it.
bool RunTrackGrid::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const QPoint at = static_cast<QHelpEvent *>(event)->pos();
    for (int track = 0; track < m_map.tracks(); ++track)
        for (int side = 0; side < m_map.sides(); ++side)
            if (cellRect(track, side).contains(at)) {
                const TrackCell cell = m_map.cell(track, side);
                QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                                   QStringLiteral("Track %1, side %2: %3 (%4 good, %5 bad)")
                                       .arg(track).arg(side).arg(nameOf(cell.state))
                                       .arg(cell.good).arg(cell.errors),
                                   this);
                return true;
            }
    QToolTip::hideText();
    return true;
}

} // namespace ferncastle
