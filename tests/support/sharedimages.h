#pragma once

#include "support/samplerun.h"

namespace ferncastle::test {

// A sample image by name: the tools' inputs (files/), what a captured run
// produced ("dmk2jv3-badcrc/produced/out.dsk.gz"), or one of the real
// disks beside them; unpacked when gzipped. Empty when the shared samples
// are not here.
inline QByteArray sharedImage(const QString &name)
{
    const QString toolOutput = toolOutputDir();
    if (toolOutput.isEmpty())
        return {};
    const QDir dir(toolOutput);
    for (const QString &place : {dir.filePath(QStringLiteral("files/") + name),
                                 dir.filePath(name),
                                 dir.filePath(QStringLiteral("../trs80-disks/") + name)}) {
        if (QFile::exists(place))
            return readUnpacked(place);
    }
    return {};
}

} // namespace ferncastle::test
