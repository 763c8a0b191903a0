#include "core/tools/toolpath.h"

namespace ferncastle {

// '/' ends a folder on every system Qt runs on, Windows included.
QString toolProgram(const QString &toolsFolder, const QString &tool, QChar separator)
{
    if (toolsFolder.isEmpty() || toolsFolder.endsWith(u'/') || toolsFolder.endsWith(separator))
        return toolsFolder + tool;
    return toolsFolder + separator + tool;
}

} // namespace ferncastle
