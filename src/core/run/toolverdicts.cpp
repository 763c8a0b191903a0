#include "core/run/toolverdicts.h"

#include "core/image/diskimage.h"
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

// A run that printed nothing to check is still confirmed when the image it
// wrote reads back whole and clean: the read-back's sentence follows.
RunVerdict silentRun(const char *tool, bool imageReadBack, const QString &unchecked)
{
    if (imageReadBack)
        return makeVerdict(VerdictKind::Good,
                           QLatin1String(tool)
                               + QLatin1String(" ended normally and reports nothing at this "
                                               "verbosity."));
    return makeVerdict(VerdictKind::Warning, unchecked);
}

// The bytes jv2dmk lays out for one track: each sector with its marks and
// gaps (FM bytes written twice), gap 1 and the 1 % left for drive speed.
int jv2dmkTrackBytes(const TrackInfo &track, int nominal)
{
    int bytes = 32 + nominal / 100;
    for (const SectorInfo &sector : track.sectors) {
        const int size = sector.dataSize > 0 ? sector.dataSize : 128 << (sector.sizeCode & 3);
        bytes += sector.encoding == Recording::MFM ? size + 62 : (size + 33) * 2;
    }
    return bytes;
}

struct Jv2dmkKind {
    int kind;
    int nominal; // bytes per track
    const char *media;
};

// jv2dmk's -k kinds beyond the default 5.25-inch one, in its usage's words.
constexpr Jv2dmkKind largerKinds[] = {
    {3, 10416, "5.25-inch HD or 8-inch SD/DD disk"},
    {4, 12500, "3.5-inch HD disk"},
};

} // namespace

QString adviseJv2dmkFailure(const RunSummary &summary, const QString &inputName,
                            const DiskImage &input)
{
    if (!summary.lastErrorLine.contains(QLatin1String("Physical track"))
        || !summary.lastErrorLine.contains(QLatin1String("too long")))
        return {};
    for (const Jv2dmkKind &kind : largerKinds) {
        bool fits = true;
        for (const TrackInfo &track : input.tracks)
            fits = fits && jv2dmkTrackBytes(track, kind.nominal) <= kind.nominal;
        if (fits)
            return QStringLiteral("%1 holds %2 tracks too long for a 5.25-inch disk, the media "
                                  "jv2dmk assumes; add -k%3 (%4) to the optional parameters.")
                .arg(inputName)
                .arg(input.geometry.tracks)
                .arg(kind.kind)
                .arg(QLatin1String(kind.media));
    }
    return {};
}

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

RunVerdict judgeCw2dmkReport(const RunSummary &summary, const DiskMap &map, bool imageReadBack)
{
    if (!summary.totals)
        return silentRun("cw2dmk", imageReadBack,
                         QStringLiteral("cw2dmk ended without its Totals lines, so the read "
                                        "cannot be checked; use verbosity 1 or more."));
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
        return silentRun("dmk2jv3", imageReadBack,
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

RunVerdict judgeJv2dmkReport(const RunSummary &summary, const DiskMap &map, bool imageReadBack)
{
    if (summary.tracksReported == 0)
        return silentRun("jv2dmk", imageReadBack,
                         QStringLiteral("jv2dmk ended normally but reports nothing at this "
                                        "verbosity, so the result is unchecked; -v1 lists each "
                                        "track."));
    const QList<AffectedTrack> affected = badTracks(map);
    if (!affected.isEmpty())
        return makeVerdict(VerdictKind::Warning,
                       QLatin1String("Sectors flagged with CRC errors or not supported on ")
                           + trackList(affected) + u'.',
                       affected);
    return makeVerdict(VerdictKind::Good,
                   QLatin1String("jv2dmk converted ") + doneInWords(map)
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
    return makeVerdict(VerdictKind::Good, QLatin1String("dmk2cw wrote ") + doneInWords(map) + u'.');
}

} // namespace ferncastle
