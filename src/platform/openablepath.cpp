#include "platform/openablepath.h"

#include "core/nativename.h"

#include <fcntl.h>

namespace ferncastle {

QString openablePath(const QString &name)
{
    if (!holdsUndecodableBytes(name))
        return name;
    const int descriptor = ::open(encodedNativeName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return {};
    return QStringLiteral("/proc/self/fd/%1").arg(descriptor);
}

} // namespace ferncastle
