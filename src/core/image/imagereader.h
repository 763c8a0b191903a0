#pragma once

#include "diskimage.h"

#include <QByteArrayView>

namespace ferncastle {

// Reads a DMK, JV3 or JV1 image from its bytes; the format comes from the
// content, never from a file name. Linear in the size, whatever the bytes.
DiskImage readDiskImage(QByteArrayView bytes);

// Reads the file at path. The format is decided from its size and first
// bytes before the rest is read, so a large file that is no image is
// refused at once. A file that cannot be opened is refused with the reason.
DiskImage readDiskImageFile(const QString &path);

} // namespace ferncastle
