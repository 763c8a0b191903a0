#pragma once

#include "diskimage.h"
#include "imagelayout.h"

#include <QByteArrayView>

namespace ferncastle {

// One track block of a DMK file, possibly cut short by the end of the file.
struct DmkTrackBlock
{
    QByteArrayView bytes; // what the file holds of the block
    qint64 fileOffset = 0;
    int track = 0;
    int side = 0;
    const layout::DmkHeader *header = nullptr;
};

// The sectors of the block in pointer-table order, and the findings about
// its pointers, appended to findings.
TrackInfo readDmkTrack(const DmkTrackBlock &block, QList<Finding> &findings);

} // namespace ferncastle
