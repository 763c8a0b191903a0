#include "core/dosdisks.h"
#include "core/imagewriter.h"
#include "core/dos/dosdirectory.h"
#include "core/image/imagereader.h"
#include "core/run/imagefindings.h"
#include "jobs/tooljob.h"
#include "support/samplerun.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;
namespace iw = imagewriter;

namespace {

constexpr int waitMs = 30000;

using Cells = QList<std::pair<int, int>>; // track, side

QString sample(const QString &name)
{
    return QDir(test::toolOutputDir()).filePath(name);
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What dmk2jv3 makes of sides40.dmk: side 1 takes the four stale pointers
// that land on real ID marks as four more sectors on every track.
QByteArray sides40WithDuplicates()
{
    QList<iw::Jv3Entry> entries;
    for (int track = 0; track < 40; ++track) {
        for (int id = 0; id < 18; ++id)
            entries.append({quint8(track), quint8(id), 0x80});
        for (int id : {1, 2, 3, 4, 5, 6, 7, 8, 9, 6, 7, 8, 9})
            entries.append({quint8(track), quint8(id), 0x80 | 0x10 | 0x03});
    }
    return iw::jv3(entries);
}

// The restarted read in replay: track 0 holds nothing, 39 tracks of 18.
QByteArray restartedRead()
{
    const iw::TrackPlan plan = [](int track, int side) {
        return track == 0 ? QList<iw::Sector>{} : iw::uniform(18, true)(track, side);
    };
    return iw::dmk(40, 1, 0x1900, plan);
}

QByteArray ldosDmk(bool damaged)
{
    const QByteArray jv1 = test::readWhole(QStringLiteral(FIXTURES_DIR "/dos/ld1-531.dsk"));
    const SectorSource source(readDiskImage(jv1), jv1);
    dosdisks::Disk disk = dosdisks::copyOf(source);
    // The last sector of TED/CMD, the last file on the disk.
    const SectorAddress at = readDosDirectory(source).files.constLast().sectors.constLast();
    disk.at(at.cylinder, at.side, at.id).badCrc = damaged;
    return dosdisks::toDmk(disk);
}

} // namespace

class TestToolJobVerdicts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void capturedRunsGetTheirVerdict_data();
    void capturedRunsGetTheirVerdict();
    void imageToDiskAsksAboutFaults_data();
    void imageToDiskAsksAboutFaults();

private:
    QString m_samples;
};

void TestToolJobVerdicts::initTestCase()
{
    m_samples = test::toolOutputDir();
    if (m_samples.isEmpty())
        QSKIP("the captured tool runs (shared/tool-output) are not there");
}

void TestToolJobVerdicts::capturedRunsGetTheirVerdict_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("input");  // copied in as the chosen file; "" for a read
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<VerdictKind>("kind");
    QTest::addColumn<QStringList>("said");
    // Cells the run window must not show as read: the image holds nothing there.
    QTest::addColumn<Cells>("notInImage");

    QTest::newRow("DMK to JV over stale pointers")
        << "dmk2jv3-stale-idam-v2" << "files/sides40.dmk.gz" << sides40WithDuplicates()
        << VerdictKind::Warning
        << QStringList{"Read back, sides40.dsk holds 1240 sectors",
                       "160 duplicate sectors on tracks 0-39 side 1.",
                       "Against sides40.dmk, its input, 160 sectors gained on tracks 0-39 side 1."}
        << Cells{};
    QTest::newRow("restarted read counts more than it wrote")
        << "cw2dmk-replay-restart-single-sided" << "" << restartedRead() << VerdictKind::Warning
        << QStringList{"cw2dmk counted 711 good sectors, but image.dmk holds 702.",
                       "No sectors at all on track 0 side 0, inside the disk."}
        << Cells{{0, 0}};
    QTest::newRow("a clean conversion at default verbosity")
        << "jv2dmk-jv3" << "files/dd40.dsk" << test::readWhole(sample("files/dd40.dmk"))
        << VerdictKind::Good
        << QStringList{"jv2dmk ended normally and reports nothing at this verbosity. Read back, "
                       "dd40.dmk holds 720 sectors, every CRC good."}
        << Cells{};
    QTest::newRow("CRC errors the input already had")
        << "dmk2jv3-badcrc" << "files/dd40-badcrc.dmk"
        << test::readUnpacked(sample("dmk2jv3-badcrc/produced/out.dsk.gz")) << VerdictKind::Warning
        << QStringList{"has 2 sectors whose CRC fails",
                       "They were already bad in dd40-badcrc.dmk, the input: the conversion did "
                       "not cause them."}
        << Cells{};
    // The clean read is of a 35-track single-density disk, as the LDOS disk is.
    QTest::newRow("a read of a disk with a directory")
        << "cw2dmk-replay-clean" << "" << ldosDmk(false) << VerdictKind::Good
        << QStringList{"Read back, image.dmk holds 350 sectors, every CRC good. LDOS 5.3 disk "
                       "LDOS531: 14 files, all intact."}
        << Cells{};
    QTest::newRow("a read where a bad sector falls in a file")
        << "cw2dmk-replay-clean" << "" << ldosDmk(true) << VerdictKind::Warning
        << QStringList{"LDOS 5.3 disk LDOS531: 14 files; damaged: TED/CMD."}
        << Cells{};
    QTest::newRow("8-inch image without the kind that holds it")
        << "jv2dmk-too-long-track" << "files/ibm77.dsk.gz"
        << QByteArray::fromHex("004d001910000000000000000000000000") .left(16)
        << VerdictKind::Failure
        << QStringList{"jv2dmk failed (exit status 1): Physical track 0 too long by 2216 bytes. "
                       "ibm77.dsk holds 77 tracks too long for a 5.25-inch disk, the media jv2dmk "
                       "assumes; add -k3 (5.25-inch HD or 8-inch SD/DD disk) to the optional "
                       "parameters.",
                       "The run left only an incomplete stub in"}
        << Cells{};
}

void TestToolJobVerdicts::capturedRunsGetTheirVerdict()
{
    QFETCH(QString, run);
    QFETCH(QString, input);
    QFETCH(QByteArray, written);
    QFETCH(VerdictKind, kind);
    QFETCH(QStringList, said);
    QFETCH(Cells, notInImage);
    QTemporaryDir dir;
    ToolCommand command;
    command.tool = test::SampleRun::load(sample(run)).tool();
    command.action = toolNamed(command.tool)->id;
    command.program = QStringLiteral(FIXTURES_DIR "/run/replay-tool");
    if (input.isEmpty()) {
        command.chosenFile = dir.filePath(QStringLiteral("image.dmk"));
        command.writtenFiles = {command.chosenFile};
    } else {
        command.chosenFile = dir.filePath(QFileInfo(input).fileName().remove(QStringLiteral(".gz")));
        QVERIFY(writeFile(command.chosenFile, test::readUnpacked(sample(input))));
        command.writtenFiles = toolNamed(command.tool)->writtenFiles(command.chosenFile);
    }
    command.arguments = {command.chosenFile};
    const QString image = dir.filePath(QStringLiteral("written"));
    QVERIFY(writeFile(image, written));
    qputenv("FERNCASTLE_REPLAY", QFile::encodeName(sample(run)));
    qputenv("FERNCASTLE_REPLAY_SPEED", "50");
    qputenv("FERNCASTLE_REPLAY_IMAGE", QFile::encodeName(image));
    qputenv("FERNCASTLE_REPLAY_OUTPUT", QFile::encodeName(command.writtenFiles.first()));

    ToolJob job(command);
    QSignalSpy ended(&job, &ToolJob::ended);
    job.start();
    QVERIFY(ended.wait(waitMs));
    const JobOutcome &outcome = job.outcome();
    QCOMPARE(outcome.verdict.kind, kind);
    const QString everything = outcome.verdict.sentence + u' ' + outcome.incompleteSentence();
    for (const QString &part : said)
        QVERIFY2(everything.contains(part), qPrintable(everything));
    QCOMPARE(job.analysis().map().cellsIn(RunTrackState::NotInImage), notInImage);
    // A script reads the kind from the transcript's last line.
    const QStringList lines = QString::fromUtf8(test::readWhole(job.transcript().fileName()))
                                  .split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.last(), QStringLiteral("Verdict: ") + verdictKindWord(kind)
                               + QLatin1String(". ") + outcome.verdict.sentence);
}

void TestToolJobVerdicts::imageToDiskAsksAboutFaults_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("listed"); // "" when no question is due

    QTest::newRow("interrupted read")
        << "cw2dmk-sigint/produced/out.dmk.gz" << "The header claims 88 tracks";
    QTest::newRow("bad sectors") << "cw2dmk-replay-damaged/produced/out.dmk.gz"
                                 << "3 bad sectors on track 5 side 0, track 20 side 0.";
    QTest::newRow("duplicate sectors from stale pointers")
        << "files/sides40.dmk.gz" << "stale or repeated IDAM pointers on tracks 0-39 side 1";
    QTest::newRow("clean image") << "files/dd40.dmk" << "";
}

void TestToolJobVerdicts::imageToDiskAsksAboutFaults()
{
    QFETCH(QString, image);
    QFETCH(QString, listed);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("disk.dmk"));
    QVERIFY(writeFile(path, test::readUnpacked(sample(image))));
    const QString question = imageToDiskQuestion(path);
    QCOMPARE(question.isEmpty(), listed.isEmpty());
    QVERIFY2(question.contains(listed), qPrintable(question));
}

QTEST_GUILESS_MAIN(TestToolJobVerdicts)
#include "tst_tooljobverdicts.moc"
