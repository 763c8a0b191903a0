// Times the card and permission check, which runs before every read or
// write of a disk: on this computer as it is, and on a built tree as large
// as a well-filled PC gives (80 PCI functions, two cards, a 250 KB kernel
// configuration gzipped in /proc/config.gz, tools not set-user-ID).
//
// Usage: ferncastle_bench_cardcheck [RUNS]   (default 200)
// Prints the first (cold) run and the median, 95th percentile and maximum
// of the rest, in milliseconds, and CPU time per run.

#include "platform/cardcheck/cardcheck.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

using namespace ferncastle;

namespace {

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write %s", qPrintable(path));
}

QByteArray gzipped(const QByteArray &text)
{
    QProcess gzip;
    gzip.start(QStringLiteral("gzip"), {QStringLiteral("-c")});
    gzip.write(text);
    gzip.closeWriteChannel();
    gzip.waitForFinished();
    return gzip.readAllStandardOutput();
}

void addDevice(const QString &root, int index, const char *ids[4])
{
    const QString folder = root + QStringLiteral("/sys/bus/pci/devices/0000:%1:00.0/")
                                      .arg(index, 2, 16, QLatin1Char('0'));
    const char *names[4] = {"vendor", "device", "subsystem_vendor", "subsystem_device"};
    for (int i = 0; i < 4; ++i)
        writeFile(folder + QLatin1String(names[i]), QByteArray(ids[i]) + '\n');
}

// A tree the size a real PC gives, so the figure does not depend on how
// sparse the measuring machine is.
CardCheckSetup buildLargeTree(const QTemporaryDir &dir)
{
    const QString root = dir.path();
    const char *other[4] = {"0x8086", "0xa370", "0x1028", "0x0867"};
    const char *mk3[4] = {"0xe159", "0x0001", "0x1212", "0x0002"};
    const char *mk4[4] = {"0xe159", "0x0001", "0x5213", "0x0003"};
    for (int i = 0; i < 80; ++i)
        addDevice(root, i, i == 20 ? mk3 : i == 60 ? mk4 : other);
    QByteArray config;
    for (int i = 0; config.size() < 250 * 1024; ++i)
        config += "CONFIG_SOMETHING_NUMBER_" + QByteArray::number(i) + "=y\n";
    config += "CONFIG_X86_IOPL_IOPERM=y\n"; // at the end: the whole file is read
    writeFile(root + QStringLiteral("/proc/config.gz"), gzipped(config));
    writeFile(root + QStringLiteral("/proc/sys/kernel/osrelease"), "6.1.0-bench\n");
    writeFile(root + QStringLiteral("/proc/self/status"), "CapEff:\t0\nCapBnd:\t000001ffffffffff\nNoNewPrivs:\t0\n");
    for (const char *tool : {"cw2dmk", "dmk2cw"})
        writeFile(root + QStringLiteral("/tools/") + QLatin1String(tool), "#!/bin/sh\n");

    CardCheckSetup setup;
    setup.rootFolder = root;
    setup.toolsFolder = root + QStringLiteral("/tools/");
    setup.architecture = QStringLiteral("x86_64");
    setup.runsAsRoot = false;
    return setup;
}

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

void measure(const char *name, const CardCheckSetup &setup, int runs)
{
    std::vector<double> wall;
    const double cpuStart = cpuMilliseconds();
    for (int i = 0; i <= runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const CardCheckResult result = checkCard(setup);
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (result.findings.isEmpty())
            qFatal("the check found nothing");
    }
    const double cpuPerRun = (cpuMilliseconds() - cpuStart) / (runs + 1);
    const double first = wall.front();
    std::vector<double> rest(wall.begin() + 1, wall.end());
    std::sort(rest.begin(), rest.end());
    const auto at = [&](double share) { return rest[std::min(rest.size() - 1, size_t(share * rest.size()))]; };
    std::printf("%-12s first %6.2f ms  median %6.2f ms  p95 %6.2f ms  max %6.2f ms  cpu/run %5.2f ms\n",
                name, first, at(0.5), at(0.95), rest.back(), cpuPerRun);
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    measure("this computer", CardCheckSetup(), runs);
    QTemporaryDir dir;
    measure("large tree", buildLargeTree(dir), runs);
    return 0;
}
