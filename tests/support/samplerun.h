#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTest>

namespace ferncastle::test {

// The folder of captured tool runs: FERNCASTLE_SHARED_DIR when set, else
// the copy beside the clone. Empty when neither exists.
inline QString toolOutputDir()
{
    QString shared = qEnvironmentVariable("FERNCASTLE_SHARED_DIR");
#ifdef SHARED_DIR_DEFAULT
    if (shared.isEmpty())
        shared = QStringLiteral(SHARED_DIR_DEFAULT);
#endif
    const QString dir = QDir(shared).filePath(QStringLiteral("tool-output"));
    return QFile::exists(QDir(dir).filePath(QStringLiteral("README.md"))) ? dir : QString();
}

inline QByteArray readWhole(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A sample as the tool wrote it: the large ones are kept gzipped, and
// every Debian has gzip (qUncompress does not read its format).
inline QByteArray readUnpacked(const QString &path)
{
    if (!path.endsWith(QLatin1String(".gz")))
        return readWhole(path);
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-dc"), path});
    if (!gzip.waitForFinished(60000) || gzip.exitCode() != 0)
        return {};
    return gzip.readAllStandardOutput();
}

// One captured run: what the tool printed and how it ended.
struct SampleRun {
    QString name;
    QStringList command;
    QByteArray out;
    QByteArray err;
    int status = 0;
    bool interrupted = false; // the capture sent SIGINT

    QString tool() const { return command.value(0); }
    // The capture writes 128+N for death by signal N.
    bool signalled() const { return status > 128 && status < 128 + 65; }

    static SampleRun load(const QString &folder)
    {
        const QDir dir(folder);
        SampleRun run;
        run.name = dir.dirName();
        run.command = QString::fromUtf8(readWhole(dir.filePath(QStringLiteral("command"))))
                          .split(u'\n', Qt::SkipEmptyParts);
        run.out = readWhole(dir.filePath(QStringLiteral("stdout")));
        run.err = readWhole(dir.filePath(QStringLiteral("stderr")));
        run.status = readWhole(dir.filePath(QStringLiteral("status"))).trimmed().toInt();
        run.interrupted = readWhole(dir.filePath(QStringLiteral("timing"))).contains("SIGINT sent");
        return run;
    }

    // Every case folder (one holding a command file).
    static QStringList folders(const QString &toolOutput)
    {
        QStringList found;
        const QDir dir(toolOutput);
        for (const QString &name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            if (QFile::exists(dir.filePath(name + QStringLiteral("/command"))))
                found.append(dir.filePath(name));
        return found;
    }
};

} // namespace ferncastle::test
