#pragma once

#include <QtGlobal>

#include <array>

namespace ferncastle::crc16 {

// CRC-16/CCITT as floppy controllers compute it: polynomial 0x1021, most
// significant bit first, no final inversion.
inline constexpr quint16 initial = 0xFFFF;
// The register after the three A1 premarks of an MFM field.
inline constexpr quint16 afterMfmPremarks = 0xCDB4;

namespace detail {

constexpr std::array<quint16, 256> makeTable()
{
    std::array<quint16, 256> table{};
    for (int i = 0; i < 256; ++i) {
        quint16 crc = quint16(i << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = quint16((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        table[std::size_t(i)] = crc;
    }
    return table;
}

inline constexpr std::array<quint16, 256> table = makeTable();

} // namespace detail

// Inline: the image reader calls it for every byte of every field, and a
// call per byte was a third of the time a whole image took.
inline quint16 update(quint16 crc, quint8 byte)
{
    return quint16((crc << 8) ^ detail::table[std::size_t(((crc >> 8) ^ byte) & 0xFF)]);
}

} // namespace ferncastle::crc16
