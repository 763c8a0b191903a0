#pragma once

#include "forms/grid/gridpalette.h"

#include <QList>
#include <QString>

namespace ferncastle {

class DiskMap;
struct DiskImage;

struct GridCell {
    CellState state = CellState::NotRead;
    QString description; // the tooltip, and what a screen reader says
};

struct LegendEntry {
    CellState state;
    QString words;
};

// What the track grid paints: a cell per track (across) and side (down),
// the cell being worked on, and the legend in the words of the window
// that shows it.
struct GridModel {
    int tracks = 0;
    int sides = 0;
    QList<GridCell> cells; // track-major: track * sides + side
    int currentTrack = -1; // outlined; -1 when none
    int currentSide = -1;
    QList<LegendEntry> legend;

    GridCell cell(int track, int side) const;
    // The cell as a screen reader names it: its place and the legend's
    // words for its state, "track 44 side 1: CRC errors or damage".
    QString spokenCell(int track, int side) const;
};

// A run's disk map as far as the tool has reported it.
GridModel gridModelOf(const DiskMap &map);
// An image's tracks as the reader found them.
GridModel gridModelOf(const DiskImage &image);

} // namespace ferncastle
