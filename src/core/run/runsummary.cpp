#include "core/run/runsummary.h"

namespace ferncastle {

void RunSummary::add(const RunEvent &event)
{
    switch (event.kind) {
    case RunEventKind::Totals:
        totals = event;
        break;
    case RunEventKind::ConverterTotals:
        converterTotals = event;
        break;
    case RunEventKind::TrackProblem:
        problems.append(event);
        break;
    case RunEventKind::Plan:
    case RunEventKind::TracksLimited:
    case RunEventKind::Restart:
        planChanges.append(event.text);
        break;
    case RunEventKind::Note:
        notes.append(event.text);
        break;
    case RunEventKind::TrackDone:
    case RunEventKind::TrackWritten:
        ++tracksReported;
        break;
    default:
        break;
    }
}

} // namespace ferncastle
