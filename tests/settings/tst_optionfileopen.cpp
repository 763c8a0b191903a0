// What loading an options file opens, when the name is swapped for
// something else between a look at it and the open.
#include "core/settings/optionfileio.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace ferncastle;

namespace {

QByteArray path(const QTemporaryDir &dir, const char *name)
{
    return QFile::encodeName(dir.filePath(QLatin1String(name)));
}

// Puts a FIFO and a regular file in turn under one name, each by an atomic
// rename of a second hard link, so that both stay reachable under their
// own names.
void swapUntil(const QTemporaryDir &dir, const std::atomic<bool> &stop)
{
    const QByteArray target = path(dir, "options.dat");
    const QByteArray staging = path(dir, "staging");
    const QByteArray sources[] = {path(dir, "fifo"), path(dir, "regular")};
    for (int i = 0; !stop; ++i) {
        ::unlink(staging.constData());
        if (::link(sources[i % 2].constData(), staging.constData()) == 0)
            std::rename(staging.constData(), target.constData());
    }
}

// A reader stuck in open() on the FIFO is let go by a writer that comes and
// goes.
void releaseReaders(const QTemporaryDir &dir)
{
    const int fd = ::open(path(dir, "fifo").constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0)
        ::close(fd);
}

} // namespace

class TestOptionFileOpen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fifoInPlaceOfTheFileDoesNotBlock();
    void swappedInFifoDoesNotBlock();
};

void TestOptionFileOpen::fifoInPlaceOfTheFileDoesNotBlock()
{
    QTemporaryDir dir;
    QCOMPARE(::mkfifo(path(dir, "options.dat").constData(), 0600), 0);
    const LoadedOptionFile loaded = loadOptionFile(dir.filePath("options.dat"));
    QVERIFY(!loaded.options);
    QVERIFY2(loaded.error.contains("not a regular file"), qPrintable(loaded.error));
}

void TestOptionFileOpen::swappedInFifoDoesNotBlock()
{
    QTemporaryDir dir;
    QCOMPARE(::mkfifo(path(dir, "fifo").constData(), 0600), 0);
    QFile regular(dir.filePath("regular"));
    QVERIFY(regular.open(QIODevice::WriteOnly));
    regular.close();

    std::atomic<bool> stop{false};
    std::atomic<bool> blocked{false};
    std::atomic<qint64> callStarted{0}; // ms since the epoch; 0 between calls
    QThread *swapper = QThread::create([&] { swapUntil(dir, stop); });
    QThread *watchdog = QThread::create([&] {
        while (!stop) {
            const qint64 started = callStarted;
            if (started && QDateTime::currentMSecsSinceEpoch() - started > 2000) {
                blocked = true;
                stop = true;
            }
            QThread::msleep(50);
        }
        for (int i = 0; i < 20; ++i) { // the reader may be anywhere in its open
            releaseReaders(dir);
            QThread::msleep(10);
        }
    });
    swapper->start();
    watchdog->start();
    const QString name = dir.filePath("options.dat");
    const QDeadlineTimer deadline(3000);
    while (!stop && !deadline.hasExpired()) {
        callStarted = QDateTime::currentMSecsSinceEpoch();
        loadOptionFile(name);
        callStarted = 0;
    }
    stop = true;
    swapper->wait();
    watchdog->wait();
    delete swapper;
    delete watchdog;
    QVERIFY2(!blocked, "loading blocked on a FIFO swapped in after the check");
}

QTEST_GUILESS_MAIN(TestOptionFileOpen)
#include "tst_optionfileopen.moc"
