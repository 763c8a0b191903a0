#include "dosparts.h"

#include <QHash>
#include <QSet>

namespace ferncastle::dosparts {

namespace {

// A directory's slots as the sectors hold them, by entry code.
using Slots = QHash<int, QByteArray>;

int entryBytes(DosLayout layout)
{
    return layout == DosLayout::Trsdos13 ? 48 : 32;
}

int entriesPerSector(DosLayout layout)
{
    return layout == DosLayout::Trsdos13 ? 5 : 8;
}

int slotCode(DosLayout layout, int sectorNumber, int entry)
{
    return layout == DosLayout::Trsdos13 ? sectorNumber * 5 + entry : entry * 32 + sectorNumber;
}

QByteArray trimmed(QByteArrayView field)
{
    qsizetype end = field.size();
    while (end > 0 && (field[end - 1] == ' ' || field[end - 1] == '\0'))
        --end;
    return field.first(end).toByteArray();
}

void sayBadSector(DosDirectory &directory, SectorAddress at, const SectorRead &read,
                  const QString &what)
{
    directory.badDirectorySectors.append(at);
    directory.findings.append(QStringLiteral("The %1 (%2) %3.")
                                  .arg(what, addressText(at),
                                       read.found() ? QStringLiteral("is bad")
                                                    : QStringLiteral("is missing")));
}

Slots readSlots(const SectorSource &source, const DirectoryPlace &place, int sectorCount,
                DosDirectory &directory)
{
    Slots slots;
    const int size = entryBytes(place.layout);
    for (int number = 0; number < sectorCount; ++number) {
        const auto at = entrySector(place, number);
        if (!at)
            continue;
        const SectorRead read = source.sector(*at);
        if (!read.good())
            sayBadSector(directory, *at, read, QStringLiteral("directory sector"));
        for (int e = 0; e < entriesPerSector(place.layout); ++e) {
            if (read.data.size() >= (e + 1) * size)
                slots.insert(slotCode(place.layout, number, e), read.data.mid(e * size, size));
        }
    }
    return slots;
}

DosDate entryDate(const QByteArray &e, DosLayout layout)
{
    DosDate date;
    if (layout == DosLayout::Trsdos13) {
        date.month = quint8(e[1]);
        date.year = 1900 + quint8(e[2]);
    } else {
        date.month = quint8(e[1]) & 0x0F;
        date.day = quint8(e[2]) >> 3;
        date.year = 1980 + (quint8(e[2]) & 7);
    }
    if (date.month < 1 || date.month > 12 || date.year > 1999)
        date = {};
    return date;
}

qint64 entrySize(const QByteArray &e, DosLayout layout)
{
    const qint64 eof = quint8(e[3]);
    const qint64 ern = quint8(e[20]) | (quint8(e[21]) << 8);
    if (layout == DosLayout::Trsdos13)
        return ern * 256 + eof;
    if (eof == 0 || ern == 0)
        return ern * 256;
    return (ern - 1) * 256 + eof;
}

// Adds the extents one entry holds; false at an extent beyond the disk.
bool addExtents(const QByteArray &e, const DirectoryPlace &place, DosFile &file)
{
    const bool m3 = place.layout == DosLayout::Trsdos13;
    const int pairs = m3 ? 13 : 4;
    const DosGeometry &g = place.geometry;
    for (int i = 0; i < pairs; ++i) {
        const quint8 where = quint8(e[22 + 2 * i]);
        const quint8 run = quint8(e[23 + 2 * i]);
        if (where >= 0xFE)
            break;
        const int perUnit = place.layout == DosLayout::Newdos80 ? place.granulesPerLump
                                                                : g.granulesPerCylinder;
        const DosExtent extent{where * perUnit + (run >> 5), m3 ? (run & 31) : (run & 31) + 1};
        file.extents.append(extent);
        if ((run >> 5) >= perUnit || extent.firstGranule + extent.granules > g.granules()) {
            file.problem = QStringLiteral("An extent points beyond the disk (%1 %2).")
                               .arg(place.layout == DosLayout::Newdos80 ? QStringLiteral("lump")
                                                                        : QStringLiteral("cylinder"))
                               .arg(where);
            return false;
        }
    }
    return true;
}

// Follows the extension entries, each at most once.
void followExtensions(const Slots &slots, const QByteArray &first, const DirectoryPlace &place,
                      DosFile &file)
{
    QSet<int> seen{file.entryCode};
    QByteArray entry = first;
    while (addExtents(entry, place, file)) {
        if (place.layout == DosLayout::Trsdos13 || quint8(entry[30]) != 0xFE)
            return;
        const int next = quint8(entry[31]);
        if (seen.contains(next)) {
            file.problem = QStringLiteral("Its extension entries run in a loop.");
            return;
        }
        seen.insert(next);
        entry = slots.value(next);
        if (entry.size() < 32 || (quint8(entry[0]) & 0x90) != 0x90) {
            file.problem = QStringLiteral("Its extension entry (slot %1) is not one.").arg(next);
            return;
        }
    }
}

DosFile fileFromEntry(const Slots &slots, int code, const DirectoryPlace &place)
{
    const QByteArray &e = slots[code];
    DosFile file;
    file.entryCode = code;
    file.name = trimmed(QByteArrayView(e).sliced(5, 8));
    file.extension = trimmed(QByteArrayView(e).sliced(13, 3));
    file.size = entrySize(e, place.layout);
    file.date = entryDate(e, place.layout);
    file.recordLength = quint8(e[4]) == 0 ? 256 : quint8(e[4]);
    file.system = quint8(e[0]) & 0x40;
    file.invisible = quint8(e[0]) & 0x08;
    file.protection = quint8(e[0]) & 0x07;
    followExtensions(slots, e, place, file);
    if (!file.problem.isEmpty())
        file.health = FileHealth::Unreadable;
    return file;
}

bool printableName(const QByteArray &e)
{
    const char first = e[5];
    return first >= 'A' && first <= 'Z';
}

} // namespace

void readEntries(const SectorSource &source, const DirectoryPlace &place,
                 DosDirectory &directory)
{
    const auto hitAt = hitSector(place);
    const SectorRead hit = hitAt ? source.sector(*hitAt) : SectorRead{};
    if (hitAt && !hit.good())
        sayBadSector(directory, *hitAt, hit, QStringLiteral("HIT sector"));
    const bool useHit = hit.found() && hit.data.size() >= 256;
    const int sectorCount = place.layout == DosLayout::Trsdos23 ? 32 : place.entrySectors;
    const Slots slots = readSlots(source, place, sectorCount, directory);
    QList<int> codes = slots.keys();
    std::sort(codes.begin(), codes.end());
    for (int code : codes) {
        const QByteArray &e = slots[code];
        const quint8 attributes = quint8(e[0]);
        if (!(attributes & 0x10) || (place.layout != DosLayout::Trsdos13 && (attributes & 0x80)))
            continue;
        const quint8 hash = useHit && code < hit.data.size() ? quint8(hit.data[code]) : 0;
        if (useHit ? hash == 0 : !printableName(e))
            continue; // a slot the DOS treats as free
        if (hash != 0 && hash != nameHash(QByteArrayView(e).sliced(5, 11)))
            directory.findings.append(QStringLiteral("The HIT does not match the name in slot %1.")
                                          .arg(code));
        directory.files.append(fileFromEntry(slots, code, place));
    }
}

} // namespace ferncastle::dosparts
