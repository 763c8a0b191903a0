#pragma once

#include "core/options/optionset.h"

#include <QString>

#include <optional>

namespace ferncastle {

// Writes the option set to fileName so that either the whole new file is in
// place or the file that was there stays untouched. Empty on success, else a
// message naming the file and the reason. Nothing is written when a text
// cannot be written faithfully or the name belongs to something other than
// a regular file.
QString saveOptionFile(const QString &fileName, const OptionSet &options);

// The option set in an options file, or a message naming the file, the line
// and what is wrong with it.
struct LoadedOptionFile {
    std::optional<OptionSet> options;
    QString error;
};

// Reads no more than the start of the file, so a large file chosen by
// mistake is refused at once.
LoadedOptionFile loadOptionFile(const QString &fileName);

} // namespace ferncastle
