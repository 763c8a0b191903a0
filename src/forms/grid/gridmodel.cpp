#include "forms/grid/gridmodel.h"

#include "core/image/imagereport.h"
#include "core/run/diskmap.h"

#include <utility>

namespace ferncastle {

namespace {

struct RunStateRow {
    RunTrackState run;
    CellState cell;
    const char *words;
};

// Legend order: the run window has always listed them so.
constexpr RunStateRow runStates[] = {
    {RunTrackState::Clean, CellState::Good, "read cleanly"},
    {RunTrackState::AfterRetries, CellState::Retried, "read after retries"},
    {RunTrackState::Unrecovered, CellState::Bad, "unrecovered errors"},
    {RunTrackState::Unformatted, CellState::Unformatted, "unformatted"},
    {RunTrackState::NotRead, CellState::NotRead, "not read"},
    {RunTrackState::NotInImage, CellState::Missing, "reported read, not in the image"},
};

const RunStateRow &rowOf(RunTrackState state)
{
    for (const RunStateRow &row : runStates)
        if (row.run == state)
            return row;
    return runStates[std::size(runStates) - 1];
}

CellState cellStateOf(TrackState state)
{
    switch (state) {
    case TrackState::Good: return CellState::Good;
    case TrackState::Bad: return CellState::Bad;
    case TrackState::MissingSectors: return CellState::Missing;
    case TrackState::Empty: break;
    }
    return CellState::Unformatted;
}

GridCell imageCell(const DiskImage &image, int track, int side)
{
    if (const TrackInfo *info = image.track(track, side))
        return {cellStateOf(trackState(*info)), trackDescription(*info)};
    return {CellState::NotRead,
            QStringLiteral("Track %1 side %2: not in the file").arg(track).arg(side)};
}

QList<LegendEntry> imageLegend(const GridModel &model)
{
    QList<LegendEntry> legend{{CellState::Good, QStringLiteral("all sectors good")},
                              {CellState::Bad, QStringLiteral("CRC errors or damage")},
                              {CellState::Missing, QStringLiteral("missing sectors")},
                              {CellState::Unformatted, QStringLiteral("empty or unformatted")}};
    // Only a cut-short image lacks tracks its geometry counts.
    for (const GridCell &cell : model.cells)
        if (cell.state == CellState::NotRead)
            return legend << LegendEntry{CellState::NotRead, QStringLiteral("not in the file")};
    return legend;
}

} // namespace

GridCell GridModel::cell(int track, int side) const
{
    if (track < 0 || side < 0 || track >= tracks || side >= sides
        || track * sides + side >= cells.size())
        return {};
    return cells.at(track * sides + side);
}

QString GridModel::spokenCell(int track, int side) const
{
    const GridCell shown = cell(track, side);
    QString state = shown.description;
    for (const LegendEntry &entry : legend) {
        if (entry.state == shown.state) {
            state = entry.words;
            break;
        }
    }
    return QStringLiteral("track %1 side %2: %3").arg(track).arg(side).arg(state);
}

GridModel gridModelOf(const DiskMap &map)
{
    GridModel model;
    model.tracks = map.tracks();
    model.sides = map.sides();
    for (int track = 0; track < map.tracks(); ++track) {
        for (int side = 0; side < map.sides(); ++side) {
            const TrackCell cell = map.cell(track, side);
            const RunStateRow &row = rowOf(cell.state);
            model.cells.append({row.cell, QStringLiteral("Track %1, side %2: %3 (%4 good, %5 bad)")
                                              .arg(track)
                                              .arg(side)
                                              .arg(QLatin1String(row.words))
                                              .arg(cell.good)
                                              .arg(cell.errors)});
        }
    }
    model.currentTrack = map.currentTrack();
    model.currentSide = map.currentSide();
    // Only a read-back that contradicts the run adds its mark to the legend.
    const bool contradicted = !map.cellsIn(RunTrackState::NotInImage).isEmpty();
    for (const RunStateRow &row : runStates)
        if (row.run != RunTrackState::NotInImage || contradicted)
            model.legend.append({row.cell, QLatin1String(row.words)});
    return model;
}

GridModel gridModelOf(const DiskImage &image)
{
    GridModel model;
    model.tracks = image.geometry.tracks;
    model.sides = image.geometry.sides;
    for (int track = 0; track < model.tracks; ++track)
        for (int side = 0; side < model.sides; ++side)
            model.cells.append(imageCell(image, track, side));
    model.legend = imageLegend(model);
    return model;
}

} // namespace ferncastle
