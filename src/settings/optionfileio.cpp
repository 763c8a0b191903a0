#include "settings/optionfileio.h"

#include "core/displaytext.h"
#include "settings/optionfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ferncastle {

namespace {

QString failureMessage(const char *action, const QString &fileName, const QString &reason)
{
    return QStringLiteral("The options file \"%1\" cannot be %2.")
               .arg(shortenedForDisplay(fileName), QLatin1String(action))
           + u'\r' + reason;
}

// Why the name cannot stand for an options file; empty when it can.
QString notRegularFileReason(const QFileInfo &info)
{
    if (info.isDir())
        return QStringLiteral("It is a folder.");
    if (!info.isFile())
        return QStringLiteral("It is not a regular file but a device or a pipe.");
    return {};
}

QString writeFault(const QSaveFile &file)
{
    const QString reason = file.errorString();
    if (file.error() == QFileDevice::NoError || reason.isEmpty())
        return QStringLiteral("The file could not be written in full.");
    return reason;
}

// QSaveFile alone would commit a short write: only a failure it saw itself
// makes commit() keep the old file. Every count is checked here, and any
// shortfall cancels the new file instead.
QString replaceFileWhole(const QString &fileName, const QByteArray &bytes)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = writeFault(file);
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString saveReason(const QString &fileName, const OptionSet &options)
{
    const EncodedOptionFile encoded = encodeOptionFile(options);
    if (!encoded.error.isEmpty())
        return encoded.error;
    const QFileInfo info(fileName);
    if (info.exists()) {
        const QString reason = notRegularFileReason(info);
        if (!reason.isEmpty())
            return reason;
    }
    return replaceFileWhole(fileName, encoded.bytes);
}

#ifdef Q_OS_UNIX
// Opened without waiting: a FIFO put in place of the file would otherwise
// block until some writer appears. What was opened is checked, not the name
// looked at before, which may have been swapped in between.
std::optional<int> openWithoutBlocking(const QString &fileName, QString &reason)
{
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        reason = errno == ENOENT ? QStringLiteral("The file does not exist.")
                                 : QString::fromLocal8Bit(std::strerror(errno)) + u'.';
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        reason = S_ISDIR(info.st_mode) ? QStringLiteral("It is a folder.")
                                       : QStringLiteral("It is not a regular file but a device or a pipe.");
        ::close(fd);
        return std::nullopt;
    }
    return fd;
}

bool openWithoutBlocking(QFile &file, const QString &fileName, QString &reason)
{
    const std::optional<int> fd = openWithoutBlocking(fileName, reason);
    if (!fd)
        return false;
    if (file.open(*fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    reason = file.errorString();
    ::close(*fd);
    return false;
}
#else
bool openWithoutBlocking(QFile &file, const QString &fileName, QString &reason)
{
    const QFileInfo info(fileName);
    reason = info.exists() ? notRegularFileReason(info) : QStringLiteral("The file does not exist.");
    file.setFileName(fileName);
    if (reason.isEmpty() && !file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    return reason.isEmpty();
}
#endif

// The start of the file, one byte more than the reader looks at so that it
// can tell a large file from one that ends at the limit. No more is read
// however large the file says it is.
std::optional<QByteArray> readHead(const QString &fileName, QString &reason)
{
    QFile file;
    if (!openWithoutBlocking(file, fileName, reason))
        return std::nullopt;
    QByteArray bytes = file.read(OptionFileMaxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return std::nullopt;
    }
    return bytes;
}

} // namespace

QString saveOptionFile(const QString &fileName, const OptionSet &options)
{
    const QString reason = saveReason(fileName, options);
    return reason.isEmpty() ? QString() : failureMessage("saved", fileName, reason);
}

LoadedOptionFile loadOptionFile(const QString &fileName)
{
    QString reason;
    const std::optional<QByteArray> bytes = readHead(fileName, reason);
    if (!bytes)
        return {std::nullopt, failureMessage("loaded", fileName, reason)};
    const DecodedOptionFile decoded = decodeOptionFile(*bytes);
    if (!decoded.options)
        return {std::nullopt, failureMessage("loaded", fileName, describe(decoded.error))};
    return {decoded.options, {}};
}

} // namespace ferncastle
