#pragma once

#include <QString>

namespace ferncastle {

// Why the file may not be given root's rights, or empty when it is one of
// the card tools itself: a regular file named cw2dmk or dmk2cw (or a
// versioned name such as cw2dmk-4.10), not a
// link and with no other name. Asked when the files are listed and again
// just before each command that changes them, since a file can be swapped
// for a link in between.
QString notACardTool(const QString &file);

} // namespace ferncastle
