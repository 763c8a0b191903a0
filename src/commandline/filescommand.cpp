#include "commandline/filescommand.h"

#include "core/dos/doscopyout.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace ferncastle {

namespace {

void write(std::FILE *stream, const QString &text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

// A name from the disk may hold any byte; a terminal gets no control codes.
QString escaped(const QString &text)
{
    QString out;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else if (c == u'\\')
            out += QStringLiteral("\\\\");
        else
            out += c;
    }
    return out;
}

QString diskLine(const QString &image, const DosDirectory &directory)
{
    const DosDisk &disk = directory.disk;
    QString line = image + QStringLiteral(": ") + escaped(directorySummary(directory));
    if (!directory.found)
        return line + u'\n';
    line += QStringLiteral("\n  %1 cylinders, %2 %3 density, directory on cylinder %4, "
                           "%5 granules per cylinder, ")
                .arg(disk.cylinders)
                .arg(disk.sides == 2 ? QStringLiteral("two sides,") : QStringLiteral("one side,"),
                     disk.doubleDensity ? QStringLiteral("double") : QStringLiteral("single"))
                .arg(disk.directoryCylinder)
                .arg(disk.granulesPerCylinder);
    line += disk.freeBytes < 0 ? QStringLiteral("free space not known")
                               : QStringLiteral("%1 bytes free").arg(disk.freeBytes);
    if (!disk.formatDate.isEmpty())
        line += QStringLiteral(", formatted ") + escaped(disk.formatDate);
    return line + u'\n';
}

QString fileLine(const DosFile &file)
{
    return QStringLiteral("  %1 %2  %3  %4  %5\n")
        .arg(escaped(file.dosName()), -12)
        .arg(file.size, 8)
        .arg(file.date.isValid() ? file.date.text() : QStringLiteral("--"), -8)
        .arg(fileAttributeText(file), fileHealthText(file));
}

int statusOf(const DosDirectory &directory)
{
    return !directory.found ? 2 : (directory.allIntact() ? 0 : 1);
}

} // namespace

int printDiskFiles(const QStringList &images)
{
    if (images.isEmpty()) {
        write(stderr, QStringLiteral("ferncastle: --files needs the names of the image files "
                                     "to read.\n"));
        return 2;
    }
    int status = 0;
    for (const QString &image : images) {
        const SectorSource source = SectorSource::fromFile(image);
        const DosDirectory directory = readDosDirectory(source);
        QString text = diskLine(image, directory);
        for (const DosFile &file : directory.files)
            text += fileLine(file);
        for (const QString &finding : directory.findings)
            text += QStringLiteral("  note: ") + escaped(finding) + u'\n';
        write(stdout, text);
        status = qMax(status, statusOf(directory));
    }
    std::fflush(stdout);
    return status;
}

namespace {

// Writes one file, never over one that is there.
int saveFile(const QDir &folder, const DosFile &file, const QByteArray &bytes)
{
    const CopyOutResult result = copyOut(folder, file, bytes);
    switch (result.outcome) {
    case CopyOutResult::Outcome::AlreadyThere:
        write(stdout, QStringLiteral("left %1: %2 is already there\n")
                          .arg(escaped(file.dosName()), result.path));
        return 1;
    case CopyOutResult::Outcome::Failed:
        write(stderr, QStringLiteral("ferncastle: could not write %1: %2\n")
                          .arg(result.path, result.error));
        return 2;
    case CopyOutResult::Outcome::Written:
        break;
    }
    write(stdout, QStringLiteral("wrote %1 (%2 bytes)%3\n")
                      .arg(result.path)
                      .arg(bytes.size())
                      .arg(file.health == FileHealth::Intact
                               ? QString()
                               : QStringLiteral(", ") + fileHealthText(file)));
    return 0;
}

int extractOne(const QDir &folder, const QString &image, bool damagedToo)
{
    const SectorSource source = SectorSource::fromFile(image);
    const DosDirectory directory = readDosDirectory(source);
    write(stdout, diskLine(image, directory));
    int status = statusOf(directory);
    for (const DosFile &file : directory.files) {
        if (!mayCopyOut(file, damagedToo)) {
            write(stdout, QStringLiteral("left out %1: %2%3\n")
                              .arg(escaped(file.dosName()), fileHealthText(file),
                                   file.health == FileHealth::Damaged
                                       ? QStringLiteral(" (--damaged-too writes it)")
                                       : QString()));
            status = qMax(status, 1);
            continue;
        }
        status = qMax(status, saveFile(folder, file, fileBytes(source, file)));
    }
    return status;
}

} // namespace

int extractDiskFiles(const QString &folder, const QStringList &images, bool damagedToo)
{
    if (images.isEmpty() || folder.isEmpty()) {
        write(stderr, QStringLiteral("ferncastle: --extract needs a folder and the names of "
                                     "the image files to copy the files out of.\n"));
        return 2;
    }
    const QDir target(folder);
    if (!QFileInfo(folder).isDir()) {
        write(stderr, QStringLiteral("ferncastle: %1 is no folder; make it first.\n").arg(folder));
        return 2;
    }
    int status = 0;
    for (const QString &image : images)
        status = qMax(status, extractOne(target, image, damagedToo));
    std::fflush(stdout);
    return status;
}

} // namespace ferncastle
