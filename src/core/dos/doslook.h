#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferncastle {

// A look inside a file from a TRS-80 disk, as plain text for a viewer.
enum class LookKind { Text, BasicListing, LoadModule, HexDump };

struct FileLook
{
    LookKind kind = LookKind::HexDump;
    QString text;
};

// Picks the rendering the bytes bear out: a Level II BASIC program as its
// listing, a load module (/CMD) as its blocks and entry address, text as
// text, anything else as a hex dump.
FileLook lookInside(const QByteArray &bytes);

// Each rendering alone; nothing where the bytes are not of that kind. The
// hex dump is the sector view's (core/image/sectordump.h): one dump
// in the program.
std::optional<QString> basicListing(const QByteArray &bytes);
std::optional<QString> loadModuleView(const QByteArray &bytes);
std::optional<QString> textView(const QByteArray &bytes);

} // namespace ferncastle
