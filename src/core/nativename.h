#pragma once

#include <QByteArray>
#include <QString>

namespace ferncastle {

// File names as the system hands them over (argv, a folder listing) are
// bytes, not always valid UTF-8 ("latin1-\xe9.dmk"). Decoded here, each
// byte that is not part of valid UTF-8 becomes a lone surrogate U+DC80 to
// U+DCFF, so that the name encodes back to the very same bytes and can
// still be opened; escapedForTerminal() shows such a byte as \xNN.
QString decodedNativeName(QByteArrayView native);
QByteArray encodedNativeName(QStringView name);

// Whether the name holds bytes that are not valid UTF-8: Qt's own file
// functions cannot open it by name.
bool holdsUndecodableBytes(QStringView name);

} // namespace ferncastle
