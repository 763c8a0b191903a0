#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace ferncastle {

// The whole file, or nothing when it cannot be opened or is larger than
// limit bytes. Files under /proc and /sys report no size, so the limit is
// applied while reading.
std::optional<QByteArray> readSystemFile(const QString &path, qint64 limit = 64 * 1024);

// The unpacked contents of gzip data, or nothing when the data is damaged,
// when it would unpack to more than limit bytes, or when this build has no
// gzip reader (see gzipSupported()).
std::optional<QByteArray> gunzip(const QByteArray &packed, qint64 limit);
bool gzipSupported();

} // namespace ferncastle
