#pragma once

#include <QStringList>

namespace ferncastle {

// ferncastle --info FILE...: prints each image's report on standard output
// and returns the exit status: 0 when every image was read cleanly, 1 when
// any had CRC errors or findings, 2 when any could not be read as an image
// (or no file was named).
int printImageInformation(const QStringList &files);

} // namespace ferncastle
