#pragma once

#include "core/run/runevent.h"

#include <QStringList>

#include <optional>

namespace ferncastle {

// What a run's output added up to, gathered from its events and lines.
struct RunSummary {
    std::optional<RunEvent> totals;          // cw2dmk's Totals block
    std::optional<RunEvent> converterTotals; // dmk2jv3's "N total errors, M total warnings"
    QList<RunEvent> problems;                // TrackProblem events, in order
    QStringList planChanges;                 // plan lines, restarts, early ends
    QStringList notes;
    int tracksReported = 0;                  // TrackDone and TrackWritten events
    QString lastErrorLine;                   // the last non-blank line on stderr
    QString lastOutputLine;                  // the last non-blank line on stdout
    QString cardFix;                         // see cardmessages.h

    void add(const RunEvent &event);
};

} // namespace ferncastle
