#pragma once

#include <QDir>
#include <QFile>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <optional>

namespace ferncastle::test {

// What one run of a fake terminal or fake tool recorded.
struct Record {
    QStringList argv; // the name it was called by, then its arguments
    QString output;   // the terminal's command output; empty for tools
};

// A temporary folder with real scripts standing in for terminals and tools
// (tests/fixtures/fake-terminal, fake-tool), linked under the names the
// program looks for. While it lives, PATH holds only its bin folder and the
// current folder is its root, so a stray shell expansion would leave a file
// there. Both are restored on destruction, as is every variable set with
// setEnv.
class FakePrograms
{
public:
    FakePrograms()
        : m_oldCurrent(QDir::currentPath())
    {
        QDir(m_root.path()).mkpath(QStringLiteral("bin"));
        setEnv("PATH", binDir().toUtf8());
        QDir::setCurrent(m_root.path());
    }

    ~FakePrograms()
    {
        QDir::setCurrent(m_oldCurrent);
        for (const auto &[name, value] : m_oldEnv) {
            if (value)
                qputenv(name.constData(), *value);
            else
                qunsetenv(name.constData());
        }
    }

    FakePrograms(const FakePrograms &) = delete;
    FakePrograms &operator=(const FakePrograms &) = delete;

    bool isValid() const { return m_root.isValid(); }
    QString root() const { return m_root.path(); }
    QString binDir() const { return m_root.filePath(QStringLiteral("bin")); }
    QString path(const QString &relative) const { return m_root.filePath(relative); }

    void setEnv(const char *name, const QByteArray &value)
    {
        if (!m_oldEnv.count(name))
            m_oldEnv[name] = qEnvironmentVariableIsSet(name)
                                 ? std::optional<QByteArray>(qgetenv(name))
                                 : std::nullopt;
        qputenv(name, value);
    }

    bool addTerminal(const QString &name = QStringLiteral("x-terminal-emulator"))
    {
        return link(QStringLiteral("fake-terminal"), binDir(), name);
    }

    bool addTool(const QString &name) { return addToolIn(binDir(), name); }

    bool addToolIn(const QString &folder, const QString &name)
    {
        return QDir().mkpath(folder) && link(QStringLiteral("fake-tool"), folder, name);
    }

    static bool link(const QString &fixture, const QString &folder, const QString &name)
    {
        return QFile::link(QStringLiteral(FIXTURES_DIR "/") + fixture,
                           QDir(folder).filePath(name));
    }

    // Runs that have finished ("terminal" or "tool"), in the given folder.
    int finished(const QString &kind, const QString &folder = {}) const
    {
        return doneFiles(kind, folder).size();
    }

    QList<Record> records(const QString &kind, const QString &folder = {}) const
    {
        QList<Record> result;
        const QDir dir(folder.isEmpty() ? binDir() : folder);
        for (const QString &done : doneFiles(kind, folder)) {
            const QString base = dir.filePath(done.chopped(int(qstrlen(".done"))));
            result.append({readArgv(base + QStringLiteral(".args")),
                           QString::fromUtf8(readAll(base + QStringLiteral(".out")))});
        }
        return result;
    }

    // Makes every fake tool started from now on wait at a FIFO gate until
    // openGate(); empty when the FIFO cannot be made.
    QString addGate()
    {
        const QString gate = path(QStringLiteral("gate"));
        if (::mkfifo(QFile::encodeName(gate).constData(), 0600) != 0)
            return {};
        setEnv("FAKE_TOOL_GATE", QFile::encodeName(gate));
        return gate;
    }

    // Lets every fake tool waiting at the FIFO gate go on; false while none
    // has opened it yet.
    static bool openGate(const QString &fifo)
    {
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        ::close(fd);
        return true;
    }

    static QStringList readArgv(const QString &file)
    {
        QList<QByteArray> parts = readAll(file).split('\0');
        parts.removeLast(); // every entry ends in NUL
        QStringList argv;
        for (const QByteArray &part : parts)
            argv.append(QString::fromUtf8(part));
        return argv;
    }

private:
    QStringList doneFiles(const QString &kind, const QString &folder) const
    {
        return QDir(folder.isEmpty() ? binDir() : folder)
            .entryList({kind + QStringLiteral(".*.done")}, QDir::Files, QDir::Name);
    }

    static QByteArray readAll(const QString &file)
    {
        QFile in(file);
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    QTemporaryDir m_root;
    QString m_oldCurrent;
    std::map<QByteArray, std::optional<QByteArray>> m_oldEnv;
};

} // namespace ferncastle::test
