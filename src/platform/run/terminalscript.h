#pragma once

#include <QString>
#include <QStringList>

namespace ferncastle {

// The command that runs inside the terminal window: a fixed shell script
// that shows the command line, runs the tool, then shows its exit status
// and how long it ran and waits for Enter. The command line, the tool and
// its arguments reach the script only as its positional parameters, so
// nothing in them is ever read as shell code.
QStringList terminalScriptCommand(const QString &commandLine, const QString &toolPath,
                                  const QStringList &toolArguments);

// The command line as shown in the window: control characters (a file name
// may hold escape sequences) become '?' so they cannot drive the terminal.
QString printableCommandLine(const QString &commandLine);

} // namespace ferncastle
