#include "core/run/runverdict.h"

#include "core/run/diskmap.h"
#include "core/run/readback.h"
#include "core/run/runsummary.h"
#include "core/run/toolverdicts.h"
#include "core/tools/tooltable.h"

#include <QStringList>

namespace ferncastle {

namespace {

RunVerdict exitedNormally(const QString &tool, const RunSummary &summary, const DiskMap &map,
                          bool imageReadBack)
{
    if (const ToolRow *row = toolNamed(tool))
        return row->judgeReport(summary, map, imageReadBack);
    return makeVerdict(VerdictKind::Warning,
                   tool + QLatin1String(" ended with status 0; its output was not checked."));
}

QString stoppedSentence(const DiskMap &map)
{
    const int done = map.cellsDone();
    if (done == 0)
        return QStringLiteral("Stopped by you before any track was finished.");
    return QLatin1String("Stopped by you after ") + doneInWords(map) + u'.';
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

// What the input shows about why the tool failed, said after its message.
QString advice(const QString &tool, const RunSummary &summary, const ConversionInput *input)
{
    const ToolRow *row = toolNamed(tool);
    if (!row || !row->adviseFailure || !input || !input->image.isImage())
        return {};
    const QString said = row->adviseFailure(summary, input->name, input->image);
    return said.isEmpty() ? QString() : QLatin1String(". ") + said;
}

} // namespace

QString verdictKindWord(VerdictKind kind)
{
    switch (kind) {
    case VerdictKind::Good: return QStringLiteral("good");
    case VerdictKind::Warning: return QStringLiteral("warning");
    case VerdictKind::Failure: return QStringLiteral("failure");
    case VerdictKind::Crashed: return QStringLiteral("crashed");
    case VerdictKind::Stopped: break;
    }
    return QStringLiteral("stopped");
}

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

QString doneInWords(const DiskMap &map)
{
    if (map.sides() < 2)
        return countedNoun(map.cellsDone(), "track", "tracks");
    const int whole = map.wholeCylindersDone();
    const int half = map.halfCylindersDone();
    QString words = countedNoun(whole, "cylinder", "cylinders") + QLatin1String(", both sides");
    if (half == 0)
        return words;
    QString halfWords = countedNoun(half, "track", "tracks") + QLatin1String(" of one side");
    if (half == 1) {
        for (int track = 0; track < map.tracks(); ++track)
            for (int side = 0; side < 2; ++side)
                if (map.cell(track, side).state != RunTrackState::NotRead
                    && map.cell(track, 1 - side).state == RunTrackState::NotRead)
                    halfWords = QStringLiteral("side %1 of cylinder %2").arg(side).arg(track);
    }
    return whole == 0 ? halfWords : words + QLatin1String(", and ") + halfWords;
}

RunVerdict judgeRun(const QString &tool, const RunSummary &summary, const DiskMap &map,
                    const RunEnd &end, const QList<ImageReadBack> &readBacks,
                    const ConversionInput *input)
{
    if (end.how == RunEnd::How::NotStarted)
        return makeVerdict(VerdictKind::Failure, end.startError);
    const bool exitedZero = end.how == RunEnd::How::Exited && end.code == 0;
    // Stop can come too late to matter: a run that still ended with its
    // own report is judged by that report.
    if (end.stoppedByUser && !(exitedZero && (summary.totals || summary.converterTotals)))
        return makeVerdict(VerdictKind::Stopped, stoppedSentence(map), badTracks(map));
    if (end.how == RunEnd::How::Signalled)
        return makeVerdict(VerdictKind::Crashed,
                       tool + QLatin1String(" crashed (signal ") + QString::number(end.code)
                           + QLatin1String(")."),
                       badTracks(map));
    if (!exitedZero)
        return makeVerdict(VerdictKind::Failure,
                           failedSentence(tool, summary, end.code) + advice(tool, summary, input),
                           badTracks(map));
    ReadBackContext context;
    context.tool = tool;
    context.reportedGoodSectors = summary.totals ? summary.totals->goodSectors : -1;
    context.input = input;
    return withReadBacks(exitedNormally(tool, summary, map, !readBacks.isEmpty()), readBacks,
                         context);
}

RunVerdict judgeRun(const QString &tool, const RunSummary &summary, const DiskMap &map,
                    const RunEnd &end)
{
    return judgeRun(tool, summary, map, end, {});
}

} // namespace ferncastle
