#include "jobs/readrecord.h"

#include "core/dos/dosdirectory.h"
#include "core/image/sectorsource.h"
#include "jobs/tooljob.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace ferncastle {

namespace {

QString exitStatusText(const RunEnd &end)
{
    switch (end.how) {
    case RunEnd::How::Exited: return QString::number(end.code);
    case RunEnd::How::Signalled: return QStringLiteral("signal %1").arg(end.code);
    case RunEnd::How::NotStarted: break;
    }
    return QStringLiteral("not started");
}

QString sha256Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

// The sectors, and the DOS directory a box of disks is usually sorted by:
// which DOS, the disk's name, and whether every file came off whole.
void describeImage(const QString &path, CatalogRow &row)
{
    const SectorSource source = SectorSource::fromFile(path);
    for (const TrackInfo &track : source.image().tracks) {
        for (const SectorInfo &sector : track.sectors)
            ++(sector.good() ? row.goodSectors : row.badSectors);
    }
    const DosDirectory directory = readDosDirectory(source);
    if (!directory.found)
        return;
    row.dos = directory.disk.dos;
    row.diskName = directory.disk.name;
    row.files = directory.userFileCount();
    row.damagedFiles = int(std::count_if(directory.files.cbegin(), directory.files.cend(),
                                         [](const DosFile &file) {
                                             return file.health != FileHealth::Intact;
                                         }));
}

} // namespace

CatalogRow catalogRowFor(const ToolJob &job, const QDateTime &started)
{
    const ToolCommand &command = job.command();
    CatalogRow row;
    row.imageFile = QFileInfo(command.chosenFile).fileName();
    row.started = started;
    row.commandLine = command.commandLine;
    row.exitStatus = exitStatusText(job.outcome().end);
    row.verdict = job.outcome().verdict.sentence;
    if (QFileInfo(command.chosenFile).size() > 0) {
        describeImage(command.chosenFile, row);
        row.sha256 = sha256Of(command.chosenFile);
    }
    return row;
}

QString recordInCatalog(const ToolJob &job, const QDateTime &started)
{
    return catalog::append(QFileInfo(job.command().chosenFile).absolutePath(),
                           catalogRowFor(job, started));
}

} // namespace ferncastle
