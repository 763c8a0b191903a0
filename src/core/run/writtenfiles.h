#pragma once

#include <QDateTime>
#include <QList>
#include <QStringList>

namespace ferncastle {

// The files a run is to write, as they stood before it started, so that its
// end can tell which of them it created or changed. An image the run never
// touched is somebody's earlier work: it is neither called incomplete nor
// taken as the run's result.
class WrittenFiles
{
public:
    WrittenFiles() = default;
    // Looks at each file now.
    explicit WrittenFiles(const QStringList &paths);

    const QStringList &paths() const { return m_paths; }
    // The file at index exists now and is not as it was before the run.
    bool touched(qsizetype index) const;
    QStringList touchedPaths() const;

private:
    struct State {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const State &) const = default;
    };
    static State stateOf(const QString &path);

    QStringList m_paths;
    QList<State> m_before;
};

} // namespace ferncastle
