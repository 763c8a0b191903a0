#pragma once

#include <QString>
#include <QStringView>

namespace ferncastle {

// A file name or other outside text as one terminal line may show it: every
// control character (C0, DEL and C1: line ends, escape sequences) becomes a
// visible \xNN escape, so a name can neither forge a line nor drive the
// terminal.
QString escapedForTerminal(QStringView text);

} // namespace ferncastle
