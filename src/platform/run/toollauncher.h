#pragma once

#include "core/tools/toolcommand.h"
#include "platform/run/toolcheck.h"

#include <QString>

namespace ferncastle {

// Starts an external tool in a window of its own and returns at once.
// This is the one place that knows how a platform opens such a window.
class ToolLauncher
{
public:
    virtual ~ToolLauncher() = default;

    // Starts the command without waiting for it. Returns an empty string on
    // success, otherwise a sentence for the user saying what could not be
    // started and why.
    virtual QString start(const ToolCommand &command) = 0;

    // What start() would refuse, found before the user is asked anything
    // (the file dialog, the Replace question): the same sentence, or an
    // empty string when nothing that can be seen beforehand stands in the way.
    virtual QString cannotStart(const ToolCommand &command) const
    {
        return checkTool(command.program).error;
    }
};

} // namespace ferncastle
