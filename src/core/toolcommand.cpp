#include "core/toolcommand.h"

#include <QProcess>

namespace ferncastle {

ToolCommand assembleToolCommand(const QString &toolsFolder, Tool tool,
                                const QString &optionText, const QString &fileName)
{
    ToolCommand command;
    command.program = toolsFolder + QLatin1String(tool.name);
    command.commandLine = command.program + u' ' + optionText + u' ' + u'"' + fileName + u'"';
    command.arguments = QProcess::splitCommand(optionText);
    command.arguments.append(fileName);
    return command;
}

} // namespace ferncastle
