// Feeds arbitrary bytes to the disk image reader and the DOS directory
// reader on top of it. Besides crashes, leaks, hangs and sanitizer reports,
// it stops on a broken promise: the probe and the full read agree on the
// format, a refused file carries its reason, every sector called complete
// lies inside the bytes, the report can be written, the sector source gives
// no more bytes than a sector holds (all of them for a complete one), an
// image compared with itself is equal, a disk without a directory says why
// and lists no file, and no file's bytes run past its size.

#include "core/dos/dosdirectory.h"
#include "core/image/imagecompare.h"
#include "core/image/imageprobe.h"
#include "core/image/imagereader.h"
#include "core/image/imagereport.h"

#include <QByteArrayView>

#include <cstdint>
#include <cstdlib>

using namespace ferncastle;

namespace {

void checkSectors(const DiskImage &image, qint64 size)
{
    if (image.tracks.size() > 2 * 255)
        std::abort();
    for (const TrackInfo &track : image.tracks) {
        if (track.sectors.size() > 2 * 2901)
            std::abort();
        for (const SectorInfo &s : track.sectors) {
            if (s.complete && s.dataOffset >= 0 && s.dataOffset >= size)
                std::abort();
            if (s.idOffset >= size)
                std::abort();
            if (image.format != ImageFormat::Dmk && s.complete
                && s.dataOffset + s.dataSize > size)
                std::abort();
        }
    }
}

void checkSectorBytes(const DiskImage &image, QByteArrayView bytes)
{
    const SectorSource source(image, bytes.toByteArray());
    for (const TrackInfo &track : image.tracks) {
        for (const SectorInfo &s : track.sectors) {
            const QByteArray data = source.data(s);
            if (data.size() > s.dataSize)
                std::abort();
            if (s.complete && s.hasDataMark && s.dataOffset >= 0 && data.size() != s.dataSize)
                std::abort();
        }
    }
    if (!compareImages(source, source).equal())
        std::abort();
}

void checkDirectory(const DiskImage &image, QByteArrayView bytes)
{
    const SectorSource source(image, bytes.toByteArray());
    const DosDirectory directory = readDosDirectory(source);
    if (!directory.found
        && (!directory.files.isEmpty()
            || !directory.whyNot.startsWith(QLatin1String("no TRS-80 directory found: "))))
        std::abort();
    for (const DosFile &file : directory.files) {
        if (fileBytes(source, file).size() > file.size || file.saveName().contains(u'/'))
            std::abort();
    }
    if (directorySummary(directory).isEmpty())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const DiskImage image = readDiskImage(bytes);
    const ImageProbe probe = probeImage(bytes.first(qMin(bytes.size(), probePrefixSize)),
                                        bytes.size());
    if (probe.format != image.format || (!image.isImage() && image.refusal.isEmpty()))
        std::abort();
    checkSectors(image, bytes.size());
    checkSectorBytes(image, bytes);
    if (imageReport(image, QStringLiteral("fuzz")).isEmpty())
        std::abort();
    checkDirectory(image, bytes);
    return 0;
}
