#include "core/batch/catalog.h"

#include <QDir>
#include <QFile>

#include <utility>

namespace ferncastle::catalog {

namespace {

QByteArray field(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n')
        && !bytes.contains('\r'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

// A file whose last row lacks its line break (cut short, or saved so by a
// spreadsheet) gets one, so that the new row does not join it.
bool endsMidRow(QFile &file)
{
    if (file.size() == 0 || !file.seek(file.size() - 1))
        return false;
    const QByteArray last = file.read(1);
    return last != "\n" && last != "\r";
}

// A header row is short; this is only a bound on a file that has none.
constexpr qint64 maxHeaderBytes = 64 * 1024;

QString notWritten(const QString &path, const QString &why)
{
    return QStringLiteral("The catalog %1 could not be written (%2); this read is not in it. "
                          "The read itself goes on.")
        .arg(QDir::toNativeSeparators(path), why);
}

} // namespace

QStringList header()
{
    return {QStringLiteral("Image file"), QStringLiteral("Started"),
            QStringLiteral("Command line"), QStringLiteral("Exit status"),
            QStringLiteral("Verdict"), QStringLiteral("Good sectors"),
            QStringLiteral("Bad sectors"), QStringLiteral("SHA-256"),
            QStringLiteral("DOS"), QStringLiteral("Disk name"),
            QStringLiteral("Files"), QStringLiteral("Damaged files")};
}

QStringList firstRecord(QByteArrayView bytes)
{
    // A spreadsheet may have saved the file with a byte order mark.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringList fields;
    QByteArray field;
    bool quoted = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (quoted && c == '"' && i + 1 < bytes.size() && bytes.at(i + 1) == '"')
            field += bytes.at(++i);
        else if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\r' || c == '\n'))
            break;
        else if (!quoted && c == ',')
            fields.append(QString::fromUtf8(std::exchange(field, {})));
        else
            field += c;
    }
    fields.append(QString::fromUtf8(field));
    return fields;
}

QStringList shapedTo(const QStringList &existingHeader, const QStringList &fields)
{
    const QStringList ours = header();
    QStringList shaped;
    bool anyOurs = false;
    for (const QString &column : existingHeader) {
        qsizetype at = ours.size();
        for (qsizetype i = 0; i < ours.size() && at == ours.size(); ++i)
            if (ours.at(i).compare(column.trimmed(), Qt::CaseInsensitive) == 0)
                at = i;
        anyOurs = anyOurs || at < ours.size();
        shaped.append(fields.value(at));
    }
    return anyOurs ? shaped : fields;
}

QByteArray record(const QStringList &fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += field(fields.at(i));
    }
    return line + "\r\n";
}

QStringList fieldsOf(const CatalogRow &row)
{
    return {row.imageFile,
            row.started.toString(Qt::ISODate),
            row.commandLine,
            row.exitStatus,
            row.verdict,
            QString::number(row.goodSectors),
            QString::number(row.badSectors),
            row.sha256,
            row.dos,
            row.diskName,
            row.files < 0 ? QString() : QString::number(row.files),
            row.damagedFiles < 0 ? QString() : QString::number(row.damagedFiles)};
}

QString append(const QString &folder, const CatalogRow &row)
{
    const QString path = QDir(folder).filePath(QLatin1String(fileName));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return notWritten(path, file.errorString());
    QByteArray bytes;
    QStringList fields = fieldsOf(row);
    if (file.size() == 0) {
        bytes += record(header());
    } else {
        fields = shapedTo(firstRecord(file.read(maxHeaderBytes)), fields);
        if (endsMidRow(file))
            bytes += "\r\n";
    }
    bytes += record(fields);
    if (!file.seek(file.size()) || file.write(bytes) != bytes.size() || !file.flush())
        return notWritten(path, file.errorString());
    return {};
}

} // namespace ferncastle::catalog
