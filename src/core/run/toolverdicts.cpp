#include "core/run/toolverdicts.h"

#include "core/run/diskmap.h"
#include "core/run/runsummary.h"

#include <QStringList>

namespace ferncastle {

namespace {

int endsOfInput(const RunSummary &summary)
{
    int count = 0;
    for (const RunEvent &problem : summary.problems)
        count += problem.text.contains(QLatin1String("End of file on input")) ? 1 : 0;
    return count;
}

} // namespace

QList<AffectedTrack> badTracks(const DiskMap &map)
{
    QList<AffectedTrack> affected;
    for (const auto &[track, side] : map.cellsIn(RunTrackState::Unrecovered))
        affected.append(AffectedTrack{track, side, map.cell(track, side).errors});
    return affected;
}

RunVerdict makeVerdict(VerdictKind kind, const QString &sentence, QList<AffectedTrack> affected)
{
    return RunVerdict{kind, sentence, affected};
}

RunVerdict judgeCw2dmkReport(const RunSummary &summary, const DiskMap &map, bool)
{
    if (!summary.totals)
        return makeVerdict(VerdictKind::Warning,
                       QStringLiteral("cw2dmk ended without its Totals lines, so the read cannot "
                                      "be checked; use verbosity 1 or more."));
    const RunEvent &totals = *summary.totals;
    const QList<AffectedTrack> affected = badTracks(map);
    const QString good = countedNoun(totals.goodTracks, "good track", "good tracks")
                         + QLatin1String(", ")
                         + countedNoun(totals.goodSectors, "good sector", "good sectors");
    if (totals.badTracks == 0 && totals.errors == 0 && affected.isEmpty())
        return makeVerdict(VerdictKind::Good, good + QLatin1String(", no errors."));
    QString sentence = countedNoun(totals.errors, "unrecovered error", "unrecovered errors")
                       + QLatin1String(" in ")
                       + countedNoun(totals.badTracks, "bad track", "bad tracks");
    if (!affected.isEmpty())
        sentence += QLatin1String(": ") + trackList(affected);
    return makeVerdict(VerdictKind::Warning, sentence + QLatin1String("; ") + good + u'.', affected);
}

RunVerdict judgeDmk2jv3Report(const RunSummary &summary, const DiskMap &map, bool imageReadBack)
{
    if (!summary.converterTotals)
        return makeVerdict(VerdictKind::Warning,
                       QStringLiteral("dmk2jv3 ended without its error count, so the conversion "
                                      "cannot be checked; use verbosity 1 or more."));
    const RunEvent &totals = *summary.converterTotals;
    const QList<AffectedTrack> affected = badTracks(map);
    const int shortInput = endsOfInput(summary);
    QString sentence = countedNoun(totals.errors, "total error", "total errors")
                       + QLatin1String(", ")
                       + countedNoun(totals.warnings, "total warning", "total warnings");
    if (totals.errors == 0 && totals.warnings == 0 && affected.isEmpty() && shortInput == 0) {
        if (summary.tracksReported == 0 && !imageReadBack)
            sentence += QLatin1String(" (dmk2jv3 does not count data CRC errors; -v2 marks them)");
        return makeVerdict(VerdictKind::Good, sentence + u'.');
    }
    if (!affected.isEmpty())
        sentence += QLatin1String("; bad sectors on ") + trackList(affected);
    if (shortInput > 0)
        sentence += QLatin1String("; the input ended early (")
                    + countedNoun(shortInput, "time", "times")
                    + QLatin1String("): it is shorter than its header says");
    return makeVerdict(VerdictKind::Warning, sentence + u'.', affected);
}

RunVerdict judgeJv2dmkReport(const RunSummary &summary, const DiskMap &map, bool)
{
    if (summary.tracksReported == 0)
        return makeVerdict(VerdictKind::Warning,
                       QStringLiteral("jv2dmk ended normally but reports nothing at this "
                                      "verbosity, so the result is unchecked; -v1 lists each track."));
    const QList<AffectedTrack> affected = badTracks(map);
    if (!affected.isEmpty())
        return makeVerdict(VerdictKind::Warning,
                       QLatin1String("Sectors flagged with CRC errors or not supported on ")
                           + trackList(affected) + u'.',
                       affected);
    return makeVerdict(VerdictKind::Good,
                   QLatin1String("jv2dmk converted ")
                       + countedNoun(map.cellsDone(), "track", "tracks")
                       + QLatin1String(" without a flagged sector."));
}

RunVerdict judgeDmk2cwReport(const RunSummary &summary, const DiskMap &map, bool)
{
    const QList<AffectedTrack> affected = badTracks(map);
    if (!affected.isEmpty()) {
        QStringList where;
        for (const AffectedTrack &bad : affected)
            where.append(QStringLiteral("track %1 side %2").arg(bad.track).arg(bad.side));
        return makeVerdict(VerdictKind::Warning,
                       QLatin1String("Some data did not fit on ") + where.join(QLatin1String(", "))
                           + u'.',
                       affected);
    }
    if (summary.tracksReported == 0)
        return makeVerdict(VerdictKind::Warning,
                       QStringLiteral("dmk2cw ended normally but reported no tracks, so the "
                                      "write is unchecked."));
    return makeVerdict(VerdictKind::Good, QLatin1String("dmk2cw wrote ")
                                          + countedNoun(map.cellsDone(), "track", "tracks") + u'.');
}

} // namespace ferncastle
