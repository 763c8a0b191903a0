#pragma once

#include <QtGlobal>

namespace ferncastle::crc16 {

// CRC-16/CCITT as floppy controllers compute it: polynomial 0x1021, most
// significant bit first, no final inversion.
inline constexpr quint16 initial = 0xFFFF;
// The register after the three A1 premarks of an MFM field.
inline constexpr quint16 afterMfmPremarks = 0xCDB4;

quint16 update(quint16 crc, quint8 byte);

} // namespace ferncastle::crc16
