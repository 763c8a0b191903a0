#include "core/settings/optionfileio.h"

#include "core/displaytext.h"
#include "core/io/regularfile.h"
#include "core/settings/optionfile.h"

#include <QFileInfo>
#include <QSaveFile>


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

// The start of the file, one byte more than the reader looks at so that it
// can tell a large file from one that ends at the limit. No more is read
// however large the file says it is.
std::optional<QByteArray> readHead(const QString &fileName, QString &reason)
{
    RegularFile file;
    if (!file.open(fileName)) {
        reason = file.reason();
        return std::nullopt;
    }
    std::optional<QByteArray> bytes = file.read(OptionFileMaxBytes + 1);
    if (!bytes)
        reason = file.reason();
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
