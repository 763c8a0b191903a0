#include "sectorsource.h"

#include "imagelayout.h"
#include "imagereader.h"

namespace ferncastle {

using namespace layout;

namespace {

// A good copy beats a bad one; among equals the first on the track wins.
bool better(const SectorInfo &candidate, const SectorInfo *chosen)
{
    return !chosen || (candidate.good() && !chosen->good());
}

// The bytes from offset on, as far as the file holds them.
QByteArray fileSlice(const QByteArray &bytes, qint64 offset, qint64 size)
{
    if (offset < 0 || offset >= bytes.size())
        return {};
    return bytes.mid(offset, qMin(size, bytes.size() - offset));
}

} // namespace

SectorSource::SectorSource(DiskImage image, QByteArray bytes)
    : m_image(std::move(image)), m_bytes(std::move(bytes))
{
}

SectorSource SectorSource::fromFile(const QString &path)
{
    QByteArray bytes;
    DiskImage image = readDiskImageFile(path, &bytes);
    return SectorSource(std::move(image), std::move(bytes));
}

const TrackInfo *SectorSource::track(int cylinder, int side) const
{
    return m_image.track(cylinder, side);
}

SectorRead SectorSource::sector(SectorAddress address) const
{
    const TrackInfo *onTrack = track(address.cylinder, address.side);
    if (!onTrack)
        return {};
    const SectorInfo *chosen = nullptr;
    for (const SectorInfo &candidate : onTrack->sectors) {
        if (candidate.sectorId == address.id && better(candidate, chosen))
            chosen = &candidate;
    }
    if (!chosen)
        return {};
    return {chosen, data(*chosen)};
}

SectorSource::IdTable SectorSource::sectorsById(const TrackInfo &track)
{
    IdTable table;
    table.fill(nullptr);
    for (const SectorInfo &candidate : track.sectors) {
        const SectorInfo *&chosen = table[candidate.sectorId];
        if (better(candidate, chosen))
            chosen = &candidate;
    }
    return table;
}

QByteArray SectorSource::data(const SectorInfo &sector) const
{
    if (!sector.hasDataMark || sector.dataOffset < 0)
        return {};
    if (m_image.format != ImageFormat::Dmk)
        return fileSlice(m_bytes, sector.dataOffset, sector.dataSize);
    return dmkData(sector);
}

// Walks the field as the reader did: every dataStep-th byte, going round
// to the block's first byte after the pointer table at the block's end.
QByteArray SectorSource::dmkData(const SectorInfo &sector) const
{
    const int length = m_image.geometry.trackLength;
    const int step = sector.dataStep;
    const qint64 blockStart = dmkHeaderSize
                              + (sector.dataOffset - dmkHeaderSize) / length * length;
    const qint64 end = qMin<qint64>(m_bytes.size(), blockStart + length);
    int pos = int(sector.dataOffset - blockStart);
    if (step == 1 && pos + sector.dataSize <= length)
        return fileSlice(m_bytes, sector.dataOffset, sector.dataSize);
    QByteArray out(sector.dataSize, Qt::Uninitialized);
    for (int i = 0; i < sector.dataSize; ++i) {
        if (blockStart + pos >= end) {
            out.truncate(i);
            break;
        }
        out[i] = m_bytes[blockStart + pos];
        pos += step;
        if (pos >= length)
            pos = dmkTableSize + (pos - length) % (length - dmkTableSize);
    }
    return out;
}

} // namespace ferncastle
