#pragma once

#include "sectorsource.h"

#include <QList>
#include <QString>

namespace ferncastle {

// How one sector address differs between two images.
enum class SectorDifferenceKind {
    OnlyInFirst,
    OnlyInSecond,
    Differs, // in both, with other bytes or another status
};

struct SectorStatus
{
    bool crcOk = true;    // ID and data CRCs (a JV3 keeps one flag for both)
    bool hasDataMark = true;
    quint8 dataMark = 0xFB;
    bool complete = true; // every byte inside the file

    friend bool operator==(const SectorStatus &, const SectorStatus &) = default;
};

struct SectorDifference
{
    SectorAddress address;
    SectorDifferenceKind kind = SectorDifferenceKind::Differs;
    SectorStatus first;        // as the first image has it (when there)
    SectorStatus second;
    int firstDifferentByte = -1; // Differs: the first data byte that differs, or -1
    int firstSize = 0;           // the data sizes, which may differ too
    int secondSize = 0;

    bool statusDiffers() const { return !(first == second); }
};

struct ImageComparison
{
    int firstSectors = 0;  // distinct addresses in each image
    int secondSectors = 0;
    int sameSectors = 0;
    QList<SectorDifference> differences; // by cylinder, side, then id

    // Every sector of each image is in the other with the same bytes and
    // the same status.
    bool equal() const { return differences.isEmpty(); }
};

// Sector by sector, whatever the two formats: linear in the images' sizes.
ImageComparison compareImages(const SectorSource &first, const SectorSource &second);

// One plain line for the difference: "Cylinder 3, side 0, sector 5: ...".
// first and second name the two images in the text; holder, when known,
// what the sector belongs to ("Cylinder 3, side 0, sector 5 (in BASIC/CMD): ...").
QString describeDifference(const SectorDifference &difference, const QString &first,
                           const QString &second, const QString &holder = {});

} // namespace ferncastle
