#pragma once

#include "diskimage.h"

#include <QByteArray>

#include <array>

namespace ferncastle {

// Where a sector lies: the track's position on the disk (its cylinder), the
// side, and the sector id its ID field gives.
struct SectorAddress
{
    int cylinder = 0;
    int side = 0;
    int id = 0;

    friend bool operator==(const SectorAddress &, const SectorAddress &) = default;
};

// What an image holds at one address.
struct SectorRead
{
    const SectorInfo *info = nullptr; // null: the image has no such sector
    QByteArray data; // as the image holds it; shorter where the file ends

    bool found() const { return info != nullptr; }
    bool good() const { return info && info->good(); }
};

// The bytes of a DMK, JV1 or JV3 image by sector address, for the readers
// that know nothing of image formats: the DOS directory reader and the
// image comparison stand on this and nothing else.
class SectorSource
{
public:
    SectorSource() = default;
    // bytes: the whole file the image was read from.
    SectorSource(DiskImage image, QByteArray bytes);

    // The image at path, read once; a file that is no image gives a source
    // whose image() says why.
    static SectorSource fromFile(const QString &path);

    const DiskImage &image() const { return m_image; }
    int cylinders() const { return m_image.geometry.tracks; }
    int sides() const { return m_image.geometry.sides; }

    // The track as the image has it, or null beyond the image.
    const TrackInfo *track(int cylinder, int side) const;
    // The sector with that id on that track. Where the id repeats, a good
    // copy is preferred, then the first.
    SectorRead sector(SectorAddress address) const;
    // The bytes the image holds for one sector of its tracks.
    QByteArray data(const SectorInfo &sector) const;

    // The sector sector() would give for each id of the track (null where
    // the track has none), for walking every id at once in linear time.
    using IdTable = std::array<const SectorInfo *, 256>;
    static IdTable sectorsById(const TrackInfo &track);

private:
    QByteArray dmkData(const SectorInfo &sector) const;

    DiskImage m_image;
    QByteArray m_bytes;
};

} // namespace ferncastle
