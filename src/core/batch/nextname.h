#pragma once

#include "core/tools/toolcommand.h"

#include <QString>

namespace ferncastle {

// The name after fileName in a box of disks: a base ending in digits counts
// up keeping its width (disk007.dmk, disk008.dmk; disk999.dmk, disk1000.dmk),
// any other gets "-2", then counts up from there. Only the name, no folder.
QString followingName(const QString &fileName);

// The first name after path's, in the same folder, that no file holds yet:
// a taken name is skipped, never replaced.
QString nextFreeName(const QString &path);

// A second read of the same disk: "disk007.dmk" gives "disk007-2.dmk",
// then "-3"..., skipping taken names, so the box's own numbering stays.
QString retryName(const QString &path);

// The same run with image in place of the command's chosen image: in the
// arguments, the written files and the command line shown.
ToolCommand commandForImage(const ToolCommand &command, const QString &image);

} // namespace ferncastle
