#pragma once

#include <QString>

namespace ferncastle {

// Whether a run may write writtenFile, given the chosen file.
enum class OutputClash {
    None,       // nothing there yet
    Exists,     // another file would be replaced: ask first
    IsChosenFile, // the tool would empty its own input: refuse
    NotAFile      // a link, folder, pipe, device or socket: refuse
};
OutputClash outputClash(const QString &chosenFile, const QString &writtenFile);

// "<file> already exists. Replace it?" asked before the run, default No.
QString replaceQuestion(const QString &tool, const QString &writtenFile);

// Why the run is refused when the output would be the chosen file, and
// what to do instead.
QString sameFileRefusal(const QString &tool, const QString &chosenFile, const QString &extension);

// Why the run is refused when its output is not an ordinary file (what it
// is, what writing would do), and what to do instead.
QString notAFileRefusal(const QString &tool, const QString &writtenFile);

} // namespace ferncastle
