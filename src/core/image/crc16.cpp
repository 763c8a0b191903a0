#include "crc16.h"

#include <array>

namespace ferncastle::crc16 {

namespace {

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

constexpr std::array<quint16, 256> table = makeTable();

} // namespace

quint16 update(quint16 crc, quint8 byte)
{
    return quint16((crc << 8) ^ table[std::size_t(((crc >> 8) ^ byte) & 0xFF)]);
}

} // namespace ferncastle::crc16
