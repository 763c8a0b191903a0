#include "core/toolcommand.h"

#include "core/toolpath.h"

#include <QProcess>

namespace ferncastle {

ToolCommand assembleToolCommand(const QString &toolsFolder, ToolActionId action,
                                const QString &optionText, const QString &chosenFile)
{
    const ToolAction &toolAction = ferncastle::toolAction(action);
    ToolCommand command;
    command.action = action;
    command.tool = QLatin1String(toolAction.tool);
    command.chosenFile = chosenFile;
    command.writtenFiles = toolAction.writtenFiles(chosenFile);
    command.program = toolProgram(toolsFolder, command.tool);
    command.commandLine = command.program + u' ' + optionText + u' ' + u'"' + chosenFile + u'"';
    command.arguments = QProcess::splitCommand(optionText);
    command.arguments.append(chosenFile);
    return command;
}

} // namespace ferncastle
