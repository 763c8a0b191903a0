#include "core/batch/catalog.h"

#include <QDir>
#include <QFile>

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
            QStringLiteral("Bad sectors"), QStringLiteral("SHA-256")};
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
            row.sha256};
}

QString append(const QString &folder, const CatalogRow &row)
{
    const QString path = QDir(folder).filePath(QLatin1String(fileName));
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        return notWritten(path, file.errorString());
    QByteArray bytes;
    if (file.size() == 0)
        bytes += record(header());
    else if (endsMidRow(file))
        bytes += "\r\n";
    bytes += record(fieldsOf(row));
    if (!file.seek(file.size()) || file.write(bytes) != bytes.size() || !file.flush())
        return notWritten(path, file.errorString());
    return {};
}

} // namespace ferncastle::catalog
