#include "formatreaders.h"
#include "imagelayout.h"

#include <QMap>
#include <QPair>

namespace ferncastle {

using namespace layout;

namespace {

quint8 jv3DataMark(quint8 flags)
{
    const int dam = (flags >> 5) & 0x03;
    if (flags & 0x80)
        return dam == 0 ? 0xFB : 0xF8;
    static constexpr quint8 fmMarks[] = {0xFB, 0xFA, 0xF9, 0xF8};
    return fmMarks[dam];
}

SectorInfo jv3Sector(const quint8 *entry, int index, qint64 dataOffset, qint64 fileSize)
{
    const quint8 flags = entry[2];
    SectorInfo sector;
    sector.entry = index;
    sector.encoding = (flags & 0x80) ? Recording::MFM : Recording::FM;
    sector.cylinder = entry[0];
    sector.head = (flags & 0x10) ? 1 : 0;
    sector.sectorId = entry[1];
    sector.sizeCode = quint8((flags & 0x03) ^ 1);
    sector.dataMark = jv3DataMark(flags);
    // The one error flag covers a bad ID or data CRC alike.
    sector.dataCrcOk = !(flags & 0x08);
    sector.dataOffset = dataOffset;
    sector.dataSize = jv3SectorSize(entry[0], flags);
    sector.complete = dataOffset + sector.dataSize <= fileSize;
    sector.jv3Flags = flags;
    return sector;
}

bool isWriteProtectByte(quint8 value)
{
    return value == 0x00 || value == 0xFF;
}

using TrackKey = QPair<int, int>; // track, side

// Reads one header block's entries; returns where its data ends, free slots
// included (where a second block would start).
qint64 readJv3Block(QByteArrayView bytes, qint64 blockStart, int firstIndex,
                    QMap<TrackKey, TrackInfo> &tracks)
{
    qint64 dataOffset = blockStart + jv3BlockSize;
    const auto *entries = reinterpret_cast<const quint8 *>(bytes.data() + blockStart);
    for (int i = 0; i < jv3EntriesPerBlock; ++i) {
        const quint8 *entry = entries + i * 3;
        const int size = jv3SectorSize(entry[0], entry[2]);
        if (entry[0] != jv3Free) {
            const SectorInfo sector = jv3Sector(entry, firstIndex + i, dataOffset, bytes.size());
            TrackInfo &track = tracks[TrackKey(sector.cylinder, sector.head)];
            track.track = sector.cylinder;
            track.side = sector.head;
            track.sectors.append(sector);
        }
        dataOffset += size;
    }
    return dataOffset;
}

void reportCutSectors(DiskImage &image)
{
    for (const TrackInfo &track : std::as_const(image.tracks)) {
        for (const SectorInfo &sector : track.sectors) {
            if (sector.complete)
                continue;
            image.findings.append(imageFinding(
                FindingKind::Truncated,
                QStringLiteral("The file (%1 bytes) ends before the data of track %2 side %3 "
                               "sector %4, which starts at %5.")
                    .arg(image.fileSize)
                    .arg(track.track)
                    .arg(track.side)
                    .arg(sector.sectorId)
                    .arg(sector.dataOffset)));
            return;
        }
    }
}

// Every track and side up to the highest, empty ones included, so that a
// track missing from the image shows as empty.
void layOutTracks(const QMap<TrackKey, TrackInfo> &found, DiskImage &image)
{
    int tracks = 0;
    int sides = 1;
    for (auto it = found.cbegin(); it != found.cend(); ++it) {
        tracks = qMax(tracks, it.key().first + 1);
        sides = qMax(sides, it.key().second + 1);
    }
    image.geometry.tracks = tracks;
    image.geometry.sides = sides;
    for (int t = 0; t < tracks; ++t) {
        for (int s = 0; s < sides; ++s) {
            TrackInfo track = found.value(TrackKey(t, s));
            track.track = t;
            track.side = s;
            image.tracks.append(track);
        }
    }
}

} // namespace

void readJv3(QByteArrayView bytes, DiskImage &image)
{
    image.geometry.writeProtected = byteAt(bytes, jv3BlockSize - 1) == 0x00;
    QMap<TrackKey, TrackInfo> found;
    const qint64 secondBlock = readJv3Block(bytes, 0, 0, found);
    qint64 end = secondBlock;
    if (bytes.size() - secondBlock >= jv3BlockSize
        && isWriteProtectByte(byteAt(bytes, secondBlock + jv3BlockSize - 1)))
        end = readJv3Block(bytes, secondBlock, jv3EntriesPerBlock, found);
    layOutTracks(found, image);
    reportCutSectors(image);
    if (bytes.size() > end)
        image.findings.append(imageFinding(
            FindingKind::TrailingBytes,
            QStringLiteral("The file holds %1 bytes after the data its sector tables account "
                           "for.")
                .arg(bytes.size() - end)));
}

void readJv1(QByteArrayView bytes, DiskImage &image)
{
    const qint64 sectors = bytes.size() / jv1SectorSize;
    image.geometry.sides = 1;
    image.geometry.tracks = int((sectors + jv1SectorsPerTrack - 1) / jv1SectorsPerTrack);
    for (int t = 0; t < image.geometry.tracks; ++t) {
        TrackInfo track;
        track.track = t;
        for (int r = 0; r < jv1SectorsPerTrack && t * jv1SectorsPerTrack + r < sectors; ++r) {
            SectorInfo sector;
            sector.entry = r;
            sector.cylinder = quint8(t);
            sector.sectorId = quint8(r);
            sector.sizeCode = 1;
            sector.dataSize = jv1SectorSize;
            // The Model I directory track.
            sector.dataMark = t == 17 ? 0xFA : 0xFB;
            sector.dataOffset = qint64(t * jv1SectorsPerTrack + r) * jv1SectorSize;
            track.sectors.append(sector);
        }
        image.tracks.append(track);
    }
    if (sectors % jv1SectorsPerTrack != 0)
        image.findings.append(imageFinding(
            FindingKind::Truncated,
            QStringLiteral("The file ends after %1 of the 10 sectors of track %2.")
                .arg(sectors % jv1SectorsPerTrack)
                .arg(image.geometry.tracks - 1)));
}

} // namespace ferncastle
