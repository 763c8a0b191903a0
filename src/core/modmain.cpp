#include "core/modmain.h"

namespace ferncastle::modMain {

QString GetFilePath(const QString &path, QChar separator)
{
    return path.left(path.lastIndexOf(separator) + 1);
}

} // namespace ferncastle::modMain
