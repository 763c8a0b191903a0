#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Sizes and header fields of the three formats, shared by the probe that
// decides the format and the readers that walk the bytes.
namespace ferncastle::layout {

inline constexpr int dmkHeaderSize = 16;
inline constexpr int dmkTableSize = 128;
inline constexpr int dmkMaxPointers = 64;
inline constexpr int dmkMaxTrackLength = 0x4000;
inline constexpr quint8 dmkSingleSided = 0x10;
inline constexpr quint8 dmkRx02 = 0x20;
inline constexpr quint8 dmkFmStoredOnce = 0x40;
inline constexpr quint8 dmkIgnoreDensity = 0x80;
inline constexpr quint8 quirkIdCrcWithoutPremarks = 0x01;
inline constexpr quint8 quirkDataCrcWithoutPremarks = 0x02;

inline constexpr int jv3BlockSize = 8704;
inline constexpr int jv3EntriesPerBlock = 2901;
inline constexpr int jv3Blocks = 2;
inline constexpr quint8 jv3Free = 0xFF;

inline constexpr int jv1SectorSize = 256;
inline constexpr int jv1SectorsPerTrack = 10;
inline constexpr int jv1TrackSize = jv1SectorSize * jv1SectorsPerTrack;
// A sector's ID field holds the cylinder in one byte.
inline constexpr int maxTracks = 255;

inline constexpr qint64 largestDmk = dmkHeaderSize + qint64(maxTracks) * 2 * dmkMaxTrackLength;
inline constexpr qint64 largestImage = largestDmk;

inline quint8 byteAt(QByteArrayView bytes, qsizetype offset)
{
    return quint8(bytes[offset]);
}

inline int le16(QByteArrayView bytes, qsizetype offset)
{
    return byteAt(bytes, offset) | (byteAt(bytes, offset + 1) << 8);
}

struct DmkHeader
{
    bool writeProtected = false;
    int tracks = 0;
    int trackLength = 0;
    quint8 options = 0;
    quint8 quirks = 0;
    int sides = 2;
    qint64 expectedSize = 0;
};

// The header's fields; the caller has checked that 16 bytes are there.
DmkHeader dmkHeader(QByteArrayView bytes);

// Bytes a JV3 sector takes, from its entry's flags.
int jv3SectorSize(quint8 track, quint8 flags);

} // namespace ferncastle::layout
