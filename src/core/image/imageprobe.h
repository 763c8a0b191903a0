#pragma once

#include "diskimage.h"

#include <QByteArrayView>

namespace ferncastle {

// The format decision, made from the file's size and its first bytes only,
// so that a large file that is no image is refused before it is read.
struct ImageProbe
{
    ImageFormat format = ImageFormat::Unknown;
    QString refusal; // a sentence saying why it is none of the three
};

// Enough for the DMK header and track 0's first pointer target, and for the
// whole first JV3 header block.
inline constexpr qsizetype probePrefixSize = 16 + 0x4000;

// prefix: the first min(fileSize, probePrefixSize) bytes of the file.
ImageProbe probeImage(QByteArrayView prefix, qint64 fileSize);

} // namespace ferncastle
