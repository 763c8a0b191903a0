#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <utility>

namespace ferncastle {

struct DiskImage;

// Sectors held per (track, side), as the image reader found them.
using CellCounts = QMap<std::pair<int, int>, int>;

// "track 5 side 0", "tracks 0-39 side 1, track 3 side 0": runs of
// neighbouring tracks on one side said once.
QString cellRanges(const QList<std::pair<int, int>> &cells);

CellCounts sectorsPerCell(const DiskImage &image);

// Everything the reader found wrong with an image, one plain sentence per
// kind of fault naming the tracks: pointers that lead nowhere or repeat,
// sectors twice on a track, a file cut short, a header claiming more, and
// tracks without a sector between tracks that hold some.
QStringList imageProblems(const DiskImage &image);

// The question asked before an image is written to a disk, listing what is
// wrong with it; empty for an image with nothing wrong.
QString imageToDiskQuestion(const QString &name, const DiskImage &image);
// The same for the image file at path, read now. A file the reader does not
// take gets no question: the tool says what it makes of it.
QString imageToDiskQuestion(const QString &path);

} // namespace ferncastle
