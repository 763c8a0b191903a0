#pragma once

#include "core/cardcheck/cardfindings.h"

#include <QByteArray>

namespace ferncastle {

// What a kernel configuration says about user-space port access.
enum class PortAccessOption { Set, NotSet, NotMentioned };
PortAccessOption portAccessOption(const QByteArray &kernelConfig);

// Adds a finding on whether the running kernel lets programs take I/O
// ports, from <rootFolder>/boot/config-<release> or else
// <rootFolder>/proc/config.gz. kernelRelease as uname -r gives it.
void checkKernelPorts(const QString &rootFolder, const QString &kernelRelease,
                      CardCheckResult &result);

// Adds findings on whether this process, or a set-user-ID root program it
// starts, may take I/O ports and gain root's rights at all, from
// <rootFolder>/proc/self/status. Containers take the right to touch ports
// away even from root; some sandboxes make set-user-ID bits ineffective.
void checkPortPermission(const QString &rootFolder, bool runsAsRoot, CardCheckResult &result);

} // namespace ferncastle
