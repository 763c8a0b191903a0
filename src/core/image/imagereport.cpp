#include "imagereport.h"

namespace ferncastle {

namespace {

const QString legend = QStringLiteral(
    "Marks: ? data CRC error, ! ID CRC error, - no data mark, < cut off by the end of the "
    "file, D deleted data mark");

QString plural(int count, const QString &one, const QString &many)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? one : many);
}

QString geometryText(const DiskImage &image)
{
    const Geometry &g = image.geometry;
    QString text = formatName(image.format) + QStringLiteral(" image, ")
                   + plural(g.tracks, QStringLiteral("track"), QStringLiteral("tracks"))
                   + QStringLiteral(", ")
                   + plural(g.sides, QStringLiteral("side"), QStringLiteral("sides"));
    if (image.format == ImageFormat::Dmk) {
        text += QStringLiteral(", track length 0x%1 (%2 bytes)")
                    .arg(g.trackLength, 4, 16, QLatin1Char('0'))
                    .arg(g.trackLength);
        if (g.headerTracks != g.tracks)
            text += QStringLiteral(", header claims %1 tracks").arg(g.headerTracks);
    }
    if (g.writeProtected)
        text += QStringLiteral(", write-protected");
    return text;
}

struct SectorCounts
{
    int all = 0, good = 0, idCrc = 0, dataCrc = 0, noMark = 0, cut = 0, deleted = 0;
    int fm = 0, mfm = 0;
};

SectorCounts countSectors(const DiskImage &image)
{
    SectorCounts c;
    for (const TrackInfo &track : image.tracks) {
        for (const SectorInfo &s : track.sectors) {
            ++c.all;
            c.good += s.good() ? 1 : 0;
            c.idCrc += s.idCrcOk ? 0 : 1;
            c.dataCrc += (s.hasDataMark && !s.dataCrcOk) ? 1 : 0;
            c.noMark += s.hasDataMark ? 0 : 1;
            c.cut += s.complete ? 0 : 1;
            c.deleted += s.deleted() ? 1 : 0;
            (s.encoding == Encoding::MFM ? c.mfm : c.fm) += 1;
        }
    }
    return c;
}

QString densityName(TrackDensity density)
{
    switch (density) {
    case TrackDensity::Single:
        return QStringLiteral("FM");
    case TrackDensity::Double:
        return QStringLiteral("MFM");
    case TrackDensity::Mixed:
        return QStringLiteral("mixed");
    case TrackDensity::Empty:
        break;
    }
    return QStringLiteral("empty");
}

QString trackLine(const TrackInfo &track)
{
    QString line = QStringLiteral("Track %1 side %2 %3 %4:")
                       .arg(track.track, 2)
                       .arg(track.side)
                       .arg(densityName(track.density()), -5)
                       .arg(track.sectors.size(), 2);
    for (const SectorInfo &sector : track.sectors)
        line += QLatin1Char(' ') + sectorToken(sector);
    const QList<int> missing = track.missingIds();
    if (!missing.isEmpty()) {
        line += QStringLiteral("  (missing");
        for (int id : missing)
            line += QLatin1Char(' ') + QString::number(id);
        line += QLatin1Char(')');
    }
    return line;
}

bool anyMarks(const DiskImage &image)
{
    for (const TrackInfo &track : image.tracks) {
        for (const SectorInfo &s : track.sectors) {
            if (!s.good() || s.deleted())
                return true;
        }
    }
    return false;
}

} // namespace

TrackState trackState(const TrackInfo &track)
{
    if (track.sectors.isEmpty())
        return TrackState::Empty;
    if (track.badSectors() > 0)
        return TrackState::Bad;
    return track.missingIds().isEmpty() ? TrackState::Good : TrackState::MissingSectors;
}

ImageVerdict imageVerdict(const DiskImage &image)
{
    if (!image.isImage())
        return ImageVerdict::Unreadable;
    if (image.badSectorCount() > 0 || !image.findings.isEmpty())
        return ImageVerdict::Flawed;
    return ImageVerdict::Clean;
}

QString sectorToken(const SectorInfo &sector)
{
    QString token = QString::number(sector.sectorId);
    if (!sector.idCrcOk)
        token += QLatin1Char('!');
    if (!sector.hasDataMark)
        token += QLatin1Char('-');
    else if (!sector.dataCrcOk)
        token += QLatin1Char('?');
    if (!sector.complete)
        token += QLatin1Char('<');
    if (sector.deleted())
        token += QLatin1Char('D');
    return token;
}

QString imageSummary(const DiskImage &image, const QString &name)
{
    if (!image.isImage())
        return name + QStringLiteral(": not a disk image I know. ") + image.refusal
               + QLatin1Char('\n');
    const SectorCounts c = countSectors(image);
    QString text = name + QStringLiteral(": ") + geometryText(image) + QLatin1Char('\n');
    text += QStringLiteral("Sectors: %1 in all, %2 good; %3 FM, %4 MFM; %5 deleted\n")
                .arg(c.all)
                .arg(c.good)
                .arg(c.fm)
                .arg(c.mfm)
                .arg(c.deleted);
    if (c.good != c.all)
        text += QStringLiteral("Errors: %1 ID CRC, %2 data CRC, %3 without data mark, %4 cut "
                               "off\n")
                    .arg(c.idCrc)
                    .arg(c.dataCrc)
                    .arg(c.noMark)
                    .arg(c.cut);
    text += QStringLiteral("Findings: %1\n").arg(image.findings.size());
    return text;
}

QString imageReport(const DiskImage &image, const QString &name)
{
    QString text = imageSummary(image, name);
    if (!image.isImage())
        return text;
    for (const Finding &finding : image.findings)
        text += QStringLiteral("Finding: ") + finding.text + QLatin1Char('\n');
    for (const TrackInfo &track : image.tracks)
        text += trackLine(track) + QLatin1Char('\n');
    if (anyMarks(image))
        text += legend + QLatin1Char('\n');
    return text;
}

} // namespace ferncastle
