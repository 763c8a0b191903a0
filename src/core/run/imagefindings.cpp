#include "core/run/imagefindings.h"

#include "core/image/imagereader.h"
#include "core/run/runverdict.h"

#include <QFileInfo>

#include <algorithm>

namespace ferncastle {

namespace {

using Cell = std::pair<int, int>;

// How a kind of finding is summed up when it recurs on many tracks; null
// for findings about the file as a whole, which keep their own sentence.
const char *sumUp(FindingKind kind)
{
    switch (kind) {
    case FindingKind::PointerOutsideTrack:
    case FindingKind::PointerNotOnIdMark:
    case FindingKind::DuplicatePointer:
        return "stale or repeated IDAM pointer|stale or repeated IDAM pointers";
    case FindingKind::DuplicateSector:
        return "duplicate sector|duplicate sectors";
    case FindingKind::CylinderMismatch:
        return "track whose ID fields name another cylinder|tracks whose ID fields name another "
               "cylinder";
    case FindingKind::Truncated:
        return "sector cut off by the end of the file|sectors cut off by the end of the file";
    default:
        return nullptr;
    }
}

QString summedUp(const char *nouns, int count, const QList<Cell> &cells)
{
    const QByteArray both(nouns);
    const QByteArray singular = both.left(both.indexOf('|'));
    const QByteArray plural = both.mid(both.indexOf('|') + 1);
    return countedNoun(count, singular.constData(), plural.constData()) + QLatin1String(" on ")
           + cellRanges(cells) + u'.';
}

QStringList emptyTracksInside(const DiskImage &image)
{
    const CellCounts counts = sectorsPerCell(image);
    QList<Cell> empty;
    for (int side = 0; side < 2; ++side) {
        int last = -1;
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (it.key().second == side && it.value() > 0)
                last = std::max(last, it.key().first);
        for (int track = 0; track < last; ++track)
            if (counts.value({track, side}) == 0)
                empty.append({track, side});
    }
    std::sort(empty.begin(), empty.end());
    if (empty.isEmpty())
        return {};
    return {QLatin1String("No sectors at all on ") + cellRanges(empty)
            + QLatin1String(", inside the disk.")};
}

} // namespace

QString cellRanges(const QList<Cell> &cells)
{
    QList<Cell> sorted = cells;
    std::sort(sorted.begin(), sorted.end(), [](const Cell &a, const Cell &b) {
        return std::pair(a.second, a.first) < std::pair(b.second, b.first);
    });
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QStringList parts;
    for (qsizetype i = 0; i < sorted.size();) {
        qsizetype end = i;
        while (end + 1 < sorted.size() && sorted[end + 1].second == sorted[i].second
               && sorted[end + 1].first == sorted[end].first + 1)
            ++end;
        const int side = sorted[i].second;
        parts.append(end == i ? QStringLiteral("track %1 side %2").arg(sorted[i].first).arg(side)
                              : QStringLiteral("tracks %1-%2 side %3")
                                    .arg(sorted[i].first)
                                    .arg(sorted[end].first)
                                    .arg(side));
        i = end + 1;
    }
    return parts.join(QLatin1String(", "));
}

CellCounts sectorsPerCell(const DiskImage &image)
{
    CellCounts counts;
    for (const TrackInfo &track : image.tracks)
        counts[{track.track, track.side}] += int(track.sectors.size());
    return counts;
}

QStringList imageProblems(const DiskImage &image)
{
    QStringList problems;
    QMap<QByteArray, std::pair<int, QList<Cell>>> byKind; // keeps one order for the same image
    for (const Finding &finding : image.findings) {
        const char *nouns = sumUp(finding.kind);
        if (!nouns || finding.track < 0) {
            problems.append(finding.text);
            continue;
        }
        auto &[count, cells] = byKind[nouns];
        ++count;
        cells.append({finding.track, finding.side});
    }
    for (auto it = byKind.cbegin(); it != byKind.cend(); ++it)
        problems.append(summedUp(it.key().constData(), it->first, it->second));
    return problems + emptyTracksInside(image);
}

QString imageToDiskQuestion(const QString &name, const DiskImage &image)
{
    if (!image.isImage())
        return {};
    QStringList lines = imageProblems(image);
    QList<Cell> bad;
    int badSectors = 0;
    for (const TrackInfo &track : image.tracks) {
        badSectors += track.badSectors();
        if (track.badSectors() > 0)
            bad.append({track.track, track.side});
    }
    if (badSectors > 0)
        lines.append(countedNoun(badSectors, "bad sector", "bad sectors") + QLatin1String(" on ")
                     + cellRanges(bad) + u'.');
    if (lines.isEmpty())
        return {};
    return name + QLatin1String(" is not a whole, clean image:\r\r") + lines.join(u'\r')
           + QLatin1String("\r\rThe disk would get these faults. Write it to the disk anyway?");
}

QString imageToDiskQuestion(const QString &path)
{
    return imageToDiskQuestion(QFileInfo(path).fileName(), readDiskImageFile(path));
}

} // namespace ferncastle
