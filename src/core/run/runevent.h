#pragma once

#include <QString>

namespace ferncastle {

// What a tool's output said, in the terms the run window and the verdict
// need. Which fields count depends on the kind.
enum class RunEventKind {
    Plan,            // sides, tracks (0 = not said), sidesCertain, text: the plan line
    TrackStarted,    // track, side, pass (0 when the tool has no passes)
    PassFailed,      // track, side, pass, good, errors: a retry follows
    TrackDone,       // track, side, pass, good, errors
    TrackWritten,    // track, side: dmk2cw finished writing it
    TracksLimited,   // tracks: the disk apparently ends there
    SingleSided,     // the tool found only one side
    Restart,         // text: why the tool starts over
    TrackProblem,    // track, side (-1 when none), text, warning
    Totals,          // cw2dmk: goodTracks, goodSectors, badTracks, errors, retries
    ConverterTotals, // dmk2jv3: errors, warnings
    Note,            // text: worth listing, changes nothing
};

struct RunEvent {
    RunEvent() = default;
    explicit RunEvent(RunEventKind eventKind) : kind(eventKind) {}

    RunEventKind kind = RunEventKind::Note;
    int track = -1;
    int side = -1;
    int pass = 0;
    int tracks = 0;
    int sides = 0;
    int good = 0;
    int errors = 0;
    int warnings = 0;
    int goodTracks = 0;
    int goodSectors = 0;
    int badTracks = 0;
    int retries = 0;
    bool warning = false;
    bool sidesCertain = false; // Plan: read from an image, tracks and sides not guessed
    QString text;
};

} // namespace ferncastle
