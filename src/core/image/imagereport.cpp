#include "imagereport.h"

#include "findinggroups.h"

#include <algorithm>

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
            (s.encoding == Recording::MFM ? c.mfm : c.fm) += 1;
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

// "(512-byte sectors)" or "(sizes 128, 256)" where a track's sectors are
// not all 256 bytes, the size the TRS-80 DOSes use; empty otherwise.
QString sectorSizeNote(const TrackInfo &track)
{
    QList<int> sizes;
    for (const SectorInfo &sector : track.sectors) {
        if (!sizes.contains(sector.dataSize))
            sizes.append(sector.dataSize);
    }
    if (sizes.isEmpty() || sizes == QList<int>{256})
        return {};
    std::sort(sizes.begin(), sizes.end());
    if (sizes.size() == 1)
        return QStringLiteral("  (%1-byte sectors)").arg(sizes.first());
    QStringList names;
    for (int size : sizes)
        names.append(QString::number(size));
    return QStringLiteral("  (sector sizes ") + names.join(QStringLiteral(", ")) + u')';
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
    return line + sectorSizeNote(track);
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

// One line per bad sector, its address by position and ID field, so that a
// script can read the list by splitting on the first colon.
QString badSectorList(const DiskImage &image)
{
    QString text;
    for (const TrackInfo &track : image.tracks) {
        for (const SectorInfo &sector : track.sectors) {
            if (!sector.good())
                text += QStringLiteral("Bad sector: track %1 side %2 id %3: %4\n")
                            .arg(track.track)
                            .arg(track.side)
                            .arg(sector.sectorId)
                            .arg(sectorFault(sector));
        }
    }
    return text.isEmpty() ? QStringLiteral("Bad sectors: none\n") : text;
}

} // namespace

QString sectorFault(const SectorInfo &sector)
{
    QStringList faults;
    if (!sector.idCrcOk)
        faults.append(QStringLiteral("ID CRC error"));
    if (!sector.hasDataMark)
        faults.append(QStringLiteral("no data mark"));
    else if (!sector.dataCrcOk)
        faults.append(QStringLiteral("data CRC error"));
    if (!sector.complete)
        faults.append(QStringLiteral("cut off by the end of the file"));
    return faults.join(QStringLiteral(", "));
}

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

QStringList sectorColumnTitles()
{
    return {QStringLiteral("Entry"),     QStringLiteral("Cylinder"),  QStringLiteral("Head"),
            QStringLiteral("Sector"),    QStringLiteral("Size"),      QStringLiteral("Density"),
            QStringLiteral("ID CRC"),    QStringLiteral("Data mark"), QStringLiteral("Data CRC"),
            QStringLiteral("Data offset"), QStringLiteral("JV3 flags")};
}

QStringList sectorColumns(const SectorInfo &s)
{
    const QString good = QStringLiteral("good");
    const QString bad = QStringLiteral("bad");
    QString mark = QStringLiteral("none");
    if (s.hasDataMark)
        mark = QString::number(s.dataMark, 16).toUpper()
               + (s.deleted() ? QStringLiteral(" (deleted)") : QString());
    QString dataCrc = s.hasDataMark ? (s.dataCrcOk ? good : bad) : QStringLiteral("-");
    if (!s.complete)
        dataCrc = QStringLiteral("cut off");
    return {QString::number(s.entry),
            QString::number(s.cylinder),
            QString::number(s.head),
            QString::number(s.sectorId),
            QStringLiteral("%1 (code %2)").arg(s.dataSize).arg(s.sizeCode),
            s.encoding == Recording::MFM ? QStringLiteral("MFM") : QStringLiteral("FM"),
            s.idCrcOk ? good : bad,
            mark,
            dataCrc,
            s.dataOffset < 0 ? QStringLiteral("-")
                             : QStringLiteral("0x%1").arg(s.dataOffset, 0, 16),
            s.jv3Flags < 0 ? QStringLiteral("-")
                           : QStringLiteral("0x%1").arg(s.jv3Flags, 2, 16, QLatin1Char('0'))};
}

QString trackDescription(const TrackInfo &track)
{
    QString text = QStringLiteral("Track %1 side %2: ").arg(track.track).arg(track.side);
    if (track.sectors.isEmpty())
        return text + QStringLiteral("no sectors (unformatted or not read)");
    text += plural(int(track.sectors.size()), QStringLiteral("sector"), QStringLiteral("sectors"))
            + QStringLiteral(", ") + densityName(track.density());
    if (const int bad = track.badSectors(); bad > 0)
        text += QStringLiteral(", %1 bad").arg(bad);
    const QList<int> missing = track.missingIds();
    if (!missing.isEmpty()) {
        QStringList ids;
        for (int id : missing)
            ids.append(QString::number(id));
        text += QStringLiteral(", missing ") + ids.join(QLatin1Char(' '));
    }
    return text;
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
    for (const FindingGroup &group : groupFindings(image.findings))
        text += QStringLiteral("Finding: ") + findingGroupLine(group) + QLatin1Char('\n');
    for (const TrackInfo &track : image.tracks)
        text += trackLine(track) + QLatin1Char('\n');
    if (anyMarks(image))
        text += legend + QLatin1Char('\n');
    return text + badSectorList(image);
}

} // namespace ferncastle
