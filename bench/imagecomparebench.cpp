// Times the image comparison on the cases the README gives figures for:
// two 80-track double-sided images, read from files and compared as
// `ferncastle --compare` does, and the comparison alone; a DMK against the
// JV3 holding the same sectors; and two images that differ in every sector.
// Prints the median of several runs.
//
//   ferncastle_imagecomparebench [RUNS]

#include "core/image/imagecompare.h"
#include "core/image/imagereader.h"
#include "core/imagewriter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>

using namespace ferncastle;

namespace {

struct Timing
{
    double wallMs;
    double cpuMs; // this thread's own time: less swayed by a busy machine
};

double cpuNowMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

Timing median(int runs, const std::function<void()> &work)
{
    QList<double> wall;
    QList<double> cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double cpuStart = cpuNowMs();
        timer.start();
        work();
        wall.append(double(timer.nsecsElapsed()) / 1e6);
        cpu.append(cpuNowMs() - cpuStart);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

void print(const char *what, int differences, Timing timing)
{
    std::printf("%-62s %5d differ  %8.3f ms  (CPU %.3f ms)\n", what, differences, timing.wallMs,
                timing.cpuMs);
}

SectorSource fromBytes(const QByteArray &bytes)
{
    return SectorSource(readDiskImage(bytes), bytes);
}

// The JV3 that holds the DMK's sectors: one header block (2,880 entries
// fit its 2,901), MFM, 256-byte sectors.
QByteArray sameAsJv3(const SectorSource &dmk)
{
    QByteArray header(8704, char(0xFF));
    QByteArray data;
    int entry = 0;
    for (const TrackInfo &track : dmk.image().tracks) {
        for (const SectorInfo &sector : track.sectors) {
            header[entry * 3] = char(track.track);
            header[entry * 3 + 1] = char(sector.sectorId);
            header[entry * 3 + 2] = char(0x80 | (track.side ? 0x10 : 0));
            data += dmk.data(sector);
            ++entry;
        }
    }
    return header + data;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 25;
    QTemporaryDir dir;
    const QByteArray dmk = imagewriter::dmk(80, 2, 0x1900, imagewriter::uniform(18, true));
    const QString first = dir.filePath(QStringLiteral("a.dmk"));
    const QString second = dir.filePath(QStringLiteral("b.dmk"));
    if (!writeFile(first, dmk) || !writeFile(second, dmk))
        return 1;
    int differ = 0;
    const Timing fromFiles = median(runs, [&] {
        differ = int(compareImages(SectorSource::fromFile(first), SectorSource::fromFile(second))
                         .differences.size());
    });
    print("80-track double-sided DMKs, equal, read from files", differ, fromFiles);

    const SectorSource a = fromBytes(dmk);
    const SectorSource b = fromBytes(dmk);
    const Timing alone = median(runs, [&] { differ = int(compareImages(a, b).differences.size()); });
    print("the same, comparison alone", differ, alone);

    const SectorSource jv3 = fromBytes(sameAsJv3(a));
    const Timing mixed = median(runs, [&] { differ = int(compareImages(a, jv3).differences.size()); });
    print("80-track double-sided DMK against its JV3, comparison alone", differ, mixed);

    // The fill pattern follows the ID field's cylinder: naming another one
    // changes every data byte.
    const QByteArray other = imagewriter::dmk(80, 2, 0x1900, [](int t, int s) {
        QList<imagewriter::Sector> sectors = imagewriter::uniform(18, true)(t, s);
        for (imagewriter::Sector &sector : sectors)
            sector.cylinder = quint8(t ^ 1);
        return sectors;
    });
    const SectorSource c = fromBytes(other);
    const Timing different = median(runs, [&] {
        differ = int(compareImages(a, c).differences.size());
    });
    print("80-track double-sided DMKs, every sector different", differ, different);
    return 0;
}
