#pragma once

#include "core/options/optionset.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferncastle {

// An options file (*.DAT) holds an option set as 17 lines, each ending in
// CR LF: the eight check-box states, then the eight group values in group
// order (a list's position, a text unchanged), then the additional
// parameters. No header, no key names.
inline constexpr int OptionFileLineCount = 2 * GroupCount + 1;
static_assert(OptionFileLineCount == 17, "an options file has 17 lines");

// Only this much of a file is ever looked at. A real options file is a few
// hundred bytes, but it must hold whatever the window's boxes can: three
// number boxes of 32,767 characters and a parameter text of 131,072, each
// character up to three bytes in UTF-8. Anything whose 17 lines do not fit
// is not an options file.
inline constexpr qsizetype OptionFileMaxBytes = 1024 * 1024;
static_assert(OptionFileMaxBytes > 3 * (3 * 32767 + 128 * 1024) + 1024,
              "an options file holds the longest texts the window's boxes take");

// The bytes of an options file, or why the option set cannot be written
// faithfully (the error names the option).
struct EncodedOptionFile {
    QByteArray bytes;
    QString error;
};

// What is wrong with an options file: the line at fault (1 to 17), or 0
// when the fault is the file as a whole.
struct OptionFileError {
    int line = 0;
    QString reason;
};

// The option set in a file, or the first fault found in it.
struct DecodedOptionFile {
    std::optional<OptionSet> options;
    OptionFileError error;
};

// Texts are written in the system's encoding (UTF-8 on Linux).
EncodedOptionFile encodeOptionFile(const OptionSet &options);

// Checks all 17 lines before it returns an option set, so a caller applies
// either the whole file or nothing. Takes CR LF or LF line ends and ignores
// whatever follows line 17. Only the first OptionFileMaxBytes bytes count.
DecodedOptionFile decodeOptionFile(const QByteArray &bytes);

// "Line 3 ("Drive kind" box): ..." or the reason alone for the whole file.
QString describe(const OptionFileError &error);

} // namespace ferncastle
