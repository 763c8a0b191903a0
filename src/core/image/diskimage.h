#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

namespace ferncastle {

// What a disk image holds, as read from its bytes: plain values the window,
// the command line and the tests all look at the same way.

enum class ImageFormat { Unknown, Dmk, Jv1, Jv3 };

enum class Recording { FM, MFM };

enum class TrackDensity { Empty, Single, Double, Mixed };

struct SectorInfo
{
    // DMK: index in the track's IDAM pointer table; JV3: entry in the header
    // (the second block continues at 2901); JV1: position on the track.
    int entry = -1;
    Recording encoding = Recording::FM;
    // As the ID field gives them (JV: as the image gives them).
    quint8 cylinder = 0;
    quint8 head = 0;
    quint8 sectorId = 0;
    quint8 sizeCode = 0;
    bool idCrcOk = true;
    bool hasDataMark = true;
    quint8 dataMark = 0xFB;
    bool dataCrcOk = true;
    // Every byte of the sector, CRC included, lies inside the file.
    bool complete = true;
    qint64 idOffset = -1;   // file offset of the ID mark byte (DMK only)
    qint64 dataOffset = -1; // file offset of the first data byte
    int dataSize = 0;
    // DMK: file bytes per data byte (single density is stored doubled unless
    // the header says otherwise); the field may continue past the end of
    // its track block at the block's first byte after the pointer table.
    quint8 dataStep = 1;
    int jv3Flags = -1; // the entry's flags byte (JV3 only)

    bool deleted() const { return hasDataMark && dataMark == 0xF8; }
    bool good() const { return idCrcOk && hasDataMark && dataCrcOk && complete; }
};

struct TrackInfo
{
    int track = 0;
    int side = 0;
    QList<SectorInfo> sectors; // in the order they pass the head
    // Known for DMK only: the track block lies wholly inside the file.
    bool complete = true;

    TrackDensity density() const;
    int badSectors() const;
    // Ids the track's own pattern expects but does not hold: the gaps in the
    // run of ids between its lowest and highest sector.
    QList<int> missingIds() const;
};

enum class FindingKind {
    Truncated,           // the file ends inside a track or a sector
    MissingTracks,       // the header claims more tracks than the file holds
    TrailingBytes,       // the file is longer than its header accounts for
    PointerOutsideTrack, // an IDAM pointer points outside its track
    PointerNotOnIdMark,  // an IDAM pointer does not land on an ID mark
    DuplicatePointer,    // an IDAM pointer repeats one already followed
    DuplicateSector,     // the same cylinder/head/sector id twice on a track
    CylinderMismatch,    // ID fields name another cylinder than the track's
    Unsupported,         // a feature the reader does not decode
};

struct Finding
{
    FindingKind kind = FindingKind::Truncated;
    int track = -1;  // -1: the image as a whole
    int side = -1;
    int entry = -1;  // the pointer or header entry concerned
    int sameAs = -1; // DuplicatePointer/DuplicateSector: the sector it repeats
    QString text;    // a plain sentence for the user
};

struct Geometry
{
    int tracks = 0;       // tracks present in the file
    int sides = 0;
    int trackLength = 0;  // DMK: bytes per track block, table included
    int headerTracks = 0; // DMK: what the header claims
    bool writeProtected = false;
};

struct DiskImage
{
    ImageFormat format = ImageFormat::Unknown;
    QString refusal; // why it is not an image this reader knows
    qint64 fileSize = 0;
    Geometry geometry;
    QList<TrackInfo> tracks; // track by track, side 0 before side 1
    QList<Finding> findings;

    bool isImage() const { return format != ImageFormat::Unknown; }
    const TrackInfo *track(int track, int side) const;
    int sectorCount() const;
    int badSectorCount() const;
};

QString formatName(ImageFormat format);

} // namespace ferncastle
