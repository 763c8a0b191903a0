#pragma once

#include "diskimage.h"

namespace ferncastle {

// The findings of one kind: a damaged image can repeat one fault on every
// track, and a list of hundreds of near-identical lines hides the others.
struct FindingGroup
{
    FindingKind kind = FindingKind::Truncated;
    QList<Finding> instances;
    QList<int> tracks; // ascending, each once; the image-wide ones left out
};

// One group per kind, in the order each kind first appears.
QList<FindingGroup> groupFindings(const QList<Finding> &findings);

// The group in one line: the finding's own text when it is alone, else
// "Duplicate sector: 360, tracks 0-39".
QString findingGroupLine(const FindingGroup &group);

// "0-3, 7, 9-12" for ascending track numbers.
QString trackRanges(const QList<int> &tracks);

} // namespace ferncastle
