#include "imagereader.h"

#include "formatreaders.h"
#include "imageprobe.h"

#include <QFile>
#include <QHash>

namespace ferncastle {

namespace {

// The same cylinder, head and sector id twice on one track: a reader of
// the disk would find either. One pass with a table of first places, so a
// JV3 that puts all its entries on one track stays linear.
void reportDuplicateSectors(const TrackInfo &track, QList<Finding> &findings)
{
    QHash<quint32, int> firstPlace;
    for (int i = 0; i < track.sectors.size(); ++i) {
        const SectorInfo &sector = track.sectors[i];
        if (!sector.idCrcOk)
            continue;
        const quint32 key = quint32(sector.cylinder) << 16 | quint32(sector.head) << 8
                            | sector.sectorId;
        const auto place = firstPlace.constFind(key);
        if (place == firstPlace.cend()) {
            firstPlace.insert(key, i);
            continue;
        }
        Finding finding;
        finding.kind = FindingKind::DuplicateSector;
        finding.track = track.track;
        finding.side = track.side;
        finding.entry = sector.entry;
        finding.sameAs = *place;
        finding.text = QStringLiteral("Track %1 side %2: sector %3 appears twice, at "
                                      "entries %4 and %5.")
                           .arg(track.track)
                           .arg(track.side)
                           .arg(sector.sectorId)
                           .arg(track.sectors[*place].entry)
                           .arg(sector.entry);
        findings.append(finding);
    }
}

void readFormat(QByteArrayView bytes, DiskImage &image)
{
    switch (image.format) {
    case ImageFormat::Dmk:
        readDmk(bytes, image);
        break;
    case ImageFormat::Jv3:
        readJv3(bytes, image);
        break;
    case ImageFormat::Jv1:
        readJv1(bytes, image);
        return;
    case ImageFormat::Unknown:
        return;
    }
    for (const TrackInfo &track : std::as_const(image.tracks))
        reportDuplicateSectors(track, image.findings);
}

DiskImage refused(const QString &reason, qint64 fileSize)
{
    DiskImage image;
    image.refusal = reason;
    image.fileSize = fileSize;
    return image;
}

} // namespace

DiskImage readDiskImage(QByteArrayView bytes)
{
    const ImageProbe probe = probeImage(bytes.first(qMin(bytes.size(), probePrefixSize)),
                                        bytes.size());
    if (probe.format == ImageFormat::Unknown)
        return refused(probe.refusal, bytes.size());
    DiskImage image;
    image.format = probe.format;
    image.fileSize = bytes.size();
    readFormat(bytes, image);
    return image;
}

DiskImage readDiskImageFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("It could not be opened: %1.").arg(file.errorString()), 0);
    const qint64 size = file.size();
    const QByteArray prefix = file.read(qMin<qint64>(size, probePrefixSize));
    const ImageProbe probe = probeImage(prefix, size);
    if (probe.format == ImageFormat::Unknown)
        return refused(probe.refusal, size);
    // One buffer, filled in place, and only what the size promised even if
    // the file grows meanwhile.
    QByteArray bytes(size, Qt::Uninitialized);
    std::copy(prefix.cbegin(), prefix.cend(), bytes.begin());
    const qint64 rest = size - prefix.size();
    if (file.read(bytes.data() + prefix.size(), rest) != rest)
        return refused(QStringLiteral("It could not be read whole: %1.").arg(file.errorString()),
                       size);
    return readDiskImage(bytes);
}

} // namespace ferncastle
