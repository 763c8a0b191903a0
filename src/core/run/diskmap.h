#pragma once

#include "core/run/imagefindings.h"
#include "core/run/runevent.h"

#include <QList>

namespace ferncastle {

enum class RunTrackState {
    NotRead,
    Clean,
    AfterRetries,
    Unrecovered,
    Unformatted,
    NotInImage, // the tool reported sectors the image it wrote does not hold
};

struct TrackCell {
    RunTrackState state = RunTrackState::NotRead;
    int good = 0;
    int errors = 0;
};

// The disk as a run has seen it so far: one cell per track and side, the
// last result the tool gave for it deciding its state. A plan read from an
// image, or a track count the user set, sets the size; a guessed one (the
// tool's first try of 88 tracks) does not, and the map grows to the tracks
// the tool reports.
class DiskMap
{
public:
    // The track and side counts the user set on the command line (0: not
    // set); a guessed plan the tool prints later does not override them.
    void setKnownSize(int tracks, int sides);
    void apply(const RunEvent &event);
    // The run has ended (completed: on its own, not stopped or failed): a
    // second side nothing was ever read from is not shown as unread, the
    // tool found the disk single-sided.
    void finish(bool completed);
    // The image the run wrote, read back: a track the tool reported good
    // sectors for but that holds none in the image is marked so, never left
    // looking good (a read that restarted reports track 0 and writes it
    // empty).
    void holdAgainst(const CellCounts &held);

    int tracks() const { return m_tracks; }
    int sides() const { return m_sides; }
    TrackCell cell(int track, int side) const;
    // The cell being read or written now; track -1 when none.
    int currentTrack() const { return m_currentTrack; }
    int currentSide() const { return m_currentSide; }

    int cellsDone() const;
    int cellsPlanned() const { return m_tracks * m_sides; }
    // The cells the whole disk has, as far as that is known: 0 while the
    // track count is only the tool's guess.
    int cellsExpected() const;
    // Cylinders whose every side is done, and those with one side done.
    int wholeCylindersDone() const;
    int halfCylindersDone() const;
    QList<std::pair<int, int>> cellsIn(RunTrackState state) const;

private:
    void planned(const RunEvent &event);
    void resize(int tracks, int sides);
    // Grows the map to hold the cell and returns it; null when the cell is
    // outside any disk.
    TrackCell *reach(int track, int side);
    void started(const RunEvent &event);
    void done(const RunEvent &event);
    bool sideTouched(int side) const;

    int m_tracks = 0;
    int m_sides = 0;
    QList<TrackCell> m_cells; // track-major: track * sides + side
    int m_currentTrack = -1;
    int m_currentSide = -1;
    bool m_sidesCertain = false;
    bool m_tracksCertain = false;
    int m_expectedTracks = 0; // when certain: the tracks the disk has
    int m_knownTracks = 0;
    int m_knownSides = 0;
};

} // namespace ferncastle
