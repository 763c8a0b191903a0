// Times the disk image reader on the cases the README gives figures for:
// an 80-track double-sided DMK (about 1 MB) from memory and from a file, and
// read back as a run's verdict does, an image larger than any disk read
// back, a 100 MB junk file refused, and two images built to make a careless reader
// slow (every JV3 entry on one track; a DMK of tiny tracks full of
// pointers). Prints the median of several runs.
//
//   ferncastle_diskimagebench [RUNS]

#include "core/image/imagereader.h"
#include "core/run/readback.h"
#include "core/imagewriter.h"
#include "mediantime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace ferncastle;

namespace {

void print(const char *what, qint64 bytes, double ms)
{
    std::printf("%-58s %9lld bytes  %8.3f ms\n", what, static_cast<long long>(bytes), ms);
}

QByteArray tinyTracksDmk()
{
    // 255 tracks, 2 sides, 0x100-byte tracks whose 64 pointers all point at
    // ID marks of 1024-byte sectors.
    const int length = 0x100;
    QByteArray image = imagewriter::dmkHeader(255, 2, length);
    QByteArray track(length, char(0xFE));
    for (int i = 0; i < 64; ++i) {
        track[i * 2] = char((0x80 + i) & 0xFF);
        track[i * 2 + 1] = char(0x80 | ((0x80 + i) >> 8));
    }
    for (int i = 0; i < 255 * 2; ++i)
        image += track;
    return image;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 25;
    QTemporaryDir dir;

    const QByteArray ds80 = imagewriter::dmk(80, 2, 0x1900, imagewriter::uniform(18, true));
    print("80-track double-sided DMK, from memory", ds80.size(),
          medianMs(runs, [&] { readDiskImage(ds80); }));
    QFile file(dir.filePath(QStringLiteral("ds80.dmk")));
    if (!file.open(QIODevice::WriteOnly) || file.write(ds80) != ds80.size())
        return 1;
    file.close();
    print("80-track double-sided DMK, from a file", ds80.size(),
          medianMs(runs, [&] { readDiskImageFile(file.fileName()); }));
    print("the same, read back for a run's verdict", ds80.size(),
          medianMs(runs, [&] { readBackFile(file.fileName()); }));
    // The run window reads an image back on the GUI thread when its tool
    // ends: this one is larger than any disk, to bound that pause.
    const QByteArray huge = imagewriter::dmk(255, 2, 0x4000, imagewriter::uniform(26, true));
    QFile hugeFile(dir.filePath(QStringLiteral("huge.dmk")));
    if (!hugeFile.open(QIODevice::WriteOnly) || hugeFile.write(huge) != huge.size())
        return 1;
    hugeFile.close();
    print("255-track double-sided DMK of 16 KiB tracks, read back", huge.size(),
          medianMs(runs, [&] { readBackFile(hugeFile.fileName()); }));

    QFile junk(dir.filePath(QStringLiteral("junk.bin")));
    if (!junk.open(QIODevice::WriteOnly))
        return 1;
    QByteArray chunk(1 << 20, '\0');
    for (int i = 0; i < 100; ++i) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(chunk.data()),
                                              chunk.size() / 4);
        junk.write(chunk);
    }
    junk.close();
    print("100 MB of junk, refused from a file", junk.size(),
          medianMs(runs, [&] { readDiskImageFile(junk.fileName()); }));

    QList<imagewriter::Jv3Entry> entries(5802, {0, 1, 0x01});
    const QByteArray oneTrack = imagewriter::jv3(entries);
    print("JV3, 5802 entries all for sector 1 of track 0", oneTrack.size(),
          medianMs(runs, [&] { readDiskImage(oneTrack); }));
    const QByteArray tiny = tinyTracksDmk();
    print("DMK, 510 tiny tracks of 64 pointers each", tiny.size(),
          medianMs(runs, [&] { readDiskImage(tiny); }));
    return 0;
}
