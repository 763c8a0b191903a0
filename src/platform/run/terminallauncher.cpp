#include "platform/run/terminallauncher.h"

#include "core/displaytext.h"

#include "platform/run/terminalemulators.h"
#include "platform/run/terminalscript.h"
#include "platform/run/toolcheck.h"

#include <QFileInfo>
#include <QProcess>

namespace ferncastle {

namespace {

QString toolName(const ToolCommand &command)
{
    return shortenedForDisplay(QFileInfo(command.program).fileName());
}

QString noTerminalMessage(const ToolCommand &command)
{
    return QStringLiteral("Could not start %1: no terminal emulator was found on the PATH "
                          "(tried %2). Install one of them.")
        .arg(toolName(command), knownTerminalNames());
}

// Detached: the program never waits for the terminal, and a second launch
// gets a second window.
QString startDetached(const QString &terminal, const QStringList &arguments,
                      const ToolCommand &command)
{
    QProcess process;
    process.setProgram(terminal);
    process.setArguments(arguments);
    if (process.startDetached())
        return {};
    return QStringLiteral("Could not start %1: the terminal emulator %2 could not be started (%3).")
        .arg(toolName(command), shortenedForDisplay(terminal), process.errorString());
}

} // namespace

QString TerminalLauncher::cannotStart(const ToolCommand &command) const
{
    const CheckedTool tool = checkTool(command.program);
    if (tool.path.isEmpty())
        return tool.error;
    return findTerminal().emulator ? QString() : noTerminalMessage(command);
}

QString TerminalLauncher::start(const ToolCommand &command)
{
    const CheckedTool tool = checkTool(command.program);
    if (tool.path.isEmpty())
        return tool.error;
    const FoundTerminal terminal = findTerminal();
    if (!terminal.emulator)
        return noTerminalMessage(command);
    const QStringList inside = terminalScriptCommand(command.commandLine, tool.path,
                                                     command.arguments);
    return startDetached(terminal.path, terminalArguments(*terminal.emulator, inside), command);
}

} // namespace ferncastle
