#include "dmktrack.h"

#include "crc16.h"

#include <optional>

namespace ferncastle {

using namespace layout;

namespace {

// A track as the controller goes round it: a position past the end of the
// block continues at the first byte after the pointer table, as dmk2jv3
// does, so a sector written across the index is read whole.
struct TrackCursor
{
    QByteArrayView bytes;
    int length = 0;

    int wrap(int pos) const
    {
        return pos < length ? pos : dmkTableSize + (pos - length) % (length - dmkTableSize);
    }
    // -1 where the file ended before the block did.
    int at(int pos) const { return pos < bytes.size() ? quint8(bytes[pos]) : -1; }
};

// Reads a field byte by byte, stepping over the doubled FM bytes and
// keeping its CRC.
struct FieldReader
{
    const TrackCursor &cursor;
    int pos;
    int step;
    quint16 crc;
    bool cut = false;

    quint8 next()
    {
        const int value = cursor.at(pos);
        pos = cursor.wrap(pos + step);
        if (value < 0) {
            cut = true;
            return 0;
        }
        crc = crc16::update(crc, quint8(value));
        return quint8(value);
    }
};

struct SectorEncoding
{
    Recording encoding;
    int step;
};

SectorEncoding encodingOf(int pointer, int offset, const DmkHeader &header,
                          const TrackCursor &cursor)
{
    // "Ignore density": every byte stored once and the pointer's density
    // bit unused, so the premark before the mark tells MFM from FM.
    if (header.options & dmkIgnoreDensity)
        return {cursor.at(offset - 1) == 0xA1 ? Recording::MFM : Recording::FM, 1};
    if (pointer & 0x8000)
        return {Recording::MFM, 1};
    return {Recording::FM, (header.options & dmkFmStoredOnce) ? 1 : 2};
}

quint16 crcStart(Recording encoding, const DmkHeader &header, quint8 quirkBit)
{
    const bool premarks = encoding == Recording::MFM && !(header.quirks & quirkBit);
    return premarks ? crc16::afterMfmPremarks : crc16::initial;
}

// The first data address mark within the distance a WD179x waits for it,
// or -1 (with cut set when the file ended first).
int findDataMark(const TrackCursor &cursor, int idPos, SectorEncoding enc,
                 const DmkHeader &header, bool &cut)
{
    const bool rx02 = header.options & dmkRx02;
    const int tries = enc.encoding == Recording::MFM ? 43 : 30 * enc.step;
    int pos = cursor.wrap(idPos + 7 * enc.step);
    for (int i = 0; i < tries; ++i) {
        const int value = cursor.at(pos);
        if (value < 0) {
            cut = true;
            return -1;
        }
        if ((value >= 0xF8 && value <= 0xFB) || (rx02 && value == 0xFD))
            return pos;
        pos = cursor.wrap(pos + enc.step);
    }
    return -1;
}

// The usual field, neither wrapping round the track nor cut by the end of
// the file, in one tight loop: most of an image's bytes are data.
bool readWholeField(SectorInfo &sector, const TrackCursor &cursor, int damPos, int step,
                    quint16 crc)
{
    const int bytes = sector.dataSize + 3; // mark, data, CRC
    const qsizetype end = qMin<qsizetype>(cursor.length, cursor.bytes.size());
    if (damPos + qsizetype(bytes) * step > end)
        return false;
    const auto *field = reinterpret_cast<const quint8 *>(cursor.bytes.data()) + damPos;
    for (int i = 0; i < bytes; ++i)
        crc = crc16::update(crc, field[i * step]);
    sector.complete = true;
    sector.dataCrcOk = crc == 0;
    return true;
}

void readData(SectorInfo &sector, const TrackCursor &cursor, int damPos, SectorEncoding enc,
              const DmkHeader &header, qint64 fileOffset)
{
    sector.dataMark = quint8(cursor.at(damPos));
    // A field longer than the track would read its own bytes again.
    if ((sector.dataSize + 3) * enc.step > cursor.length - dmkTableSize) {
        sector.dataCrcOk = false;
        return;
    }
    const quint16 start = crcStart(enc.encoding, header, quirkDataCrcWithoutPremarks);
    sector.dataStep = quint8(enc.step);
    if (readWholeField(sector, cursor, damPos, enc.step, start)) {
        sector.dataOffset = fileOffset + damPos + enc.step;
        return;
    }
    FieldReader data{cursor, damPos, enc.step, start};
    data.next();
    sector.dataOffset = fileOffset + data.pos;
    for (int i = 0; i < sector.dataSize + 2; ++i)
        data.next();
    sector.complete = !data.cut;
    sector.dataCrcOk = data.cut || data.crc == 0; // unknown when cut
}

SectorInfo readSector(const TrackCursor &cursor, int pointer, int offset,
                      const DmkTrackBlock &block)
{
    const DmkHeader &header = *block.header;
    const SectorEncoding enc = encodingOf(pointer, offset, header, cursor);
    SectorInfo sector;
    sector.encoding = enc.encoding;
    sector.idOffset = block.fileOffset + offset;
    FieldReader id{cursor, offset, enc.step, crcStart(enc.encoding, header,
                                                      quirkIdCrcWithoutPremarks)};
    id.next();
    sector.cylinder = id.next();
    sector.head = id.next();
    sector.sectorId = id.next();
    sector.sizeCode = id.next();
    id.next();
    id.next();
    sector.idCrcOk = id.cut || id.crc == 0; // unknown when cut
    sector.dataSize = 128 << (sector.sizeCode & 3);
    bool cut = id.cut;
    const int damPos = cut ? -1 : findDataMark(cursor, offset, enc, header, cut);
    sector.hasDataMark = damPos >= 0;
    sector.complete = !cut;
    if (damPos >= 0)
        readData(sector, cursor, damPos, enc, header, block.fileOffset);
    return sector;
}

Finding trackFinding(FindingKind kind, const DmkTrackBlock &block, int entry, const QString &text)
{
    return {kind, block.track, block.side, entry, -1,
            QStringLiteral("Track %1 side %2: ").arg(block.track).arg(block.side) + text};
}

QString hex(int value)
{
    return QStringLiteral("0x%1").arg(value, 4, 16, QLatin1Char('0'));
}

void reportCylinderMismatch(const TrackInfo &info, const DmkTrackBlock &block,
                            QList<Finding> &findings)
{
    for (const SectorInfo &sector : info.sectors) {
        if (sector.idCrcOk && sector.cylinder != block.track) {
            findings.append(trackFinding(FindingKind::CylinderMismatch, block, sector.entry,
                                         QStringLiteral("the ID fields name cylinder %1, not %2.")
                                             .arg(sector.cylinder)
                                             .arg(block.track)));
            return;
        }
    }
}

// Why the pointer in table entry \a entry cannot lead to a sector, as a
// finding, or nothing when it can.
std::optional<Finding> pointerProblem(const DmkTrackBlock &block, const TrackCursor &cursor,
                                      const TrackInfo &info, const QList<int> &offsets,
                                      int entry, int offset)
{
    const int length = cursor.length;
    if (offset < dmkTableSize || offset >= length) {
        return trackFinding(FindingKind::PointerOutsideTrack, block, entry,
                            QStringLiteral("IDAM pointer %1 points to %2, outside "
                                           "the track (%3 to %4); skipped.")
                                .arg(entry)
                                .arg(hex(offset), hex(dmkTableSize), hex(length - 1)));
    }
    if (const int seen = offsets.indexOf(offset); seen >= 0) {
        Finding f = trackFinding(FindingKind::DuplicatePointer, block, entry,
                                 QStringLiteral("IDAM pointer %1 repeats pointer %2 "
                                                "(sector %3), a stale entry; skipped.")
                                     .arg(entry)
                                     .arg(info.sectors[seen].entry)
                                     .arg(info.sectors[seen].sectorId));
        f.sameAs = seen;
        return f;
    }
    if (cursor.at(offset) < 0) {
        return trackFinding(FindingKind::Truncated, block, entry,
                            QStringLiteral("IDAM pointer %1 points past the end of the file.")
                                .arg(entry));
    }
    if (cursor.at(offset) != 0xFE) {
        return trackFinding(FindingKind::PointerNotOnIdMark, block, entry,
                            QStringLiteral("IDAM pointer %1 points to %2, which holds no ID "
                                           "mark (a stale entry); skipped.")
                                .arg(entry)
                                .arg(hex(offset)));
    }
    return std::nullopt;
}

} // namespace

TrackInfo readDmkTrack(const DmkTrackBlock &block, QList<Finding> &findings)
{
    const int length = block.header->trackLength;
    TrackInfo info;
    info.track = block.track;
    info.side = block.side;
    info.complete = block.bytes.size() >= length;
    if (block.bytes.size() < dmkTableSize || length <= dmkTableSize)
        return info;
    const TrackCursor cursor{block.bytes, length};
    QList<int> offsets; // of info.sectors, index for index
    for (int entry = 0; entry < dmkMaxPointers; ++entry) {
        const int pointer = le16(block.bytes, entry * 2);
        if (pointer == 0 || pointer == 0xFFFF)
            break;
        const int offset = pointer & 0x3FFF;
        if (auto problem = pointerProblem(block, cursor, info, offsets, entry, offset)) {
            findings.append(*problem);
            continue;
        }
        SectorInfo sector = readSector(cursor, pointer, offset, block);
        sector.entry = entry;
        offsets.append(offset);
        info.sectors.append(sector);
    }
    reportCylinderMismatch(info, block, findings);
    return info;
}

} // namespace ferncastle
