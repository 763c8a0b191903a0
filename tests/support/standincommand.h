#pragma once

#include "core/tools/toolcommand.h"

#include <QDir>

namespace ferncastle::test {

// A run of one of the stand-ins in tests/fixtures/run, posing as tool, on an
// image in folder; cw2dmk writes the image, as the real one would.
inline ToolCommand standInCommand(const QDir &folder, const QString &standIn, const QString &tool,
                                  const QString &image)
{
    ToolCommand command;
    command.tool = tool;
    command.program = QStringLiteral(FIXTURES_DIR "/run/") + standIn;
    command.chosenFile = folder.filePath(image);
    command.arguments = {QStringLiteral("-k2"), command.chosenFile};
    command.commandLine = tool + QStringLiteral(" -k2 \"") + command.chosenFile + u'"';
    if (tool == QLatin1String("cw2dmk"))
        command.writtenFiles = {command.chosenFile};
    return command;
}

} // namespace ferncastle::test
