#include "platform/terminallauncher.h"

#include <QProcess>

namespace ferncastle {

QString TerminalLauncher::start(const ToolCommand &command)
{
    QStringList arguments{QStringLiteral("-e"), command.program};
    arguments += command.arguments;
    if (!QProcess::startDetached(QStringLiteral("x-terminal-emulator"), arguments))
        return QStringLiteral("Could not start a terminal.");
    return {};
}

} // namespace ferncastle
