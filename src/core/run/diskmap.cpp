#include "core/run/diskmap.h"

#include <algorithm>

namespace ferncastle {

namespace {

// A guard against a garbled line asking for a map of millions of cells.
constexpr int maxTracks = 256;
constexpr int maxSides = 2;

} // namespace

void DiskMap::setKnownSize(int tracks, int sides)
{
    m_knownTracks = std::clamp(tracks, 0, maxTracks);
    m_knownSides = std::clamp(sides, 0, maxSides);
    if (m_knownTracks > 0 && m_knownSides > 0) {
        // The tool prints no plan when it guesses nothing.
        RunEvent plan{RunEventKind::Plan};
        plan.tracks = m_knownTracks;
        plan.sides = m_knownSides;
        planned(plan);
    }
}

void DiskMap::apply(const RunEvent &event)
{
    switch (event.kind) {
    case RunEventKind::Plan:
        planned(event);
        break;
    case RunEventKind::TrackStarted:
        started(event);
        break;
    case RunEventKind::TrackDone:
        done(event);
        break;
    case RunEventKind::TrackWritten:
        if (TrackCell *cell = reach(event.track, event.side);
            cell && cell->state == RunTrackState::NotRead)
            cell->state = RunTrackState::Clean;
        break;
    case RunEventKind::TrackProblem:
        if (TrackCell *cell = event.warning ? nullptr : reach(event.track, event.side)) {
            cell->state = RunTrackState::Unrecovered;
            cell->errors = std::max(cell->errors, 1);
        }
        break;
    case RunEventKind::TracksLimited:
        resize(std::min(event.tracks, m_tracks), m_sides);
        m_tracksCertain = true;
        m_expectedTracks = std::clamp(event.tracks, 0, maxTracks);
        m_currentTrack = m_currentSide = -1;
        break;
    case RunEventKind::SingleSided:
        resize(m_tracks, 1);
        m_sidesCertain = true;
        break;
    default:
        break;
    }
}

void DiskMap::finish(bool completed)
{
    // A run that ended on its own read every track there was: the tracks
    // of a guessed plan beyond the last one reported do not exist.
    if (completed) {
        int last = m_tracks - 1;
        while (last >= 0 && std::all_of(m_cells.cbegin() + last * m_sides,
                                        m_cells.cbegin() + (last + 1) * m_sides,
                                        [](const TrackCell &cell) {
                                            return cell.state == RunTrackState::NotRead;
                                        }))
            --last;
        resize(last + 1, m_sides);
    }
    if (m_sides == 2 && !m_sidesCertain && !sideTouched(1))
        resize(m_tracks, 1);
    // A plan nothing was reported against (a quiet verbosity, a run that
    // failed at once) was only a guess; an empty map says so better than
    // a grid of unread tracks.
    if (cellsDone() == 0)
        resize(0, 0);
    m_currentTrack = m_currentSide = -1;
}

// A plan read from an image, or the user's own count, gives the disk's
// size. The tool's guess only says how far it may go: cw2dmk tries 88
// tracks on a disk that may have 35, so the map starts empty and grows.
void DiskMap::planned(const RunEvent &event)
{
    m_cells.clear();
    m_tracks = m_sides = 0;
    m_sidesCertain = event.sidesCertain || m_knownSides > 0;
    m_tracksCertain = event.sidesCertain || m_knownTracks > 0;
    const int sides = m_knownSides > 0 ? m_knownSides : event.sides;
    m_expectedTracks = m_tracksCertain ? std::clamp(m_knownTracks > 0 ? m_knownTracks
                                                                      : event.tracks,
                                                    0, maxTracks)
                                       : 0;
    resize(m_expectedTracks, sides);
    m_currentTrack = m_currentSide = -1;
}

int DiskMap::cellsExpected() const
{
    if (!m_tracksCertain)
        return 0;
    return std::max(m_expectedTracks, m_tracks) * m_sides;
}

int DiskMap::wholeCylindersDone() const
{
    int whole = 0;
    for (int track = 0; track < m_tracks; ++track)
        whole += std::all_of(m_cells.cbegin() + track * m_sides,
                             m_cells.cbegin() + (track + 1) * m_sides,
                             [](const TrackCell &cell) {
                                 return cell.state != RunTrackState::NotRead;
                             })
                     ? 1
                     : 0;
    return whole;
}

int DiskMap::halfCylindersDone() const
{
    return m_sides == 2 ? cellsDone() - 2 * wholeCylindersDone() : 0;
}

void DiskMap::holdAgainst(const CellCounts &held)
{
    for (int track = 0; track < m_tracks; ++track) {
        for (int side = 0; side < m_sides; ++side) {
            TrackCell &cell = m_cells[qsizetype(track) * m_sides + side];
            const bool lookedGood = cell.state == RunTrackState::Clean
                                    || cell.state == RunTrackState::AfterRetries;
            if (lookedGood && cell.good > 0 && held.value({track, side}) == 0)
                cell.state = RunTrackState::NotInImage;
        }
    }
}

TrackCell DiskMap::cell(int track, int side) const
{
    if (track < 0 || side < 0 || track >= m_tracks || side >= m_sides)
        return {};
    return m_cells.at(track * m_sides + side);
}

int DiskMap::cellsDone() const
{
    return int(std::count_if(m_cells.cbegin(), m_cells.cend(), [](const TrackCell &cell) {
        return cell.state != RunTrackState::NotRead;
    }));
}

QList<std::pair<int, int>> DiskMap::cellsIn(RunTrackState state) const
{
    QList<std::pair<int, int>> found;
    for (int track = 0; track < m_tracks; ++track)
        for (int side = 0; side < m_sides; ++side)
            if (cell(track, side).state == state)
                found.append({track, side});
    return found;
}

void DiskMap::resize(int tracks, int sides)
{
    tracks = std::clamp(tracks, 0, maxTracks);
    sides = std::clamp(sides, 0, maxSides);
    if (tracks == m_tracks && sides == m_sides)
        return;
    QList<TrackCell> cells(qsizetype(tracks) * sides);
    for (int track = 0; track < std::min(tracks, m_tracks); ++track)
        for (int side = 0; side < std::min(sides, m_sides); ++side)
            cells[track * sides + side] = m_cells.at(track * m_sides + side);
    m_cells = cells;
    m_tracks = tracks;
    m_sides = sides;
}

// Every write into the map goes through here: a track or side no disk has
// (a garbled or hostile line) finds no cell and changes nothing.
TrackCell *DiskMap::reach(int track, int side)
{
    if (track < 0 || side < 0 || track >= maxTracks || side >= maxSides)
        return nullptr;
    resize(std::max(m_tracks, track + 1), std::max(m_sides, side + 1));
    if (track >= m_tracks || side >= m_sides)
        return nullptr;
    return &m_cells[qsizetype(track) * m_sides + side];
}

void DiskMap::started(const RunEvent &event)
{
    if (!reach(event.track, event.side))
        return;
    // Going on to side 0 of the next track with side 1 of this one unread
    // means the tool has found the disk single-sided (it says so only at
    // higher verbosity).
    if (m_sides == 2 && !m_sidesCertain && event.side == 0 && event.track > 0 && event.pass <= 1
        && cell(event.track - 1, 0).state != RunTrackState::NotRead && !sideTouched(1)) {
        resize(m_tracks, 1);
        m_sidesCertain = true;
    }
    m_currentTrack = event.track;
    m_currentSide = event.side;
}

void DiskMap::done(const RunEvent &event)
{
    TrackCell *found = reach(event.track, event.side);
    if (!found)
        return;
    TrackCell &cell = *found;
    cell.good = event.good;
    cell.errors = event.errors;
    if (event.errors > 0)
        cell.state = RunTrackState::Unrecovered;
    else if (event.good == 0)
        cell.state = RunTrackState::Unformatted;
    else
        cell.state = event.pass > 1 ? RunTrackState::AfterRetries : RunTrackState::Clean;
}

bool DiskMap::sideTouched(int side) const
{
    if (side >= m_sides)
        return false;
    for (int track = 0; track < m_tracks; ++track)
        if (cell(track, side).state != RunTrackState::NotRead
            || (m_currentTrack == track && m_currentSide == side))
            return true;
    return false;
}

} // namespace ferncastle
