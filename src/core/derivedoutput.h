#pragma once

#include <QString>

namespace ferncastle {

// The file dmk2jv3 (".dsk") or jv2dmk (".dmk") writes when it is given one
// file name: that name up to its last '.', then the extension. Like the
// tools, it looks for the '.' in the whole path, so a name without an
// extension in a folder with a dot in its name is cut inside the folder.
QString derivedOutputName(const QString &input, const QString &extension);

// Whether a run may write writtenFile, given the chosen file.
enum class OutputClash {
    None,       // nothing there yet
    Exists,     // another file would be replaced: ask first
    IsChosenFile // the tool would empty its own input: refuse
};
OutputClash outputClash(const QString &chosenFile, const QString &writtenFile);

// "<file> already exists. Replace it?" asked before the run, default No.
QString replaceQuestion(const QString &tool, const QString &writtenFile);

// Why the run is refused when the output would be the chosen file, and
// what to do instead.
QString sameFileRefusal(const QString &tool, const QString &chosenFile, const QString &extension);

} // namespace ferncastle
