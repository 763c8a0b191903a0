#include "forms/grid/gridpalette.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include <algorithm>
#include <array>

namespace ferncastle {

namespace {

struct StateRow {
    CellState state;
    StateLook look;
};

// Hues after Okabe and Ito's set for colour-blind readers, with lightness
// stepped as well, so a grey rendering still tells good from bad before
// the marks do.
const std::array<StateRow, 6> stateTable{{
    {CellState::Good, {QColor(0x4d, 0xaf, 0x4a), Qt::black, CellMark::None, false}},
    {CellState::Retried, {QColor(0xf0, 0xe4, 0x42), Qt::black, CellMark::Dot, true}},
    {CellState::Missing, {QColor(0xe6, 0x9f, 0x00), Qt::black, CellMark::Dash, true}},
    {CellState::Bad, {QColor(0xb2, 0x18, 0x2b), Qt::white, CellMark::Cross, true}},
    {CellState::Unformatted, {QColor(0x5f, 0x6b, 0x7d), QColor(0xd8, 0xdd, 0xe4),
                              CellMark::Hatch, true}},
    {CellState::NotRead, {QColor(0xdd, 0xdd, 0xdd), Qt::black, CellMark::None, false}},
}};

// A square centred in rect, as large as fits: marks keep their shape in
// the narrow cells of a long disk.
QRectF markSquare(const QRect &rect)
{
    const qreal side = std::max(2, std::min(rect.width(), rect.height()) - 2);
    QRectF square(0, 0, side, side);
    square.moveCenter(QRectF(rect).center());
    return square;
}

void paintHatch(QPainter &painter, const QRect &rect)
{
    painter.save();
    painter.setClipRect(rect);
    for (int x = rect.left() - rect.height(); x <= rect.right(); x += 4)
        painter.drawLine(QPointF(x, rect.bottom() + 1), QPointF(x + rect.height() + 1, rect.top()));
    painter.restore();
}

void paintMark(QPainter &painter, const QRect &rect, CellMark mark)
{
    const QRectF square = markSquare(rect);
    switch (mark) {
    case CellMark::Dot:
        painter.setBrush(painter.pen().color());
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(square.center(), square.width() / 3, square.width() / 3);
        return;
    case CellMark::Dash:
        painter.drawLine(QPointF(rect.left() + 1, square.center().y()),
                         QPointF(rect.right(), square.center().y()));
        return;
    case CellMark::Cross:
        painter.drawLine(square.topLeft(), square.bottomRight());
        painter.drawLine(square.bottomLeft(), square.topRight());
        return;
    case CellMark::Hatch:
        paintHatch(painter, rect);
        return;
    case CellMark::None:
        return;
    }
}

} // namespace

StateLook lookOf(CellState state)
{
    for (const StateRow &row : stateTable)
        if (row.state == state)
            return row.look;
    return stateTable.back().look;
}

VerdictLook verdictLookOf(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Good: return {lookOf(CellState::Good).fill, lookOf(CellState::Good).ink};
    case VerdictKind::Warning:
        return {lookOf(CellState::Retried).fill, lookOf(CellState::Retried).ink};
    case VerdictKind::Failure: return {lookOf(CellState::Bad).fill, lookOf(CellState::Bad).ink};
    case VerdictKind::Crashed: return {lookOf(CellState::Bad).fill.darker(160), Qt::white};
    case VerdictKind::Stopped: break;
    }
    return {lookOf(CellState::Unformatted).fill, Qt::white};
}

QString verdictStyle(VerdictKind kind)
{
    const VerdictLook look = verdictLookOf(kind);
    return QStringLiteral("background:%1;color:%2;").arg(look.background.name(), look.text.name());
}

void paintCell(QPainter &painter, const QRect &rect, CellState state)
{
    const StateLook look = lookOf(state);
    painter.fillRect(rect, look.fill);
    if (look.mark == CellMark::None)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int width = std::min(rect.width(), rect.height()) >= 24 ? 2 : 1;
    painter.setPen(QPen(look.ink, width, Qt::SolidLine, Qt::FlatCap));
    paintMark(painter, rect, look.mark);
    painter.restore();
}

QIcon stateIcon(CellState state, int size)
{
    QPixmap pixmap(size, size);
    QPainter painter(&pixmap);
    paintCell(painter, pixmap.rect(), state);
    painter.end();
    QIcon icon;
    for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Active, QIcon::Selected})
        icon.addPixmap(pixmap, mode);
    return icon;
}

} // namespace ferncastle
