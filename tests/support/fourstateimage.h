#pragma once

// One small DMK with a track in each state the image map shows, for the
// tests of the map and of the window around it.

#include "core/imagewriter.h"

namespace ferncastle::test {

// Track 0: good; track 1: a data CRC error; track 2: sector 2 of 1..3
// missing; track 3: unformatted.
inline QByteArray fourStateImage()
{
    namespace iw = imagewriter;
    return iw::dmk(4, 1, 0x1900, [](int t, int) {
        QList<iw::Sector> sectors;
        for (quint8 id = 1; id <= 3; ++id) {
            iw::Sector s{quint8(t), 0, id, 1, true};
            s.badDataCrc = t == 1 && id == 2;
            if (t != 3 && !(t == 2 && id == 2))
                sectors.append(s);
        }
        return sectors;
    });
}

} // namespace ferncastle::test
