#pragma once

#include "platform/toollauncher.h"

namespace ferncastle {

// Starts a tool in a terminal emulator window of its own.
class TerminalLauncher : public ToolLauncher
{
public:
    QString start(const ToolCommand &command) override;
};

} // namespace ferncastle
