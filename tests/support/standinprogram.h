#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace ferncastle::test {

// The stand-in system information program (fixtures/sysinfo/hardinfo)
// notes each start in a file; this owns that file for one test.
class StartRecord
{
public:
    StartRecord() : m_file(m_dir.filePath(QStringLiteral("started.txt")))
    {
        qputenv("FERNCASTLE_SYSINFO_RECORD", QFile::encodeName(m_file));
    }
    ~StartRecord() { qunsetenv("FERNCASTLE_SYSINFO_RECORD"); }

    // The names the stand-in was started under, in order.
    QStringList started() const
    {
        QFile file(m_file);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    // A started program runs on its own; give it time to leave its note.
    QStringList waitForStarts(int count, int milliseconds = 5000) const
    {
        (void)QTest::qWaitFor([&] { return started().size() >= count; }, milliseconds);
        return started();
    }

private:
    QTemporaryDir m_dir;
    QString m_file;
};

// Copies the stand-in into folder under the given name, executable.
inline QString installStandIn(const QString &folder, const QString &name)
{
    const QString target = QDir(folder).filePath(name);
    QFile::copy(QStringLiteral(FIXTURES_DIR "/sysinfo/hardinfo"), target);
    QFile::setPermissions(target, QFile::permissions(target) | QFile::ExeOwner | QFile::ExeUser);
    return target;
}

// Sets PATH for the lifetime of the object.
class ScopedPath
{
public:
    explicit ScopedPath(const QString &path) : m_saved(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(path));
    }
    ~ScopedPath() { qputenv("PATH", m_saved); }

private:
    QByteArray m_saved;
};

} // namespace ferncastle::test
