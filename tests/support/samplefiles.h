#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

namespace ferncastle::test {

// Writes a file of the given bytes into folder and returns its path; a test
// that cannot make its files cannot go on.
inline QString writeSampleFile(const QTemporaryDir &folder, const QString &name,
                               const QByteArray &bytes = "x")
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

} // namespace ferncastle::test
