// Times the "Image Information" window from the moment the user has chosen
// an 80-track double-sided DMK to the window painted: reading the file,
// filling the window, showing it and rendering it once. Prints the median
// of several runs. Run it with QT_QPA_PLATFORM=offscreen or on a display.
//
//   ferncastle_imageinfobench [RUNS]

#include "core/image/imagereader.h"
#include "core/imagewriter.h"
#include "forms/imageinfo/imageinfowindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace ferncastle;

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? qMax(1, QString::fromLocal8Bit(argv[1]).toInt()) : 15;
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("ds80.dmk")));
    const QByteArray ds80 = imagewriter::dmk(80, 2, 0x1900, imagewriter::uniform(18, true));
    if (!file.open(QIODevice::WriteOnly) || file.write(ds80) != ds80.size())
        return 1;
    file.close();
    // Wall time, and the process's CPU time, which a busy machine disturbs
    // less.
    QList<double> times;
    QList<double> cpuTimes;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        auto *window = new ImageInfoWindow;
        window->showImage(SectorSource::fromFile(file.fileName()), file.fileName());
        window->show();
        QApplication::processEvents();
        window->grab();
        times.append(double(timer.nsecsElapsed()) / 1e6);
        cpuTimes.append(double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC);
        delete window;
    }
    std::sort(times.begin(), times.end());
    std::sort(cpuTimes.begin(), cpuTimes.end());
    std::printf("Image Information window, 80-track double-sided DMK: median %.1f ms "
                "(CPU %.1f ms) of %d runs\n",
                times[times.size() / 2], cpuTimes[cpuTimes.size() / 2], runs);
    return 0;
}
