#include "jobs/tooljob.h"
#include "support/samplerun.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr int waitMs = 30000;

// The map as the run window saw it at one progress report.
struct Seen {
    int done = 0;
    int expected = 0;
    int tracks = 0;
    int sides = 0;
};

QString sample(const QString &name)
{
    return QDir(test::toolOutputDir()).filePath(name);
}

} // namespace

class TestToolJobProgress : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void progressFollowsWhatIsKnown_data();
    void progressFollowsWhatIsKnown();
};

void TestToolJobProgress::initTestCase()
{
    if (test::toolOutputDir().isEmpty())
        QSKIP("the captured tool runs (shared/tool-output) are not there");
}

void TestToolJobProgress::progressFollowsWhatIsKnown_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QStringList>("options"); // set by the user, before the image's name
    QTest::addColumn<int>("tracksDone");
    // The cells the bar counts against from then on; 0: no percent while the
    // size is a guess (17 of 35 is 48 %, never 17 of 88 x 2).
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("endMap");

    QTest::newRow("35 tracks, size left to the tool")
        << "cw2dmk-replay-damaged-paced" << QStringList{} << 17 << 0 << "35x1";
    QTest::newRow("35 tracks, -t35 set")
        << "cw2dmk-replay-damaged-paced" << QStringList{"-t35"} << 17 << 35 << "35x1";
    QTest::newRow("35 tracks, -t 0x23 -s1 set, as strtol reads them")
        << "cw2dmk-replay-damaged-paced" << QStringList{"-t", "0x23", "-s1"} << 17 << 35 << "35x1";
    QTest::newRow("stopped on a 35-track disk, size left to the tool")
        << "cw2dmk-sigint-paced" << QStringList{} << 10 << 0 << "15x1";
}

// Each progress report of a paced replay: a guessed 88 tracks never sizes
// the map nor gives a percent; a size the user set does from the start.
void TestToolJobProgress::progressFollowsWhatIsKnown()
{
    QFETCH(QString, run);
    QFETCH(QStringList, options);
    QFETCH(int, tracksDone);
    QFETCH(int, expected);
    QFETCH(QString, endMap);
    QTemporaryDir dir;
    ToolCommand command;
    command.tool = QStringLiteral("cw2dmk");
    command.action = ToolActionId::DiskToImage;
    command.program = QStringLiteral(FIXTURES_DIR "/run/replay-tool");
    command.chosenFile = dir.filePath(QStringLiteral("disk.dmk"));
    command.arguments = options + QStringList{command.chosenFile};
    qputenv("FERNCASTLE_REPLAY", QFile::encodeName(sample(run)));
    qputenv("FERNCASTLE_REPLAY_SPEED", "20");
    qunsetenv("FERNCASTLE_REPLAY_IMAGE");

    ToolJob job(command);
    QList<Seen> seen;
    connect(&job, &ToolJob::progressed, this, [&] {
        const DiskMap &map = job.analysis().map();
        seen.append({map.cellsDone(), map.cellsExpected(), map.tracks(), map.sides()});
    });
    job.start();
    if (run.contains(QLatin1String("sigint"))) {
        QVERIFY(QTest::qWaitFor([&] { return job.analysis().map().cellsDone() >= 14; }, waitMs));
        job.stop();
    }
    QVERIFY(QTest::qWaitFor([&] { return job.hasEnded(); }, waitMs));

    bool sawThatFar = false;
    for (const Seen &report : seen) {
        // While the size is a guess, no column for a track the tool has
        // not reached.
        if (report.expected == 0)
            QVERIFY2(report.tracks <= report.done / std::max(report.sides, 1) + 1,
                     qPrintable(QStringLiteral("%1 tracks after %2 done").arg(report.tracks).arg(report.done)));
        if (report.done < tracksDone)
            continue;
        sawThatFar = true;
        QCOMPARE(report.expected, expected);
    }
    QVERIFY(sawThatFar);
    const DiskMap &map = job.analysis().map();
    QCOMPARE(QStringLiteral("%1x%2").arg(map.tracks()).arg(map.sides()), endMap);
}

QTEST_GUILESS_MAIN(TestToolJobProgress)
#include "tst_tooljobprogress.moc"
