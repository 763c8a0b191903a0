#include "core/io/regularfile.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ferncastle {

namespace {

const QString folderReason = QStringLiteral("It is a folder.");
const QString notRegularReason = QStringLiteral("It is not a regular file but a device or a "
                                                "pipe.");
const QString missingReason = QStringLiteral("The file does not exist.");

} // namespace

#ifdef Q_OS_UNIX
bool RegularFile::open(const QString &path)
{
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a
    // writer; O_NOCTTY: a terminal named here must not become ours.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        m_failure = error == ENOENT ? Failure::Missing : Failure::CannotOpen;
        m_reason = error == ENOENT ? missingReason
                                   : QString::fromLocal8Bit(std::strerror(error)) + u'.';
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool folder = S_ISDIR(info.st_mode);
        m_failure = folder ? Failure::Folder : Failure::NotRegular;
        m_reason = folder ? folderReason : notRegularReason;
        ::close(fd);
        return false;
    }
    m_size = info.st_size;
    if (m_file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle))
        return true;
    m_failure = Failure::CannotOpen;
    m_reason = m_file.errorString() + u'.';
    ::close(fd);
    return false;
}
#else
bool RegularFile::open(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        m_failure = Failure::Missing;
        m_reason = missingReason;
        return false;
    }
    if (!info.isFile()) {
        m_failure = info.isDir() ? Failure::Folder : Failure::NotRegular;
        m_reason = info.isDir() ? folderReason : notRegularReason;
        return false;
    }
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_failure = Failure::CannotOpen;
        m_reason = m_file.errorString() + u'.';
        return false;
    }
    m_size = m_file.size();
    return true;
}
#endif

qint64 RegularFile::read(char *data, qint64 count)
{
    qint64 done = 0;
    while (done < count) {
        const qint64 got = m_file.read(data + done, count - done);
        if (got < 0) {
            m_reason = m_file.errorString() + u'.';
            return -1;
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

std::optional<QByteArray> RegularFile::read(qint64 count)
{
    QByteArray bytes(qMax<qint64>(count, 0), Qt::Uninitialized);
    const qint64 got = read(bytes.data(), bytes.size());
    if (got < 0)
        return std::nullopt;
    bytes.truncate(got);
    return bytes;
}

bool RegularFile::grewSinceOpened()
{
    char extra = 0;
    return m_file.pos() >= m_size && read(&extra, 1) > 0;
}

QString changedWhileReadReason(qint64 sizeWhenOpened, qint64 bytesRead)
{
    const QString change = bytesRead > sizeWhenOpened
                               ? QStringLiteral("it held %1 bytes when opened and more when read")
                                     .arg(sizeWhenOpened)
                               : QStringLiteral("it held %1 bytes when opened but only %2 when "
                                                "read")
                                     .arg(sizeWhenOpened)
                                     .arg(bytesRead);
    return QStringLiteral("It changed while it was read: %1. Read it again once nothing is "
                          "writing to it.")
        .arg(change);
}

} // namespace ferncastle
