// Run window benchmark: starts stand-in tools through the run window and
// measures what a user would feel. A heartbeat timer fires every 10 ms on
// the GUI thread (the thread the main window shares); its longest gap is
// the longest stall. Also: throughput from start to the end of the run,
// peak and final memory, the lines the view keeps, and how long opening
// the window takes over starting a bare process.
//
// Usage: ferncastle_runbench [flood|unbroken|progress|open] (default: all)
//   flood     a tool writing 50 MB of cw2dmk-like lines as fast as it can
//   unbroken  a tool writing 20 MB with no line end at all
//   progress  a tool writing a "\r" progress line 100,000 times
//   open      window open time over process start, median of 20
#include "forms/common/dialogprompts.h"
#include "forms/run/outputview.h"
#include "forms/run/runwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

using namespace ferncastle;

namespace {

constexpr qint64 floodBytes = 50LL * 1024 * 1024;
constexpr qint64 unbrokenBytes = 20LL * 1024 * 1024;

QString writeScript(const QTemporaryDir &dir, const char *name, const QByteArray &body)
{
    const QString path = dir.filePath(QLatin1String(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write("#!/bin/sh\n" + body);
    file.close();
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

long peakKiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

long currentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

ToolCommand commandFor(const QString &program, const QString &tool, const QString &image)
{
    ToolCommand command;
    command.tool = tool;
    command.program = program;
    command.chosenFile = image;
    command.arguments = {image};
    command.commandLine = tool + u' ' + image;
    return command;
}

void runOne(const char *label, const ToolCommand &command, qint64 bytes)
{
    DialogPrompts prompts;
    qint64 lastBeat = 0;
    qint64 worstGap = 0;
    QElapsedTimer clock;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    QObject::connect(&heartbeat, &QTimer::timeout, &heartbeat, [&] {
        const qint64 now = clock.elapsed();
        worstGap = std::max(worstGap, now - lastBeat);
        lastBeat = now;
    });
    const long peakBefore = peakKiB();
    auto *window = new RunWindow(command, prompts);
    clock.start();
    heartbeat.start(10);
    window->show();
    window->start();
    QEventLoop loop;
    qint64 endedAt = 0;
    QObject::connect(window, &RunWindow::runEnded, &loop, [&] {
        endedAt = clock.elapsed();
        loop.quit();
    });
    loop.exec();
    const auto *view = window->findChild<OutputView *>(QStringLiteral("outputView"));
    std::printf("%s: %.1f MB in %lld ms = %.1f MB/s; longest stall %lld ms (heartbeat 10 ms); "
                "peak RSS %ld MiB (was %ld before), now %ld MiB; view keeps %d lines; verdict: %s\n",
                label, double(bytes) / (1024 * 1024), endedAt,
                double(bytes) / (1024 * 1024) / (double(endedAt) / 1000), worstGap - 10,
                peakKiB() / 1024, peakBefore / 1024, currentKiB() / 1024,
                view->document()->blockCount(), qPrintable(window->analysis().verdict().sentence));
    std::fflush(stdout);
    delete window;
}

qint64 bytesWrittenBy(const QString &program)
{
    QProcess process;
    process.start(program, {});
    process.waitForFinished(60000);
    return process.readAllStandardOutput().size();
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// From the call to the window painted with its tool started, against a
// bare QProcess start of the same program.
void openTime(const QString &program, const QString &image)
{
    DialogPrompts prompts;
    QList<qint64> windowTimes;
    QList<qint64> processTimes;
    for (int round = 0; round < 20; ++round) {
        QElapsedTimer clock;
        clock.start();
        QProcess bare;
        bare.start(program, {image});
        bare.waitForStarted();
        processTimes.append(clock.nsecsElapsed() / 1000);
        bare.waitForFinished();

        clock.restart();
        auto *window = new RunWindow(commandFor(program, QStringLiteral("cw2dmk"), image), prompts);
        window->show();
        window->start();
        QCoreApplication::processEvents();
        window->repaint();
        windowTimes.append(clock.nsecsElapsed() / 1000);
        QEventLoop loop;
        QObject::connect(window, &RunWindow::runEnded, &loop, &QEventLoop::quit);
        if (!window->hasEnded())
            loop.exec();
        delete window;
    }
    const qint64 window = median(windowTimes);
    const qint64 process = median(processTimes);
    std::printf("open: window shown and tool started in %.1f ms, bare process start %.1f ms, "
                "window over process %.1f ms (medians of 20)\n",
                window / 1000.0, process / 1000.0, (window - process) / 1000.0);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString only = app.arguments().value(1);
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("bench.dmk"));
    const QString flood = writeScript(
        dir, "flood",
        "yes 'Track 12, side 0, pass 1: 18 good sectors, 0 errors' | head -c "
            + QByteArray::number(floodBytes) + "\n");
    const QString progress = writeScript(
        dir, "progress",
        "awk 'BEGIN { for (i = 0; i < 100000; i++) printf \"Track %d, side %d\\r\", i % 80, i % 2 }'\n");
    const QString unbroken = writeScript(
        dir, "unbroken", "head -c " + QByteArray::number(unbrokenBytes) + " /dev/zero | tr '\\0' x\n");
    const QString quick = writeScript(dir, "quick", "echo 'cw2dmk 4.10.1'\n");
    if (only.isEmpty() || only == QLatin1String("flood"))
        runOne("flood", commandFor(flood, QStringLiteral("cw2dmk"), image), floodBytes);
    if (only.isEmpty() || only == QLatin1String("unbroken"))
        runOne("unbroken", commandFor(unbroken, QStringLiteral("cw2dmk"), image), unbrokenBytes);
    if (only.isEmpty() || only == QLatin1String("progress"))
        runOne("progress", commandFor(progress, QStringLiteral("dmk2cw"), image),
               bytesWrittenBy(progress));
    if (only.isEmpty() || only == QLatin1String("open"))
        openTime(quick, image);
    return 0;
}
