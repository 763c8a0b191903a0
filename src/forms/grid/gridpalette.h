#pragma once

#include "core/run/runverdict.h"

#include <QColor>
#include <QString>

class QIcon;
class QPainter;
class QRect;

namespace ferncastle {

// Every state a track can be shown in, whether a run is reading it or an
// image holds it. The windows' own words for them travel with the model.
enum class CellState { Good, Retried, Missing, Bad, Unformatted, NotRead };

// What is drawn over a cell's colour, so that its state does not depend
// on telling hues apart (red and green look alike to many people).
enum class CellMark { None, Dot, Dash, Cross, Hatch };

struct StateLook {
    QColor fill;
    QColor ink; // the mark, and any text set on the fill
    CellMark mark = CellMark::None;
    bool notable = false; // listed for a screen reader as a track that is not good
};

// The program's one palette: the grid, its legend and the verdict label
// all take their colours from here.
StateLook lookOf(CellState state);

struct VerdictLook {
    QColor background;
    QColor text;
};

VerdictLook verdictLookOf(VerdictKind kind);
// "background:#rrggbb;color:#rrggbb;" for a label's style sheet.
QString verdictStyle(VerdictKind kind);

// One cell: its colour with its mark, inside rect.
void paintCell(QPainter &painter, const QRect &rect, CellState state);

// The cell as a list row's mark, size pixels square. It looks the same when
// the row is selected, so the selection's colours never hide the state.
QIcon stateIcon(CellState state, int size);

} // namespace ferncastle
