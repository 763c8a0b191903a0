#include "dosparts.h"

#include <bit>

namespace ferncastle::dosparts {

namespace {

QString dosName(int identity)
{
    const int high = identity >> 4;
    const int low = identity & 0x0F;
    if (high == 5)
        return QStringLiteral("LDOS 5.%1").arg(low);
    if (high == 6)
        return QStringLiteral("%1 6.%2").arg(low >= 3 ? QStringLiteral("LS-DOS")
                                                      : QStringLiteral("TRSDOS"))
            .arg(low);
    switch (identity) {
    case 0x82:
        return QStringLiteral("NEWDOS/80");
    case 0x23:
        return QStringLiteral("TRSDOS 2.3");
    case 0x34:
        return QStringLiteral("DOSPLUS");
    case 0x21:
        return QStringLiteral("NEWDOS+");
    }
    return QStringLiteral("TRSDOS 2.3-family DOS");
}

QString model3Name(const SectorSource &source)
{
    const QByteArray boot = source.sector({0, 0, 1}).data;
    const int version = boot.size() > 0xFE ? quint8(boot[0xFE]) : 0;
    if ((version >> 4) == 1)
        return QStringLiteral("TRSDOS %1.%2").arg(version >> 4).arg(version & 0x0F);
    return QStringLiteral("Model III TRSDOS");
}

QString label(QByteArrayView field)
{
    for (char c : field) {
        if (quint8(c) < 0x20 || quint8(c) > 0x7E)
            return {};
    }
    return QString::fromLatin1(field).trimmed();
}

// Granules in use are set bits; NEWDOS keeps one byte per lump.
qint64 freeBytes(const QByteArray &gat, const DirectoryPlace &place)
{
    const DosGeometry &g = place.geometry;
    const bool lumps = place.layout == DosLayout::Newdos80;
    const int perByte = lumps ? place.granulesPerLump : g.granulesPerCylinder;
    const int bytes = lumps ? g.granules() / qMax(1, perByte) : g.cylinders;
    const quint8 mask = quint8((1 << qMin(8, perByte)) - 1);
    qint64 free = 0;
    for (int i = 0; i < bytes && i < 0xC0; ++i)
        free += perByte - std::popcount(quint8(quint8(gat[i]) & mask));
    return free * g.sectorsPerGranule * 256;
}

bool isDoubleDensity(const SectorSource &source, int cylinder)
{
    const TrackInfo *track = source.track(cylinder, 0);
    return track && !track->sectors.isEmpty()
           && track->sectors.constFirst().encoding == Recording::MFM;
}

} // namespace

void readDiskLine(const SectorSource &source, const DirectoryPlace &place,
                  DosDirectory &directory)
{
    DosDisk &disk = directory.disk;
    const DosGeometry &g = place.geometry;
    disk.cylinders = g.cylinders;
    disk.sides = g.sides;
    disk.doubleDensity = isDoubleDensity(source, place.cylinder);
    disk.directoryCylinder = place.cylinder;
    disk.granulesPerCylinder = g.granulesPerCylinder;
    disk.sectorsPerGranule = g.sectorsPerGranule;
    const auto gatAt = gatSector(place);
    const SectorRead gat = gatAt ? source.sector(*gatAt) : SectorRead{};
    const bool m3 = place.layout == DosLayout::Trsdos13;
    disk.dos = m3 ? model3Name(source) : QStringLiteral("TRSDOS 2.3-family DOS");
    disk.freeBytes = -1;
    if (!gat.good() || gat.data.size() < 256) {
        directory.badDirectorySectors.append(gatAt.value_or(SectorAddress{}));
        directory.findings.append(QStringLiteral("The GAT sector (%1) is %2: the disk's name "
                                                 "and free space are not known.")
                                      .arg(addressText(gatAt.value_or(SectorAddress{})),
                                           gat.found() ? QStringLiteral("bad")
                                                       : QStringLiteral("missing")));
        if (!gat.found() || gat.data.size() < 256)
            return;
    }
    if (!m3) {
        disk.identity = quint8(gat.data[0xCB]);
        disk.dos = dosName(disk.identity);
    }
    disk.name = label(QByteArrayView(gat.data).sliced(0xD0, 8));
    disk.formatDate = label(QByteArrayView(gat.data).sliced(0xD8, 8));
    if (gat.good())
        disk.freeBytes = freeBytes(gat.data, place);
}

} // namespace ferncastle::dosparts
