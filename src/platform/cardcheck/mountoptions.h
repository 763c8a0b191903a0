#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferncastle {

// The mount point of the file system that holds file, when it is mounted
// nosuid (the kernel then ignores set-user-ID bits on it); nothing when it
// is not, or when mountInfo (the text of /proc/self/mountinfo) does not say.
std::optional<QString> nosuidMountOf(const QByteArray &mountInfo, const QString &file);

} // namespace ferncastle
