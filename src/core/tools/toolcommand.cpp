#include "core/tools/toolcommand.h"

#include "core/tools/toolpath.h"

namespace ferncastle {

ToolCommand assembleToolCommand(const QString &toolsFolder, ToolActionId action,
                                const QString &optionText, const QStringList &optionArguments,
                                const QString &chosenFile)
{
    const ToolRow &row = toolRow(action);
    ToolCommand command;
    command.action = action;
    command.tool = QLatin1String(row.tool);
    command.chosenFile = chosenFile;
    command.writtenFiles = row.writtenFiles(chosenFile);
    command.program = toolProgram(toolsFolder, command.tool);
    command.commandLine = command.program + u' ' + optionText + u' ' + u'"' + chosenFile + u'"';
    command.arguments = optionArguments;
    command.arguments.append(chosenFile);
    return command;
}

} // namespace ferncastle
