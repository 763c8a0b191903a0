#include "core/run/runverdict.h"

#include "core/run/diskmap.h"
#include "core/run/readback.h"
#include "core/run/runsummary.h"

#include <QStringList>

namespace ferncastle {

namespace {

QList<AffectedTrack> badTracks(const DiskMap &map)
{
    QList<AffectedTrack> affected;
    for (const auto &[track, side] : map.cellsIn(RunTrackState::Unrecovered))
        affected.append(AffectedTrack{track, side, map.cell(track, side).errors});
    return affected;
}

RunVerdict verdict(VerdictKind kind, const QString &sentence, QList<AffectedTrack> affected = {})
{
    return RunVerdict{kind, sentence, affected};
}

RunVerdict cw2dmkVerdict(const RunSummary &summary, const DiskMap &map)
{
    if (!summary.totals)
        return verdict(VerdictKind::Warning,
                       QStringLiteral("cw2dmk ended without its Totals lines, so the read cannot "
                                      "be checked; use verbosity 1 or more."));
    const RunEvent &totals = *summary.totals;
    const QList<AffectedTrack> affected = badTracks(map);
    const QString good = countedNoun(totals.goodTracks, "good track", "good tracks")
                         + QLatin1String(", ")
                         + countedNoun(totals.goodSectors, "good sector", "good sectors");
    if (totals.badTracks == 0 && totals.errors == 0 && affected.isEmpty())
        return verdict(VerdictKind::Good, good + QLatin1String(", no errors."));
    QString sentence = countedNoun(totals.errors, "unrecovered error", "unrecovered errors")
                       + QLatin1String(" in ")
                       + countedNoun(totals.badTracks, "bad track", "bad tracks");
    if (!affected.isEmpty())
        sentence += QLatin1String(": ") + trackList(affected);
    return verdict(VerdictKind::Warning, sentence + QLatin1String("; ") + good + u'.', affected);
}

int endsOfInput(const RunSummary &summary)
{
    int count = 0;
    for (const RunEvent &problem : summary.problems)
        count += problem.text.contains(QLatin1String("End of file on input")) ? 1 : 0;
    return count;
}

RunVerdict dmk2jv3Verdict(const RunSummary &summary, const DiskMap &map, bool imageReadBack)
{
    if (!summary.converterTotals)
        return verdict(VerdictKind::Warning,
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
        return verdict(VerdictKind::Good, sentence + u'.');
    }
    if (!affected.isEmpty())
        sentence += QLatin1String("; bad sectors on ") + trackList(affected);
    if (shortInput > 0)
        sentence += QLatin1String("; the input ended early (")
                    + countedNoun(shortInput, "time", "times")
                    + QLatin1String("): it is shorter than its header says");
    return verdict(VerdictKind::Warning, sentence + u'.', affected);
}

RunVerdict jv2dmkVerdict(const RunSummary &summary, const DiskMap &map)
{
    if (summary.tracksReported == 0)
        return verdict(VerdictKind::Warning,
                       QStringLiteral("jv2dmk ended normally but reports nothing at this "
                                      "verbosity, so the result is unchecked; -v1 lists each track."));
    const QList<AffectedTrack> affected = badTracks(map);
    if (!affected.isEmpty())
        return verdict(VerdictKind::Warning,
                       QLatin1String("Sectors flagged with CRC errors or not supported on ")
                           + trackList(affected) + u'.',
                       affected);
    return verdict(VerdictKind::Good,
                   QLatin1String("jv2dmk converted ")
                       + countedNoun(map.cellsDone(), "track", "tracks")
                       + QLatin1String(" without a flagged sector."));
}

RunVerdict dmk2cwVerdict(const RunSummary &summary, const DiskMap &map)
{
    const QList<AffectedTrack> affected = badTracks(map);
    if (!affected.isEmpty()) {
        QStringList where;
        for (const AffectedTrack &bad : affected)
            where.append(QStringLiteral("track %1 side %2").arg(bad.track).arg(bad.side));
        return verdict(VerdictKind::Warning,
                       QLatin1String("Some data did not fit on ") + where.join(QLatin1String(", "))
                           + u'.',
                       affected);
    }
    if (summary.tracksReported == 0)
        return verdict(VerdictKind::Warning,
                       QStringLiteral("dmk2cw ended normally but reported no tracks, so the "
                                      "write is unchecked."));
    return verdict(VerdictKind::Good, QLatin1String("dmk2cw wrote ")
                                          + countedNoun(map.cellsDone(), "track", "tracks") + u'.');
}

RunVerdict exitedNormally(const QString &tool, const RunSummary &summary, const DiskMap &map,
                          bool imageReadBack)
{
    if (tool == QLatin1String("cw2dmk"))
        return cw2dmkVerdict(summary, map);
    if (tool == QLatin1String("dmk2jv3"))
        return dmk2jv3Verdict(summary, map, imageReadBack);
    if (tool == QLatin1String("jv2dmk"))
        return jv2dmkVerdict(summary, map);
    if (tool == QLatin1String("dmk2cw"))
        return dmk2cwVerdict(summary, map);
    return verdict(VerdictKind::Warning,
                   tool + QLatin1String(" ended with status 0; its output was not checked."));
}

QString stoppedSentence(const DiskMap &map)
{
    const int done = map.cellsDone();
    if (done == 0)
        return QStringLiteral("Stopped by you before any track was finished.");
    return QLatin1String("Stopped by you after ") + countedNoun(done, "track", "tracks") + u'.';
}

QString failedSentence(const QString &tool, const RunSummary &summary, int code)
{
    QString sentence = tool + QLatin1String(" failed (exit status ") + QString::number(code) + u')';
    QString said = summary.lastErrorLine.isEmpty() ? summary.lastOutputLine
                                                    : summary.lastErrorLine;
    // The tools start their messages with a program name (dmk2cw's even
    // says cw2dmk); the sentence names the tool already.
    for (const char *name : {"cw2dmk: ", "dmk2cw: ", "dmk2jv3: ", "jv2dmk: "})
        if (said.startsWith(QLatin1String(name)))
            said.remove(0, int(qstrlen(name)));
    if (!said.isEmpty())
        sentence += QLatin1String(": ") + said;
    return sentence;
}

} // namespace

QString countedNoun(int count, const char *singular, const char *plural)
{
    return QString::number(count) + u' ' + QLatin1String(count == 1 ? singular : plural);
}

QString trackList(const QList<AffectedTrack> &affected)
{
    QStringList parts;
    for (const AffectedTrack &bad : affected)
        parts.append(QStringLiteral("track %1 side %2 (%3)")
                         .arg(bad.track)
                         .arg(bad.side)
                         .arg(countedNoun(bad.errors, "sector", "sectors")));
    return parts.join(QLatin1String(", "));
}

RunVerdict judgeRun(const QString &tool, const RunSummary &summary, const DiskMap &map,
                    const RunEnd &end, const QList<ImageReadBack> &readBacks)
{
    if (end.how == RunEnd::How::NotStarted)
        return verdict(VerdictKind::Failure, end.startError);
    const bool exitedZero = end.how == RunEnd::How::Exited && end.code == 0;
    // Stop can come too late to matter: a run that still ended with its
    // own report is judged by that report.
    if (end.stoppedByUser && !(exitedZero && (summary.totals || summary.converterTotals)))
        return verdict(VerdictKind::Stopped, stoppedSentence(map), badTracks(map));
    if (end.how == RunEnd::How::Signalled)
        return verdict(VerdictKind::Crashed,
                       tool + QLatin1String(" crashed (signal ") + QString::number(end.code)
                           + QLatin1String(")."),
                       badTracks(map));
    if (!exitedZero)
        return verdict(VerdictKind::Failure, failedSentence(tool, summary, end.code),
                       badTracks(map));
    return withReadBacks(exitedNormally(tool, summary, map, !readBacks.isEmpty()), readBacks);
}

RunVerdict judgeRun(const QString &tool, const RunSummary &summary, const DiskMap &map,
                    const RunEnd &end)
{
    return judgeRun(tool, summary, map, end, {});
}

} // namespace ferncastle
