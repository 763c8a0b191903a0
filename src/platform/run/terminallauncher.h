#pragma once

#include "platform/run/toollauncher.h"

namespace ferncastle {

// Starts a tool in a terminal emulator window of its own: the system's
// x-terminal-emulator when there is one, else the first common terminal on
// PATH (see terminalemulators.h). The window shows the command line, the
// tool's output, then its exit status and how long it ran, and stays open
// until the user presses Enter. Nothing goes through a shell's parsing: the
// terminal gets the tool and every argument as separate words.
class TerminalLauncher : public ToolLauncher
{
public:
    QString start(const ToolCommand &command) override;
    // The tool, then a terminal to show it in.
    QString cannotStart(const ToolCommand &command) const override;
};

} // namespace ferncastle
