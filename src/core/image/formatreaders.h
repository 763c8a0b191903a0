#pragma once

#include "diskimage.h"

#include <QByteArrayView>

namespace ferncastle {

// Each fills image (already marked with its format and file size) from the
// whole file. None trusts a count, length or pointer the bytes give: every
// read is checked against the buffer.
void readDmk(QByteArrayView bytes, DiskImage &image);
void readJv3(QByteArrayView bytes, DiskImage &image);
void readJv1(QByteArrayView bytes, DiskImage &image);

// A finding about the image as a whole, not one track or entry.
inline Finding imageFinding(FindingKind kind, const QString &text)
{
    Finding finding;
    finding.kind = kind;
    finding.text = text;
    return finding;
}

} // namespace ferncastle
