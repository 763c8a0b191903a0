#pragma once

#include <QStringList>

namespace ferncastle {

// ferncastle --compare A B: prints one line per sector that differs and a
// closing line, and returns the exit status: 0 when the two images hold the
// same sectors, 1 when they differ, 2 when either is no image (or not two
// files were named).
int printImageComparison(const QStringList &files);

} // namespace ferncastle
