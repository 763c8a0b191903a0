#include "dosparts.h"

namespace ferncastle::dosparts {

namespace {

bool doubleDensity(const TrackInfo *track)
{
    int mfm = 0;
    for (const SectorInfo &s : track->sectors)
        mfm += s.encoding == Recording::MFM ? 1 : 0;
    return mfm * 2 > track->sectors.size();
}

// Sectors per side as the track's own ids run: up to its highest id.
int idSpan(const TrackInfo *track, int firstId)
{
    int highest = firstId - 1;
    for (const SectorInfo &s : track->sectors) {
        if (s.sectorId >= firstId && s.sectorId < firstId + 64)
            highest = qMax(highest, int(s.sectorId));
    }
    return highest - firstId + 1;
}

} // namespace

std::optional<SectorAddress> DosGeometry::address(int cylinder, int index) const
{
    if (sectorsPerCylinder() <= 0 || cylinder < 0 || index < 0)
        return std::nullopt;
    cylinder += index / sectorsPerCylinder();
    index %= sectorsPerCylinder();
    if (cylinder >= cylinders)
        return std::nullopt;
    const int own = cylinder < ownTrackSectors.size() ? ownTrackSectors[cylinder] : 0;
    if (own > 0) {
        // A track of another density keeps the DOS's numbering within its own count.
        const int side = index / sectorsPerTrack;
        const int position = index % sectorsPerTrack;
        if (position >= own)
            return std::nullopt;
        return SectorAddress{cylinder, side, firstId + position};
    }
    return SectorAddress{cylinder, index / sectorsPerTrack, firstId + index % sectorsPerTrack};
}

QList<SectorAddress> DosGeometry::granuleSectors(int granule) const
{
    QList<SectorAddress> sectors;
    if (granule < 0 || granule >= granules())
        return sectors;
    const int cylinder = granule / granulesPerCylinder;
    const int first = (granule % granulesPerCylinder) * sectorsPerGranule;
    for (int i = 0; i < sectorsPerGranule; ++i) {
        if (const auto at = address(cylinder, first + i))
            sectors.append(*at);
        else
            sectors.append({cylinder, -1, -1}); // a sector this disk cannot hold
    }
    return sectors;
}

DosGeometry imageGeometry(const SectorSource &source, int directoryCylinder, int firstId,
                          bool trsdos13)
{
    DosGeometry geometry;
    geometry.firstId = firstId;
    geometry.cylinders = source.cylinders();
    const TrackInfo *directory = source.track(directoryCylinder, 0);
    const bool dd = directory && !directory->sectors.isEmpty() && doubleDensity(directory);
    geometry.sectorsPerTrack = dd ? 18 : 10;
    if (directory && !directory->sectors.isEmpty())
        geometry.sectorsPerTrack = qMax(1, idSpan(directory, firstId));
    geometry.sectorsPerGranule = trsdos13 ? 3 : (dd ? 6 : 5);
    geometry.granulesPerCylinder = qMax(1, geometry.sectorsPerTrack / geometry.sectorsPerGranule);
    const TrackInfo *back = source.track(directoryCylinder, 1);
    geometry.sides = back && !back->sectors.isEmpty() ? 2 : 1;
    geometry.granulesPerCylinder *= geometry.sides;
    for (int c = 0; c < geometry.cylinders; ++c) {
        const TrackInfo *track = source.track(c, 0);
        const bool own = directory && track && !track->sectors.isEmpty()
                         && doubleDensity(track) != dd;
        geometry.ownTrackSectors.append(own ? idSpan(track, firstId) : 0);
    }
    return geometry;
}

std::optional<SectorAddress> gatSector(const DirectoryPlace &place)
{
    return place.geometry.address(place.cylinder, place.index);
}

std::optional<SectorAddress> hitSector(const DirectoryPlace &place)
{
    return place.geometry.address(place.cylinder, place.index + 1);
}

std::optional<SectorAddress> entrySector(const DirectoryPlace &place, int number)
{
    const DosGeometry &g = place.geometry;
    if (place.layout != DosLayout::Trsdos23) {
        if (number < 0 || number >= place.entrySectors)
            return std::nullopt;
        return g.address(place.cylinder, place.index + 2 + number);
    }
    // Entry codes keep one bit for the side: side 1's sectors count from 16.
    if (number < 16) {
        if (2 + number >= g.sectorsPerTrack)
            return std::nullopt;
        return g.address(place.cylinder, 2 + number);
    }
    if (g.sides < 2 || number - 16 >= g.sectorsPerTrack)
        return std::nullopt;
    return g.address(place.cylinder, g.sectorsPerTrack + number - 16);
}

quint8 nameHash(QByteArrayView nameAndExtension)
{
    quint8 hash = 0;
    for (char c : nameAndExtension) {
        hash ^= quint8(c);
        hash = quint8((hash << 1) | (hash >> 7));
    }
    return hash == 0 ? 1 : hash;
}

QString addressText(SectorAddress address)
{
    return QStringLiteral("cylinder %1 side %2 sector %3")
        .arg(address.cylinder).arg(address.side).arg(address.id);
}

} // namespace ferncastle::dosparts
