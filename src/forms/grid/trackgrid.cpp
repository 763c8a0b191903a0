#include "forms/grid/trackgrid.h"

#include "forms/common/accessiblenames.h"

#include <QAccessible>

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace ferncastle {

namespace {

constexpr int minCellWidth = 3;
constexpr int preferredCellWidth = 10;
constexpr int maxCellWidth = 20;
constexpr int spokenLimit = 20; // tracks a screen reader lists before "and N more"

} // namespace

TrackGrid::TrackGrid(QWidget *parent) : QWidget(parent)
{
    installAccessibleForms();
    setObjectName(QStringLiteral("trackGrid"));
    setAccessibleName(QStringLiteral("Track map"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    describeForScreenReaders();
}

void TrackGrid::setModel(GridModel model)
{
    const bool resized = model.tracks != m_model.tracks || model.sides != m_model.sides;
    m_model = std::move(model);
    m_track = m_side = -1;
    const int rows = legendRows(width());
    if (resized || rows != m_legendRows) {
        m_legendRows = rows;
        updateGeometry();
    }
    describeForScreenReaders();
    update();
}

void TrackGrid::setSelectable(bool selectable)
{
    m_selectable = selectable;
    setFocusPolicy(selectable ? Qt::StrongFocus : Qt::NoFocus);
}

void TrackGrid::select(int track, int side)
{
    if (!m_selectable || track < 0 || side < 0 || track >= m_model.tracks
        || side >= m_model.sides)
        return;
    if (track == m_track && side == m_side)
        return;
    m_track = track;
    m_side = side;
    update();
    QAccessibleEvent selected(this, QAccessible::Selection);
    selected.setChild(side * m_model.tracks + track);
    QAccessible::updateAccessibility(&selected);
    Q_EMIT cellSelected(track, side);
}

// Measured from the font, so a large one does not run labels into cells.
int TrackGrid::labelWidth() const
{
    return fontMetrics().horizontalAdvance(QStringLiteral("Side 0")) + 8;
}

int TrackGrid::axisHeight() const
{
    return fontMetrics().height();
}

int TrackGrid::cellHeight() const
{
    return std::max(16, fontMetrics().height() + 4);
}

int TrackGrid::cellWidth() const
{
    if (m_model.tracks == 0)
        return preferredCellWidth;
    const int available = width() - labelWidth() - 2 * margin;
    return std::clamp(available / m_model.tracks, minCellWidth, maxCellWidth);
}

QRect TrackGrid::cellRect(int track, int side) const
{
    const int w = cellWidth();
    return {margin + labelWidth() + track * w, margin + axisHeight() + side * cellHeight(), w,
            cellHeight()};
}

int TrackGrid::gridHeight() const
{
    return margin + axisHeight() + std::max(1, m_model.sides) * cellHeight();
}

int TrackGrid::legendRowHeight() const
{
    return fontMetrics().height() + 4;
}

QList<QPoint> TrackGrid::legendPlaces(int width) const
{
    const int swatch = fontMetrics().height();
    QList<QPoint> places;
    QPoint at(margin, gridHeight() + margin);
    for (const LegendEntry &entry : m_model.legend) {
        const int entryWidth = swatch + swatchGap + fontMetrics().horizontalAdvance(entry.words);
        if (at.x() > margin && at.x() + entryWidth > width - margin)
            at = {margin, at.y() + legendRowHeight()};
        places.append(at);
        at.rx() += entryWidth + entryGap;
    }
    return places;
}

int TrackGrid::legendRows(int width) const
{
    const QList<QPoint> places = legendPlaces(width);
    if (places.isEmpty())
        return 0;
    return (places.constLast().y() - places.constFirst().y()) / legendRowHeight() + 1;
}

int TrackGrid::heightFor(int legendRows) const
{
    return gridHeight() + margin + legendRows * legendRowHeight() + margin;
}

QSize TrackGrid::sizeHint() const
{
    return {labelWidth() + 2 * margin + std::max(40, m_model.tracks) * preferredCellWidth,
            heightFor(m_legendRows)};
}

QSize TrackGrid::minimumSizeHint() const
{
    return {labelWidth() + 2 * margin + std::max(40, m_model.tracks) * minCellWidth,
            heightFor(m_legendRows)};
}

void TrackGrid::resizeEvent(QResizeEvent *event)
{
    const int rows = legendRows(width());
    if (rows != m_legendRows) {
        m_legendRows = rows;
        updateGeometry();
    }
    QWidget::resizeEvent(event);
}

QPoint TrackGrid::cellAt(QPoint position) const
{
    const QRect first = cellRect(0, 0);
    if (position.x() < first.left() || position.y() < first.top())
        return {-1, -1};
    const int track = (position.x() - first.left()) / first.width();
    const int side = (position.y() - first.top()) / first.height();
    if (track >= m_model.tracks || side >= m_model.sides)
        return {-1, -1};
    return {track, side};
}

void TrackGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint cell = cellAt(event->position().toPoint());
    select(cell.x(), cell.y());
}

void TrackGrid::keyPressEvent(QKeyEvent *event)
{
    const int track = std::max(0, m_track);
    const int side = std::max(0, m_side);
    switch (m_selectable ? event->key() : 0) {
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

// Hovering a cell says what is known of its track.
bool TrackGrid::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QPoint cell = cellAt(help->pos());
    if (cell.x() >= 0)
        QToolTip::showText(help->globalPos(), m_model.cell(cell.x(), cell.y()).description, this);
    else
        QToolTip::hideText();
    return true;
}

// A picture says nothing to a screen reader: the tracks that are not good
// are listed in words instead.
void TrackGrid::describeForScreenReaders()
{
    QStringList notable;
    for (const GridCell &cell : std::as_const(m_model.cells))
        if (lookOf(cell.state).notable)
            notable.append(cell.description);
    QString text = QStringLiteral("No track with a problem.");
    if (!notable.isEmpty()) {
        const qsizetype more = notable.size() - spokenLimit;
        text = QStringLiteral("Tracks with a problem: ")
               + notable.mid(0, spokenLimit).join(QStringLiteral("; "))
               + (more > 0 ? QStringLiteral("; and %1 more.").arg(more) : QStringLiteral("."));
    }
    if (accessibleDescription() != text)
        setAccessibleDescription(text);
}

} // namespace ferncastle
