#pragma once

#include "core/cardcheck/cardfindings.h"

namespace ferncastle {

// The file a tool is started from: the tools folder put in front of the
// name as the command line does, or the PATH entry when there is no folder.
// Empty when there is no such file.
QString toolFile(const QString &toolsFolder, const QString &tool);

// Adds findings on whether cw2dmk and dmk2cw will run with root's rights:
// Ferncastle runs as root, or each tool file is owned by root and has the
// set-user-ID bit on a file system not mounted nosuid (read from
// <rootFolder>/proc/self/mountinfo). Files that need owner and bit are
// listed in the result.
void checkToolPrivilege(const QString &rootFolder, const QString &toolsFolder, bool runsAsRoot,
                        CardCheckResult &result);

// The commands that give the files owner root and the set-user-ID bit by
// hand, as a user would type them.
QStringList rootRightsCommands(const QStringList &files);

} // namespace ferncastle
