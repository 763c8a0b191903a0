#pragma once

#include <QString>

namespace ferncastle {

// A path Qt's file functions can open for a name decoded with
// decodedNativeName() (core/nativename.h). A name that is valid UTF-8 is
// its own path; one holding other bytes is opened by its bytes, without
// waiting on a pipe, and reached through /proc/self/fd, the descriptor
// staying open for the life of the program. Empty when it cannot be opened;
// the caller then reports the name as missing.
QString openablePath(const QString &name);

} // namespace ferncastle
