// Times the DOS directory reader on the cases the README gives figures for:
// listing a full 80-cylinder double-sided double-density disk (as a DMK of
// about 1 MB, from a file, as --files does it), and copying every file of it
// out into a folder, as --extract does. Prints the median of several runs.
//
//   ferncastle_dosdirbench [RUNS] [IMAGE]
// IMAGE: where to keep the full disk, for scripts/benchmark-cli.sh.

#include "core/dos/dosdirectory.h"
#include "core/dosdisks.h"
#include "mediantime.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace ferncastle;

namespace {

// 58 files of 12,000 bytes fill all but a few granules of the disk.
QByteArray fullDisk()
{
    dosdisks::Plan plan{80, 2, true, false, 40, 0x63, {}};
    for (int i = 0; i < 58; ++i) {
        QByteArray bytes(12000, '\0');
        for (int k = 0; k < bytes.size(); ++k)
            bytes[k] = char((k * 13 + i) & 0xFF);
        plan.files.append({QByteArray("FILE") + QByteArray::number(i), "DAT", bytes});
    }
    return dosdisks::toDmk(dosdisks::Formatter(plan).build());
}

void writeAll(const QString &folder, const SectorSource &source, const DosDirectory &directory)
{
    for (const DosFile &file : directory.files) {
        QFile out(QDir(folder).filePath(file.saveName()));
        if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            qFatal("cannot write %s", qPrintable(out.fileName()));
        out.write(fileBytes(source, file));
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    QTemporaryDir dir;
    const QString image = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                   : dir.filePath(QStringLiteral("full-ds80.dmk"));
    QFile file(image);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(fullDisk()) < 0)
        qFatal("cannot write the image");
    file.close();

    const SectorSource source = SectorSource::fromFile(image);
    DosDirectory directory = readDosDirectory(source);
    qint64 bytes = 0;
    for (const DosFile &f : directory.files)
        bytes += f.size;
    std::printf("%s\n%lld bytes in %lld files, %lld bytes free\n",
                qPrintable(directorySummary(directory)), static_cast<long long>(bytes),
                static_cast<long long>(directory.files.size()),
                static_cast<long long>(directory.disk.freeBytes));

    const double open = medianMs(runs, [&] { SectorSource::fromFile(image); });
    const double list = medianMs(runs, [&] { directory = readDosDirectory(source); });
    int round = 0;
    const double copy = medianMs(runs, [&] {
        const QString folder = dir.filePath(QStringLiteral("out%1").arg(round++));
        QDir().mkpath(folder);
        writeAll(folder, source, directory);
    });
    std::printf("%-52s %8.3f ms\n", "read the 80-cylinder two-sided DMK from its file", open);
    std::printf("%-52s %8.3f ms\n", "list its directory and check every file's sectors", list);
    std::printf("%-52s %8.3f ms\n", "copy every file out into a new folder", copy);
    std::printf("%-52s %8.3f ms\n", "--files without the start (read + list)", open + list);
    std::printf("%-52s %8.3f ms\n", "--extract without the start (read + list + copy)",
                open + list + copy);
    return 0;
}
