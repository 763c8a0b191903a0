#pragma once

#include "diskimage.h"

#include <QByteArrayView>

namespace ferncastle {

// Reads a DMK, JV3 or JV1 image from its bytes; the format comes from the
// content, never from a file name. Linear in the size, whatever the bytes.
DiskImage readDiskImage(QByteArrayView bytes);

class RegularFile;

// Reads the file at path. The format is decided once, from its size and
// first bytes, before the rest is read, so a large file that is no image is
// refused at once. A file that cannot be opened, is not a regular file or
// changes while it is read is refused with the reason.
// bytes, when given, receives the file's bytes when it is an image.
DiskImage readDiskImageFile(const QString &path, QByteArray *bytes = nullptr);
// The same from a file already opened, read from its start.
DiskImage readDiskImageFile(RegularFile &file, QByteArray *bytes = nullptr);

// The format the reader would decide for the open file, from its first
// bytes only; Unknown when it is none or cannot be read as its size said.
ImageFormat probeImageFile(RegularFile &file);

} // namespace ferncastle
