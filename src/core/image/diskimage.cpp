#include "diskimage.h"

#include <bitset>

namespace ferncastle {

TrackDensity TrackInfo::density() const
{
    bool single = false;
    bool dual = false;
    for (const SectorInfo &sector : sectors)
        (sector.encoding == Recording::MFM ? dual : single) = true;
    if (single && dual)
        return TrackDensity::Mixed;
    if (dual)
        return TrackDensity::Double;
    return single ? TrackDensity::Single : TrackDensity::Empty;
}

int TrackInfo::badSectors() const
{
    int bad = 0;
    for (const SectorInfo &sector : sectors)
        bad += sector.good() ? 0 : 1;
    return bad;
}

QList<int> TrackInfo::missingIds() const
{
    std::bitset<256> present;
    int lowest = 256;
    int highest = -1;
    for (const SectorInfo &sector : sectors) {
        if (!sector.idCrcOk)
            continue;
        present.set(sector.sectorId);
        lowest = qMin(lowest, int(sector.sectorId));
        highest = qMax(highest, int(sector.sectorId));
    }
    QList<int> missing;
    for (int id = lowest; id <= highest; ++id) {
        if (!present.test(std::size_t(id)))
            missing.append(id);
    }
    return missing;
}

const TrackInfo *DiskImage::track(int track, int side) const
{
    const int index = track * geometry.sides + side;
    if (track < 0 || side < 0 || side >= geometry.sides || index >= tracks.size())
        return nullptr;
    return &tracks[index];
}

int DiskImage::sectorCount() const
{
    int count = 0;
    for (const TrackInfo &t : tracks)
        count += int(t.sectors.size());
    return count;
}

int DiskImage::badSectorCount() const
{
    int count = 0;
    for (const TrackInfo &t : tracks)
        count += t.badSectors();
    return count;
}

QString formatName(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Dmk:
        return QStringLiteral("DMK");
    case ImageFormat::Jv1:
        return QStringLiteral("JV1");
    case ImageFormat::Jv3:
        return QStringLiteral("JV3");
    case ImageFormat::Unknown:
        break;
    }
    return QStringLiteral("not a disk image I know");
}

} // namespace ferncastle
