// Feeds arbitrary bytes to the disk image reader. Besides crashes, leaks and
// sanitizer reports, it stops on a broken promise: the probe and the full
// read agree on the format, a refused file carries its reason, every sector
// called complete lies inside the bytes, and the report can be written.
// The sector source gives no more bytes than a sector holds, all of them
// for a complete one, and an image compared with itself is equal.

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
    return 0;
}
