#pragma once

#include "platform/run/toollauncher.h"

#include <functional>

namespace ferncastle {

// Hands each start to one of two launchers, asking at every start which:
// the user can switch between a terminal and the run window at any time,
// and the main window never knows which one ran its tool.
class ChoosingLauncher : public ToolLauncher
{
public:
    ChoosingLauncher(ToolLauncher &terminal, ToolLauncher &runWindow,
                     std::function<bool()> useTerminal)
        : m_terminal(terminal), m_runWindow(runWindow), m_useTerminal(std::move(useTerminal))
    {
    }

    QString start(const ToolCommand &command) override
    {
        return (m_useTerminal() ? m_terminal : m_runWindow).start(command);
    }

    QString cannotStart(const ToolCommand &command) const override
    {
        return (m_useTerminal() ? m_terminal : m_runWindow).cannotStart(command);
    }

private:
    ToolLauncher &m_terminal;
    ToolLauncher &m_runWindow;
    std::function<bool()> m_useTerminal;
};

} // namespace ferncastle
