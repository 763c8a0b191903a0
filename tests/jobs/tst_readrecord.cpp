#include "core/dos/dosdirectory.h"
#include "core/dosdisks.h"
#include "core/image/imagereader.h"
#include "jobs/readrecord.h"
#include "jobs/tooljob.h"
#include "support/samplerun.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr int waitMs = 30000;

QByteArray ldosDisk()
{
    return test::readWhole(QStringLiteral(FIXTURES_DIR "/dos/ld1-531.dsk"));
}

// The LDOS disk with a data CRC error in the first sector of TED/CMD.
QByteArray ldosWithDamagedFile()
{
    const QByteArray bytes = ldosDisk();
    const SectorSource source(readDiskImage(bytes), bytes);
    const DosDirectory directory = readDosDirectory(source);
    dosdisks::Disk disk = dosdisks::copyOf(source);
    for (const DosFile &file : directory.files) {
        if (file.dosName() == u"TED/CMD") {
            const SectorAddress at = file.sectors.constFirst();
            disk.at(at.cylinder, at.side, at.id).badCrc = true;
        }
    }
    return dosdisks::toDmk(disk);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class TestReadRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void catalogRowNamesTheDisk_data();
    void catalogRowNamesTheDisk();
};

void TestReadRecord::initTestCase()
{
    if (test::toolOutputDir().isEmpty())
        QSKIP("the captured tool runs (shared/tool-output) are not there");
}

void TestReadRecord::catalogRowNamesTheDisk_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QStringList>("fields"); // DOS, disk name, files, damaged files

    QTest::newRow("LDOS system disk") << ldosDisk()
                                      << QStringList{"LDOS 5.3", "LDOS531", "14", "0"};
    QTest::newRow("a file with a bad sector")
        << ldosWithDamagedFile() << QStringList{"LDOS 5.3", "LDOS531", "14", "1"};
    QTest::newRow("no DOS on the disk")
        << test::readUnpacked(QDir(test::toolOutputDir())
                                  .filePath(QStringLiteral("cw2dmk-replay-clean/produced/out.dmk.gz")))
        << QStringList{"", "", "", ""};
}

// A read through the job: the stand-in replays a clean read and writes the
// image; the catalog row is made from that image, as the run window does.
void TestReadRecord::catalogRowNamesTheDisk()
{
    QFETCH(QByteArray, image);
    QFETCH(QStringList, fields);
    QTemporaryDir dir;
    const QString written = dir.filePath(QStringLiteral("written"));
    QVERIFY(writeFile(written, image));
    ToolCommand command;
    command.tool = QStringLiteral("cw2dmk");
    command.action = ToolActionId::DiskToImage;
    command.program = QStringLiteral(FIXTURES_DIR "/run/replay-tool");
    command.chosenFile = dir.filePath(QStringLiteral("disk001.dmk"));
    command.writtenFiles = {command.chosenFile};
    command.arguments = {command.chosenFile};
    qputenv("FERNCASTLE_REPLAY",
            QFile::encodeName(QDir(test::toolOutputDir()).filePath(QStringLiteral("cw2dmk-replay-clean"))));
    qputenv("FERNCASTLE_REPLAY_SPEED", "50");
    qputenv("FERNCASTLE_REPLAY_IMAGE", QFile::encodeName(written));
    qunsetenv("FERNCASTLE_REPLAY_OUTPUT");

    ToolJob job(command);
    job.start();
    QVERIFY(QTest::qWaitFor([&] { return job.hasEnded(); }, waitMs));
    QCOMPARE(recordInCatalog(job, QDateTime::currentDateTime()), QString());
    const QList<QByteArray> rows = test::readWhole(dir.filePath(QStringLiteral("catalog.csv")))
                                       .split('\n');
    QCOMPARE(rows.size(), 3); // header, the row, the empty rest
    const QStringList row = QString::fromUtf8(rows.at(1).trimmed()).split(u',');
    QCOMPARE(row.mid(row.size() - 4), fields);
}

QTEST_GUILESS_MAIN(TestReadRecord)
#include "tst_readrecord.moc"
