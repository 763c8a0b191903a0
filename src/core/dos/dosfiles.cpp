#include "dosparts.h"

#include "core/run/runverdict.h"

namespace ferncastle {

using namespace dosparts;

namespace {

constexpr int sectorBytes = 256;

// The sectors a file's size needs, taken from its extents in order.
void collectSectors(const DosGeometry &geometry, DosFile &file)
{
    const qint64 needed = (file.size + sectorBytes - 1) / sectorBytes;
    const qint64 diskSectors = qint64(geometry.granules()) * geometry.sectorsPerGranule;
    for (const DosExtent &extent : file.extents) {
        for (int g = extent.firstGranule; g < extent.firstGranule + extent.granules; ++g) {
            for (const SectorAddress &at : geometry.granuleSectors(g)) {
                if (file.sectors.size() >= needed || file.sectors.size() >= diskSectors)
                    return;
                file.sectors.append(at);
            }
        }
    }
    if (file.sectors.size() < needed && file.problem.isEmpty()) {
        file.problem = QStringLiteral("Its size (%1 bytes) runs beyond its extents (%2).")
                           .arg(file.size)
                           .arg(countedNoun(int(file.sectors.size()), "sector", "sectors"));
        file.health = FileHealth::Unreadable;
    }
}

void checkSectors(const SectorSource &source, DosFile &file)
{
    for (const SectorAddress &at : std::as_const(file.sectors)) {
        if (at.side < 0 || !source.sector(at).good())
            file.badSectors.append(at);
    }
    if (file.badSectors.isEmpty() || file.health == FileHealth::Unreadable)
        return;
    file.health = FileHealth::Damaged;
    file.problem = QStringLiteral("%1 bad or missing.")
                       .arg(countedNoun(int(file.badSectors.size()), "sector", "sectors"));
}

// An entry read from a bad sector may say anything: the file is not called
// intact even if its own sectors read well.
void checkEntrySector(const DirectoryPlace &place, const DosDirectory &directory, DosFile &file)
{
    const int number = place.layout == DosLayout::Trsdos13 ? file.entryCode / 5
                                                           : file.entryCode & 31;
    const auto at = entrySector(place, number);
    if (!at || !directory.badDirectorySectors.contains(*at) || file.health != FileHealth::Intact)
        return;
    file.health = FileHealth::Damaged;
    file.problem = QStringLiteral("Its directory entry lies in a bad sector (%1).")
                       .arg(addressText(*at));
}

QString nameList(const QStringList &names)
{
    if (names.size() <= 1)
        return names.value(0);
    return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ")
           + names.constLast();
}

} // namespace

namespace dosparts {

void checkFiles(const SectorSource &source, const DirectoryPlace &place,
                DosDirectory &directory)
{
    for (DosFile &file : directory.files) {
        collectSectors(place.geometry, file);
        checkSectors(source, file);
        checkEntrySector(place, directory, file);
    }
}

} // namespace dosparts

DosDirectory readDosDirectory(const SectorSource &source)
{
    DosDirectory directory;
    const auto place = findDirectory(source, &directory.whyNot);
    if (!place)
        return directory;
    directory.found = true;
    directory.layout = place->layout;
    readDiskLine(source, *place, directory);
    readEntries(source, *place, directory);
    checkFiles(source, *place, directory);
    return directory;
}

QByteArray fileBytes(const SectorSource &source, const DosFile &file)
{
    QByteArray bytes;
    bytes.reserve(file.sectors.size() * sectorBytes);
    for (const SectorAddress &at : file.sectors) {
        QByteArray data = at.side < 0 ? QByteArray() : source.sector(at).data;
        data.resize(sectorBytes, '\0');
        bytes += data;
    }
    bytes.truncate(file.size);
    return bytes;
}

int fileAtSector(const DosDirectory &directory, SectorAddress address)
{
    for (qsizetype i = 0; i < directory.files.size(); ++i) {
        if (directory.files[i].sectors.contains(address))
            return int(i);
    }
    return -1;
}

QString directorySummary(const DosDirectory &directory)
{
    if (!directory.found)
        return directory.whyNot;
    const DosDisk &disk = directory.disk;
    QString text = disk.dos + QStringLiteral(" disk")
                   + (disk.name.isEmpty() ? QString() : QLatin1Char(' ') + disk.name)
                   + QStringLiteral(": ")
                   + countedNoun(directory.userFileCount(), "file", "files");
    if (directory.allIntact())
        return text + QStringLiteral(", all intact");
    QStringList damaged;
    QStringList unreadable;
    for (const DosFile &file : directory.files) {
        if (file.health == FileHealth::Damaged)
            damaged.append(file.dosName());
        else if (file.health == FileHealth::Unreadable)
            unreadable.append(file.dosName());
    }
    if (!damaged.isEmpty())
        text += QStringLiteral("; damaged: ") + nameList(damaged);
    if (!unreadable.isEmpty())
        text += QStringLiteral("; cannot be followed: ") + nameList(unreadable);
    if (!directory.badDirectorySectors.isEmpty())
        text += QStringLiteral("; the directory has ")
                + countedNoun(int(directory.badDirectorySectors.size()), "bad sector",
                              "bad sectors");
    return text;
}

int DosDirectory::userFileCount() const
{
    return int(std::count_if(files.cbegin(), files.cend(),
                             [](const DosFile &file) { return !file.system; }));
}

bool DosDirectory::allIntact() const
{
    return badDirectorySectors.isEmpty()
           && std::all_of(files.cbegin(), files.cend(), [](const DosFile &file) {
                  return file.health == FileHealth::Intact;
              });
}

QString DosDate::text() const
{
    if (!isValid())
        return {};
    const auto two = [](int n) { return QStringLiteral("%1").arg(n % 100, 2, 10, QLatin1Char('0')); };
    if (day == 0)
        return two(month) + QLatin1Char('/') + two(year);
    return two(month) + QLatin1Char('/') + two(day) + QLatin1Char('/') + two(year);
}

QString DosFile::dosName() const
{
    const QString base = QString::fromLatin1(name);
    return extension.isEmpty() ? base : base + QLatin1Char('/') + QString::fromLatin1(extension);
}

QString DosFile::saveName() const
{
    QString text = QString::fromLatin1(name.isEmpty() ? QByteArray("_") : name);
    if (!extension.isEmpty())
        text += QLatin1Char('.') + QString::fromLatin1(extension);
    // A name is a name in one folder: no separators, no control characters.
    for (QChar &c : text) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F || c == u'/' || c == u'\\' || c == u':')
            c = u'_';
    }
    if (text == QLatin1String(".") || text == QLatin1String(".."))
        text = QStringLiteral("_");
    return text;
}

} // namespace ferncastle
