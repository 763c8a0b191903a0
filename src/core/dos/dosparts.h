#pragma once

// The pieces the directory reader's files share; nothing outside
// src/core/dos includes this.

#include "dosdirectory.h"

#include <optional>

namespace ferncastle::dosparts {

// How the DOS numbers the sectors of a cylinder: side 0's, then side 1's,
// ids from firstId. A cylinder recorded in another density than the data
// tracks (cylinder 0 of a doubler disk) keeps its own count per side.
struct DosGeometry
{
    int firstId = 0;
    int sides = 1;
    int sectorsPerTrack = 10;
    int sectorsPerGranule = 5;
    int granulesPerCylinder = 2;
    int cylinders = 0;
    QList<int> ownTrackSectors; // per cylinder; 0 where the data tracks' count holds

    int sectorsPerCylinder() const { return sectorsPerTrack * sides; }
    int granules() const { return granulesPerCylinder * cylinders; }
    // The sector at position index of the cylinder, counting on into the
    // next cylinders; nothing beyond the disk.
    std::optional<SectorAddress> address(int cylinder, int index) const;
    // The sectors of one granule, nothing when it lies beyond the disk.
    QList<SectorAddress> granuleSectors(int granule) const;
};

// The image's facts the geometry is drawn from.
DosGeometry imageGeometry(const SectorSource &source, int directoryCylinder, int firstId,
                          bool trsdos13);

// Where the directory starts: its GAT; the HIT follows.
struct DirectoryPlace
{
    DosLayout layout = DosLayout::Trsdos23;
    int cylinder = 0;
    int index = 0;             // of the GAT in that cylinder
    int entrySectors = 0;      // directory sectors holding entries
    int granulesPerLump = 0;   // NEWDOS only
    DosGeometry geometry;
};

// The directory sector that holds entry code dec's slot (2.3 family and
// NEWDOS), or the index-th entry sector (TRSDOS 1.3).
std::optional<SectorAddress> entrySector(const DirectoryPlace &place, int sectorNumber);
std::optional<SectorAddress> gatSector(const DirectoryPlace &place);
std::optional<SectorAddress> hitSector(const DirectoryPlace &place);

// The HIT's hash of an 11-byte blank-padded name and extension.
quint8 nameHash(QByteArrayView nameAndExtension);

// Finds the directory by scoring the evidence; the reason it found none in
// whyNot.
std::optional<DirectoryPlace> findDirectory(const SectorSource &source, QString *whyNot);

// Reads the entries and the disk line; the files' sectors and health are
// left to checkFiles.
void readEntries(const SectorSource &source, const DirectoryPlace &place,
                 DosDirectory &directory);
void readDiskLine(const SectorSource &source, const DirectoryPlace &place,
                  DosDirectory &directory);
void checkFiles(const SectorSource &source, const DirectoryPlace &place,
                DosDirectory &directory);

QString addressText(SectorAddress address);

} // namespace ferncastle::dosparts
