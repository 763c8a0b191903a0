#pragma once

#include <QString>
#include <QStringView>

namespace ferncastle {

// Longer texts are shortened before they are shown.
inline constexpr qsizetype DisplayTextLimit = 160;

// A stored or typed text as a message may quote it: unchanged up to
// DisplayTextLimit characters, else its start and its end around an
// ellipsis, followed by its length ("/opt/ab…yz/cw2dmk [10485766
// characters]"). Message boxes lay out text in more than linear time, so
// a text of megabytes would freeze the window; its two ends are what tells
// the user which value it is. Takes time linear in the part it keeps.
QString shortenedForDisplay(QStringView text);

// A name or text as a terminal line may print it: control characters (CR,
// LF, ESC, C1), invisible format characters (bidirectional overrides) and
// the undecodable bytes of a file name (see nativename.h) are written as
// \xNN or \uNNNN, a backslash as \\, so that nothing printed can move the
// cursor, retitle the terminal or forge a line.
QString escapedForTerminal(QStringView text);

} // namespace ferncastle
