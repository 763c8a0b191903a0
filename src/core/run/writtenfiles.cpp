#include "core/run/writtenfiles.h"

#include <QFileInfo>

namespace ferncastle {

WrittenFiles::WrittenFiles(const QStringList &paths)
    : m_paths(paths)
{
    for (const QString &path : paths)
        m_before.append(stateOf(path));
}

// Only an ordinary file is an image: a folder or pipe under the name is
// never called an incomplete image, nor read back.
WrittenFiles::State WrittenFiles::stateOf(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        return {};
    return {true, info.size(), info.lastModified()};
}

bool WrittenFiles::touched(qsizetype index) const
{
    const State now = stateOf(m_paths.value(index));
    return now.exists && now != m_before.value(index);
}

QStringList WrittenFiles::touchedPaths() const
{
    QStringList touchedOnes;
    for (qsizetype index = 0; index < m_paths.size(); ++index)
        if (touched(index))
            touchedOnes.append(m_paths.at(index));
    return touchedOnes;
}

} // namespace ferncastle
