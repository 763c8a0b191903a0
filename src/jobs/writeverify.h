#pragma once

#include "core/run/runverdict.h"
#include "core/tools/toolcommand.h"

#include <functional>
#include <memory>

namespace ferncastle {

class JobChain;

// The cw2dmk read that checks a dmk2cw write: the write's drive, port,
// drive kind, step multiplier and sides, the image's own track count (from
// its DMK header), into a new file beside the image, never one that exists.
// program: the cw2dmk to start. An empty command when the image has no
// DMK header to take the track count from.
ToolCommand readBackCommand(const ToolCommand &write, const QString &program);

// The image written against the disk read back, as one verdict. Good when
// every sector came back as written; the read-back file is then removed,
// and kept (and named) when anything differs.
RunVerdict verifyWrite(const QString &written, const QString &readBack);

// Write, read back, compare: one chain with one verdict. A failed or
// stopped step ends it, so a failed write starts no read-back.
std::unique_ptr<JobChain> writeVerifyChain(const ToolCommand &write, const ToolCommand &readBack);

} // namespace ferncastle
