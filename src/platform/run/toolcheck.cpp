#include "platform/run/toolcheck.h"

#include "core/displaytext.h"
#include "core/tools/tooltable.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace ferncastle {

namespace {

const QString checkToolsFolder = QStringLiteral("Check the tools folder in Options, Preferences.");

QString failure(const QString &program, const QString &why)
{
    return QStringLiteral("Could not start %1: %2 %3")
        .arg(shortenedForDisplay(QFileInfo(program).fileName()), why, checkToolsFolder);
}

CheckedTool checkPath(const QString &program)
{
    const QFileInfo file(program);
    const QString path = file.absoluteFilePath();
    const QString shown = shortenedForDisplay(path);
    if (!file.exists())
        return {{}, failure(program, QStringLiteral("%1 does not exist.").arg(shown))};
    if (file.isDir())
        return {{}, failure(program, QStringLiteral("%1 is a folder, not a program.").arg(shown))};
    if (!file.isExecutable())
        return {{}, failure(program, QStringLiteral("%1 is not executable.").arg(shown))};
    return {path, {}};
}

CheckedTool lookUpOnPath(const QString &program)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {{}, failure(program, QStringLiteral("no program of that name was found on the PATH."))};
    return {path, {}};
}

// findExecutable() adds the system's program suffixes (.EXE on Windows).
bool holdsAnyTool(const QString &folder)
{
    for (const ToolRow &row : toolRows()) {
        if (!QStandardPaths::findExecutable(QLatin1String(row.tool), {folder}).isEmpty())
            return true;
    }
    return false;
}

} // namespace

QString toolsFolderProblem(const QString &folder)
{
    const QFileInfo info(folder);
    const QString shown = shortenedForDisplay(folder);
    if (!info.exists())
        return QStringLiteral("The folder %1 does not exist.").arg(shown);
    if (!info.isDir())
        return QStringLiteral("%1 is a file, not a folder.").arg(shown);
    if (!holdsAnyTool(folder))
        return QStringLiteral("The folder %1 holds none of the tools (cw2dmk, dmk2cw, dmk2jv3, "
                              "jv2dmk) as a program that can be run.")
            .arg(shown);
    return {};
}

CheckedTool checkTool(const QString &program)
{
    if (program.contains(u'/'))
        return checkPath(program);
    return lookUpOnPath(program);
}

} // namespace ferncastle
