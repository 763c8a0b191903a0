#include "imagereader.h"

#include "formatreaders.h"
#include "imageprobe.h"

#include <QFile>

namespace ferncastle {

namespace {

// The same cylinder, head and sector id twice on one track: a reader of
// the disk would find either.
void reportDuplicateSectors(const TrackInfo &track, QList<Finding> &findings)
{
    for (int i = 1; i < track.sectors.size(); ++i) {
        const SectorInfo &later = track.sectors[i];
        for (int j = 0; j < i; ++j) {
            const SectorInfo &first = track.sectors[j];
            if (!later.idCrcOk || !first.idCrcOk || first.sectorId != later.sectorId
                || first.cylinder != later.cylinder || first.head != later.head)
                continue;
            Finding finding;
            finding.kind = FindingKind::DuplicateSector;
            finding.track = track.track;
            finding.side = track.side;
            finding.entry = later.entry;
            finding.sameAs = j;
            finding.text = QStringLiteral("Track %1 side %2: sector %3 appears twice, at "
                                          "entries %4 and %5.")
                               .arg(track.track)
                               .arg(track.side)
                               .arg(later.sectorId)
                               .arg(first.entry)
                               .arg(later.entry);
            findings.append(finding);
            break;
        }
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
    // Only what the size promised, even if the file grows meanwhile.
    const QByteArray bytes = prefix + file.read(size - prefix.size());
    if (file.error() != QFileDevice::NoError || bytes.size() != size)
        return refused(QStringLiteral("It could not be read whole: %1.").arg(file.errorString()),
                       size);
    return readDiskImage(bytes);
}

} // namespace ferncastle
