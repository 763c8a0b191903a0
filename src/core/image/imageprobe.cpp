#include "imageprobe.h"

#include "imagelayout.h"

namespace ferncastle {

using namespace layout;

namespace {

struct Verdict
{
    bool accepted = false;
    QString reason; // when refused and the header looked like this format
};

// Track 0's first pointer, when there is one, must land on an ID mark.
bool firstPointerLandsOnIdMark(QByteArrayView prefix, const DmkHeader &header)
{
    if (prefix.size() < dmkHeaderSize + 2)
        return false;
    const int pointer = le16(prefix, dmkHeaderSize);
    const int offset = pointer & 0x3FFF;
    if (pointer == 0 || pointer == 0xFFFF || offset < dmkTableSize
        || offset >= header.trackLength || dmkHeaderSize + offset >= prefix.size())
        return false;
    return byteAt(prefix, dmkHeaderSize + offset) == 0xFE;
}

Verdict probeDmk(QByteArrayView prefix, qint64 fileSize)
{
    if (fileSize < dmkHeaderSize)
        return {};
    const quint8 protect = byteAt(prefix, 0);
    if ((protect != 0x00 && protect != 0xFF) || le16(prefix, 12) != 0 || le16(prefix, 14) != 0)
        return {};
    // A JV1 boot sector starts like this and would pass for a DMK header.
    if (protect == 0x00 && byteAt(prefix, 1) == 0xFE)
        return {};
    const DmkHeader header = dmkHeader(prefix);
    if (header.trackLength < dmkTableSize || header.trackLength > dmkMaxTrackLength)
        return {false, QStringLiteral("Its first bytes look like a DMK header, but the track "
                                      "length it gives (%1 bytes) is not between 128 and 16384.")
                           .arg(header.trackLength)};
    if (fileSize <= header.expectedSize || firstPointerLandsOnIdMark(prefix, header))
        return {true, {}};
    return {false, QStringLiteral("Its first bytes look like a DMK header, but the file is "
                                  "longer (%1 bytes) than the header accounts for (%2 bytes).")
                       .arg(fileSize)
                       .arg(header.expectedSize)};
}

// Where the data of the last used entry of the first block ends, and where
// the block's data (free slots included) ends.
struct Jv3Extent
{
    qint64 lastUsedEnd = jv3BlockSize;
    qint64 blockEnd = jv3BlockSize;
};

Jv3Extent jv3Extent(QByteArrayView header)
{
    Jv3Extent extent;
    for (int i = 0; i < jv3EntriesPerBlock; ++i) {
        const quint8 track = byteAt(header, i * 3);
        extent.blockEnd += jv3SectorSize(track, byteAt(header, i * 3 + 2));
        if (track != jv3Free)
            extent.lastUsedEnd = extent.blockEnd;
    }
    return extent;
}

Verdict probeJv3(QByteArrayView prefix, qint64 fileSize)
{
    if (fileSize < jv3BlockSize || prefix.size() < jv3BlockSize)
        return {};
    const quint8 protect = byteAt(prefix, jv3BlockSize - 1);
    if (protect != 0x00 && protect != 0xFF)
        return {};
    const Jv3Extent extent = jv3Extent(prefix);
    const qint64 longest = extent.blockEnd + jv3BlockSize + qint64(jv3EntriesPerBlock) * 1024;
    if (fileSize > longest)
        return {};
    // A file cut short is still a JV3 when it cannot be a JV1.
    if (extent.lastUsedEnd <= fileSize || fileSize % jv1SectorSize != 0)
        return {true, {}};
    return {false, QStringLiteral("Its sector table would be a JV3 one, but it asks for %1 bytes "
                                  "and the file holds %2.")
                       .arg(extent.lastUsedEnd)
                       .arg(fileSize)};
}

Verdict probeJv1(qint64 fileSize)
{
    if (fileSize % jv1SectorSize != 0)
        return {false, QStringLiteral("Its size (%1 bytes) is not a whole number of 256-byte "
                                      "sectors, and it has no DMK or JV3 header.")
                           .arg(fileSize)};
    if (fileSize > qint64(maxTracks) * jv1TrackSize)
        return {false, QStringLiteral("At %1 bytes it is too large for a JV1 image, and it has "
                                      "no DMK or JV3 header.")
                           .arg(fileSize)};
    return {true, {}};
}

} // namespace

ImageProbe probeImage(QByteArrayView prefix, qint64 fileSize)
{
    if (fileSize <= 0)
        return {ImageFormat::Unknown, QStringLiteral("The file is empty.")};
    if (fileSize > largestImage)
        return {ImageFormat::Unknown,
                QStringLiteral("At %1 bytes it is larger than any DMK, JV3 or JV1 image can be.")
                    .arg(fileSize)};
    const Verdict dmk = probeDmk(prefix, fileSize);
    if (dmk.accepted)
        return {ImageFormat::Dmk, {}};
    const Verdict jv3 = probeJv3(prefix, fileSize);
    if (jv3.accepted)
        return {ImageFormat::Jv3, {}};
    const Verdict jv1 = probeJv1(fileSize);
    if (jv1.accepted)
        return {ImageFormat::Jv1, {}};
    // The most telling reason: a header that nearly passed says more than
    // the size rule that every file without a header ends at.
    for (const QString &reason : {dmk.reason, jv3.reason, jv1.reason}) {
        if (!reason.isEmpty())
            return {ImageFormat::Unknown, reason};
    }
    return {ImageFormat::Unknown, QStringLiteral("It is not a DMK, JV3 or JV1 image.")};
}

} // namespace ferncastle
