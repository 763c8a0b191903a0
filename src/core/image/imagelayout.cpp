#include "imagelayout.h"

namespace ferncastle::layout {

DmkHeader dmkHeader(QByteArrayView bytes)
{
    DmkHeader header;
    header.writeProtected = byteAt(bytes, 0) == 0xFF;
    header.tracks = byteAt(bytes, 1);
    header.trackLength = le16(bytes, 2);
    header.options = byteAt(bytes, 4);
    header.quirks = byteAt(bytes, 5);
    header.sides = (header.options & dmkSingleSided) ? 1 : 2;
    header.expectedSize = dmkHeaderSize
                          + qint64(header.tracks) * header.sides * header.trackLength;
    return header;
}

int jv3SectorSize(quint8 track, quint8 flags)
{
    // Used entries store the IBM size code XOR 1, free ones XOR 2.
    const int code = (flags & 0x03) ^ (track == jv3Free ? 2 : 1);
    return 128 << code;
}

} // namespace ferncastle::layout
