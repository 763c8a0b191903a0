#include "platform/systemfiles.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef FERNCASTLE_HAVE_ZLIB
#include <zlib.h>
#endif

namespace ferncastle {

#ifdef Q_OS_UNIX

// Plain open and read: QFile adds a stat of every file, and the check reads
// four files for each PCI device before every run.
std::optional<QByteArray> readSystemFile(const QString &path, qint64 limit)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray contents;
    char chunk[16 * 1024];
    ssize_t got = 0;
    while ((got = ::read(fd, chunk, sizeof chunk)) != 0) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || contents.size() + got > limit)
            break;
        contents.append(chunk, got);
    }
    ::close(fd);
    if (got != 0)
        return std::nullopt;
    return contents;
}

#else

std::optional<QByteArray> readSystemFile(const QString &path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    QByteArray contents = file.read(limit + 1);
    if (contents.size() > limit || file.error() != QFileDevice::NoError)
        return std::nullopt;
    return contents;
}

#endif

#ifdef FERNCASTLE_HAVE_ZLIB

bool gzipSupported()
{
    return true;
}

std::optional<QByteArray> gunzip(const QByteArray &packed, qint64 limit)
{
    z_stream stream{};
    constexpr int gzipOnly = 16 + MAX_WBITS;
    if (inflateInit2(&stream, gzipOnly) != Z_OK)
        return std::nullopt;
    stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(packed.constData()));
    stream.avail_in = uInt(packed.size());

    QByteArray unpacked;
    char chunk[64 * 1024];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef *>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        const qsizetype produced = qsizetype(sizeof chunk - stream.avail_out);
        if (unpacked.size() + produced > limit) {
            status = Z_MEM_ERROR;
            break;
        }
        unpacked.append(chunk, produced);
    }
    // Z_BUF_ERROR here: the data ended before the gzip stream did.
    inflateEnd(&stream);
    if (status != Z_STREAM_END)
        return std::nullopt;
    return unpacked;
}

#else

bool gzipSupported()
{
    return false;
}

std::optional<QByteArray> gunzip(const QByteArray &, qint64)
{
    return std::nullopt;
}

#endif

} // namespace ferncastle
