#include "core/jv1sniff.h"

#include <QByteArray>
#include <QFile>

namespace ferncastle {

namespace {

constexpr qint64 jv1TrackBytes = 10 * 256;
constexpr qint64 jv3HeaderBytes = 34 * 256; // 2901 sector entries and one byte
constexpr int jv3Entries = 2901;
constexpr uchar freeTrack = 0xFF;

int usedSectorBytes(uchar flags)
{
    constexpr int sizes[] = {256, 128, 1024, 512};
    return sizes[flags & 3];
}

// The header test of a JV3 reader: a write-protect byte of 0x00 or 0xFF,
// and used entries whose sectors fit in what follows the header.
bool isValidJv3Header(const QByteArray &header, qint64 fileSize)
{
    const auto byte = [&](qsizetype i) { return uchar(header[i]); };
    const uchar writeProtect = byte(jv3HeaderBytes - 1);
    if (writeProtect != 0x00 && writeProtect != 0xFF)
        return false;
    qint64 sectorBytes = 0;
    for (int entry = 0; entry < jv3Entries; ++entry) {
        if (byte(entry * 3) != freeTrack)
            sectorBytes += usedSectorBytes(byte(entry * 3 + 2));
    }
    return sectorBytes <= fileSize - jv3HeaderBytes;
}

} // namespace

bool isPlainlyJv1(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    if (size == 0 || size % jv1TrackBytes != 0)
        return false;
    if (size < jv3HeaderBytes)
        return true;
    const QByteArray header = file.read(jv3HeaderBytes);
    return header.size() == jv3HeaderBytes && !isValidJv3Header(header, size);
}

} // namespace ferncastle
