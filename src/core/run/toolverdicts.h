#pragma once

#include "core/run/runverdict.h"

namespace ferncastle {

class DiskMap;
struct DiskImage;
struct RunSummary;

// Each tool's verdict on a run that exited with status 0, from its own
// report; the tool table names which one a tool gets.
RunVerdict judgeCw2dmkReport(const RunSummary &summary, const DiskMap &map, bool imageReadBack);
RunVerdict judgeDmk2cwReport(const RunSummary &summary, const DiskMap &map, bool imageReadBack);
RunVerdict judgeDmk2jv3Report(const RunSummary &summary, const DiskMap &map, bool imageReadBack);
RunVerdict judgeJv2dmkReport(const RunSummary &summary, const DiskMap &map, bool imageReadBack);

// jv2dmk stops on a track longer than its kind of media holds; the input's
// sectors say which -k would hold them.
QString adviseJv2dmkFailure(const RunSummary &summary, const QString &inputName,
                            const DiskImage &input);

// Every track and side the map holds as unrecovered, with its error count.
QList<AffectedTrack> badTracks(const DiskMap &map);
RunVerdict makeVerdict(VerdictKind kind, const QString &sentence,
                       QList<AffectedTrack> affected = {});

} // namespace ferncastle
