#pragma once

#include <QString>
#include <QStringList>

namespace ferncastle {

// ferncastle --files IMAGE...: prints each image's disk line and one line
// per file. Returns the exit status: 0 when every directory was read and
// every file is intact, 1 when some file or directory sector is damaged,
// 2 when an image has no directory or is no image (or none was named).
int printDiskFiles(const QStringList &images);

// ferncastle --extract FOLDER IMAGE: writes the image's intact files into
// FOLDER, the damaged ones too when damagedToo; a file already there is
// left as it is. Exit status as printDiskFiles's, 1 also when a file was
// left out, 2 when a file could not be written.
int extractDiskFiles(const QString &folder, const QStringList &images, bool damagedToo);

} // namespace ferncastle
