#pragma once

#include <QDir>
#include <QString>

namespace ferncastle {

// The program a run starts: the tools folder, one separator when the folder
// does not end in one, then the tool's name. An empty folder leaves the
// bare name, which is looked up on PATH. Only the program is joined: the
// folder stays stored exactly as the user typed it.
QString toolProgram(const QString &toolsFolder, const QString &tool,
                    QChar separator = QDir::separator());

} // namespace ferncastle
