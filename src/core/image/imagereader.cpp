#include "imagereader.h"

#include "formatreaders.h"
#include "imageprobe.h"

#include "core/io/regularfile.h"

#include <QHash>

#include <optional>

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

DiskImage readDecided(QByteArrayView bytes, ImageFormat format)
{
    DiskImage image;
    image.format = format;
    image.fileSize = bytes.size();
    readFormat(bytes, image);
    return image;
}

DiskImage refused(const QString &reason, qint64 fileSize)
{
    DiskImage image;
    image.refusal = reason;
    image.fileSize = fileSize;
    return image;
}

QString openRefusal(const RegularFile &file)
{
    switch (file.failure()) {
    case RegularFile::Failure::Folder:
    case RegularFile::Failure::NotRegular:
        return file.reason();
    default:
        return QStringLiteral("It could not be opened. ") + file.reason();
    }
}

struct ProbedFile
{
    ImageProbe probe;
    QByteArray prefix;
    QString failure; // the prefix could not be read as the size promised
};

// The probe sees the bytes the read got; a file shorter than its size said
// has changed since it was opened, and is refused as such.
ProbedFile probeOpenFile(RegularFile &file)
{
    const qint64 size = file.size();
    const qint64 wanted = qMin<qint64>(size, probePrefixSize);
    std::optional<QByteArray> prefix = file.read(wanted);
    if (!prefix)
        return {{}, {}, QStringLiteral("It could not be read. ") + file.reason()};
    if (prefix->size() != wanted)
        return {{}, {}, changedWhileReadReason(size, prefix->size())};
    return {probeImage(*prefix, size), std::move(*prefix), {}};
}

} // namespace

DiskImage readDiskImage(QByteArrayView bytes)
{
    const ImageProbe probe = probeImage(bytes.first(qMin(bytes.size(), probePrefixSize)),
                                        bytes.size());
    if (probe.format == ImageFormat::Unknown)
        return refused(probe.refusal, bytes.size());
    return readDecided(bytes, probe.format);
}

DiskImage readDiskImageFile(const QString &path, QByteArray *bytes)
{
    RegularFile file;
    if (!file.open(path))
        return refused(openRefusal(file), 0);
    return readDiskImageFile(file, bytes);
}

DiskImage readDiskImageFile(RegularFile &file, QByteArray *fileBytes)
{
    const qint64 size = file.size();
    const ProbedFile probed = probeOpenFile(file);
    if (!probed.failure.isEmpty())
        return refused(probed.failure, size);
    if (probed.probe.format == ImageFormat::Unknown)
        return refused(probed.probe.refusal, size);
    // One buffer, filled in place; the format decided from the prefix holds
    // because every byte the size promised is there and no more.
    QByteArray bytes(size, Qt::Uninitialized);
    const QByteArray &prefix = probed.prefix;
    std::copy(prefix.cbegin(), prefix.cend(), bytes.begin());
    const qint64 rest = size - prefix.size();
    const qint64 got = file.read(bytes.data() + prefix.size(), rest);
    if (got < 0)
        return refused(QStringLiteral("It could not be read whole. ") + file.reason(), size);
    if (got != rest)
        return refused(changedWhileReadReason(size, prefix.size() + got), size);
    if (file.grewSinceOpened())
        return refused(changedWhileReadReason(size, size + 1), size);
    DiskImage image = readDecided(bytes, probed.probe.format);
    if (fileBytes)
        *fileBytes = std::move(bytes);
    return image;
}

ImageFormat probeImageFile(RegularFile &file)
{
    return probeOpenFile(file).probe.format;
}

} // namespace ferncastle
