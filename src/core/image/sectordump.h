#pragma once

#include "diskimage.h"

#include <QByteArray>
#include <QString>

namespace ferncastle {

// Bytes as a dump: 16 a line, the offset in hex, the bytes in hex (a wider
// gap after the eighth), then the same bytes as ASCII with '.' for anything
// not printable. No trailing newline.
QString hexDump(const QByteArray &bytes);

// Where a sector lies and how it read, for the heading over its dump:
// "Track 17 side 0, sector 3 (ID field: cylinder 17, head 0), 256 bytes,
// FM; ID CRC good, data CRC bad, data mark FB". held: how many of its bytes
// the file holds; named when short of the sector's size.
QString sectorHeading(const TrackInfo &track, const SectorInfo &sector, qsizetype held);

} // namespace ferncastle
