#pragma once

#include "diskimage.h"

namespace ferncastle {

// How a track looks on the map: the worst that applies.
enum class TrackState {
    Good,           // every sector read with good CRCs
    Bad,            // a CRC error, a missing data mark or a sector cut off
    MissingSectors, // gaps in the track's own run of sector ids
    Empty,          // no sector at all: unformatted or not read
};

TrackState trackState(const TrackInfo &track);

enum class ImageVerdict { Clean, Flawed, Unreadable };

// Flawed: any bad sector or any finding about the image.
ImageVerdict imageVerdict(const DiskImage &image);

// A few lines: format, geometry, sector counts, number of findings.
QString imageSummary(const DiskImage &image, const QString &name);

// The summary, the findings (one line per kind where a kind repeats), then one line per track and side listing its
// sector ids in the order found, bad ones marked (see the legend it ends
// with), then one "Bad sector: track T side S id I: what is wrong" line per
// bad sector, or "Bad sectors: none".
QString imageReport(const DiskImage &image, const QString &name);

// What is wrong with a bad sector: "data CRC error", "ID CRC error, no
// data mark", ...; empty for a good one.
QString sectorFault(const SectorInfo &sector);

// One sector as the report lists it: the id and its marks.
QString sectorToken(const SectorInfo &sector);

// The sector list's columns: titles, and one sector's cells.
QStringList sectorColumnTitles();
QStringList sectorColumns(const SectorInfo &sector);

// "Track 7 side 0: 18 sectors, MFM, 1 bad" for a map cell.
QString trackDescription(const TrackInfo &track);

} // namespace ferncastle
