#include "dmktrack.h"
#include "formatreaders.h"

namespace ferncastle {

using namespace layout;

namespace {

// cw2dmk writes the header first and again only at the end: an interrupted
// read leaves a header that promises more than the file holds, so the file
// size decides how many blocks are read.
void reportSizeAgainstHeader(const DmkHeader &header, qint64 fileSize, DiskImage &image)
{
    const qint64 data = fileSize - dmkHeaderSize;
    const qint64 promised = qint64(header.tracks) * header.sides;
    const qint64 whole = data / header.trackLength;
    const qint64 partial = data % header.trackLength;
    if (whole < promised) {
        image.findings.append(imageFinding(
            FindingKind::MissingTracks,
            QStringLiteral("The header claims %1 (%2 bytes) but the file holds %3 bytes, "
                           "%4 of the %5 track blocks whole: the tell-tale of an interrupted "
                           "read.")
                .arg(header.tracks == 1 ? QStringLiteral("1 track")
                                        : QStringLiteral("%1 tracks").arg(header.tracks))
                .arg(header.expectedSize)
                .arg(fileSize)
                .arg(whole)
                .arg(promised)));
        if (partial > 0)
            image.findings.append(imageFinding(
                FindingKind::Truncated,
                QStringLiteral("The file ends %1 bytes into track %2 side %3.")
                    .arg(partial)
                    .arg(whole / header.sides)
                    .arg(whole % header.sides)));
    } else if (fileSize > header.expectedSize) {
        image.findings.append(imageFinding(
            FindingKind::TrailingBytes,
            QStringLiteral("The file holds %1 bytes after the last track the header accounts "
                           "for.")
                .arg(fileSize - header.expectedSize)));
    }
}

void reportUnusualOptions(const DmkHeader &header, DiskImage &image)
{
    if (header.options & dmkRx02)
        image.findings.append(imageFinding(
            FindingKind::Unsupported,
            QStringLiteral("The image uses the DEC RX02 encoding, whose sectors this reader "
                           "decodes as plain FM; sizes and CRCs may be wrong.")));
}

} // namespace

void readDmk(QByteArrayView bytes, DiskImage &image)
{
    const DmkHeader header = dmkHeader(bytes);
    image.geometry.sides = header.sides;
    image.geometry.trackLength = header.trackLength;
    image.geometry.headerTracks = header.tracks;
    image.geometry.writeProtected = header.writeProtected;
    reportSizeAgainstHeader(header, bytes.size(), image);
    reportUnusualOptions(header, image);

    const qint64 data = bytes.size() - dmkHeaderSize;
    const qint64 present = (data + header.trackLength - 1) / header.trackLength;
    const qint64 blocks = qMin(present, qint64(header.tracks) * header.sides);
    image.geometry.tracks = int((blocks + header.sides - 1) / header.sides);
    image.tracks.reserve(blocks);
    for (qint64 block = 0; block < blocks; ++block) {
        const qint64 start = dmkHeaderSize + block * header.trackLength;
        DmkTrackBlock track;
        track.bytes = bytes.sliced(start, qMin<qint64>(header.trackLength, bytes.size() - start));
        track.fileOffset = start;
        track.track = int(block / header.sides);
        track.side = int(block % header.sides);
        track.header = &header;
        image.tracks.append(readDmkTrack(track, image.findings));
    }
}

} // namespace ferncastle
