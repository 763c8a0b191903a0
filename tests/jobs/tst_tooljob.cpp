#include "jobs/tooljob.h"
#include "support/samplerun.h"
#include "support/standincommand.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr int waitMs = 30000;

// One job over a stand-in tool writing into a temporary folder, with what
// it said and the stop steps it reported.
struct JobRun {
    QTemporaryDir dir;
    std::unique_ptr<ToolJob> job;
    QStringList lines;
    QStringList stopSteps;
    int progressReports = 0;

    ToolCommand command(const QString &standIn, const QString &tool, const QString &image) const
    {
        return test::standInCommand(QDir(dir.path()), standIn, tool, image);
    }

    ToolJob &start(const ToolCommand &command)
    {
        job = std::make_unique<ToolJob>(command);
        job->process().setStopStepInterval(300);
        QObject::connect(job.get(), &ToolJob::linesArrived, job.get(),
                         [this](const QList<ShownLine> &shown) {
                             for (const ShownLine &line : shown)
                                 lines.append(line.text);
                         });
        QObject::connect(job.get(), &ToolJob::progressed, job.get(), [this] { ++progressReports; });
        QObject::connect(job.get(), &ToolJob::noted, job.get(),
                         [this](const QString &text) { stopSteps.append(text); });
        job->start();
        return *job;
    }

    bool said(const QString &text) const
    {
        return lines.join(u'\n').contains(text) || job->analysis().openLine(OutputStream::Stdout).contains(text);
    }
    bool waitFor(const QString &text) const
    {
        return QTest::qWaitFor([&] { return said(text); }, waitMs);
    }
    bool waitForEnd() const
    {
        return QTest::qWaitFor([this] { return job->hasEnded(); }, waitMs);
    }
    QString verdict() const { return job->outcome().verdict.sentence; }
    QString transcript() const
    {
        return QString::fromUtf8(test::readWhole(job->transcript().fileName()));
    }
};

QString samplePath(const char *name)
{
    return QDir(test::toolOutputDir()).filePath(QLatin1String(name));
}

} // namespace

// Points the replaying stand-in at a captured run; a test that needs one
// is skipped where the captures are not there.
#define REPLAY(name)                                                                       \
    do {                                                                                   \
        if (test::toolOutputDir().isEmpty())                                               \
            QSKIP("the captured tool runs (shared/tool-output) are not there");            \
        qputenv("FERNCASTLE_REPLAY", QFile::encodeName(samplePath(name)));                     \
        qputenv("FERNCASTLE_REPLAY_SPEED", "10");                                          \
    } while (false)

class TestToolJob : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void endingsReachTheVerdict_data();
    void endingsReachTheVerdict();
    void stopStepsAreTaken_data();
    void stopStepsAreTaken();
    void stoppedReadSaysTheImageIsIncomplete();
    void failureLeavesAnUntouchedImageAlone();
    void typedLineReachesTheTool();
    void transcriptNeverReplacesAFile();
    void writtenImageIsReadBack_data();
    void writtenImageIsReadBack();
};

void TestToolJob::cleanup()
{
    for (const char *name : {"FERNCASTLE_REPLAY", "FERNCASTLE_IGNORE", "FERNCASTLE_PARTIAL",
                             "FERNCASTLE_REPLAY_IMAGE", "FERNCASTLE_REPLAY_OUTPUT"})
        qunsetenv(name);
}

void TestToolJob::endingsReachTheVerdict_data()
{
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<bool>("cardFix");

    QTest::newRow("not root") << "cw2dmk-no-card-user" << "cw2dmk"
                              << "cw2dmk failed (exit status 1): Must be setuid to root or be run as root" << true;
    QTest::newRow("no ports") << "dmk2cw-no-card-root-no-ioports" << "dmk2cw"
                              << "dmk2cw failed (exit status 1): No access to I/O ports" << true;
    QTest::newRow("segmentation fault") << "jv2dmk-jv1-without-j1" << "jv2dmk"
                                        << "jv2dmk crashed (signal 11)." << false;
    QTest::newRow("errors behind status 0") << "dmk2jv3-crcflag-v2" << "dmk2jv3"
                                            << "0 total errors, 0 total warnings; bad sectors on track 3 side 0 (1 sector), track 21 side 0 (1 sector)." << false;
}

void TestToolJob::endingsReachTheVerdict()
{
    QFETCH(QString, sample);
    QFETCH(QString, tool);
    QFETCH(QString, verdict);
    QFETCH(bool, cardFix);
    REPLAY(qPrintable(sample));
    JobRun run;
    run.start(run.command(QStringLiteral("replay-tool"), tool, QStringLiteral("image.dmk")));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.verdict(), verdict);
    QCOMPARE(!run.job->outcome().cardFix.isEmpty(), cardFix);
    QVERIFY(run.transcript().contains(verdict));
}

void TestToolJob::stopStepsAreTaken_data()
{
    QTest::addColumn<QByteArray>("ignored");
    QTest::addColumn<QStringList>("steps");

    const QString interrupt = QStringLiteral("sent SIGINT");
    const QString terminate = QStringLiteral("sent SIGTERM");
    const QString kill = QStringLiteral("sent SIGKILL");
    QTest::newRow("stops on SIGINT") << QByteArray() << QStringList{interrupt};
    QTest::newRow("ignores SIGINT") << QByteArray("INT") << QStringList{interrupt, terminate};
    QTest::newRow("ignores SIGINT and SIGTERM")
        << QByteArray("INT TERM") << QStringList{interrupt, terminate, kill};
}

void TestToolJob::stopStepsAreTaken()
{
    QFETCH(QByteArray, ignored);
    QFETCH(QStringList, steps);
    qputenv("FERNCASTLE_IGNORE", ignored);
    JobRun run;
    run.start(run.command(QStringLiteral("stubborn-tool"), QStringLiteral("cw2dmk"), QStringLiteral("x.dmk")));
    QVERIFY(run.waitFor(QStringLiteral("Track 2,")));
    run.job->stop();
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.stopSteps.size(), steps.size());
    for (int step = 0; step < steps.size(); ++step)
        QVERIFY2(run.stopSteps.at(step).contains(steps.at(step)), qPrintable(run.stopSteps.at(step)));
    QVERIFY(run.verdict().startsWith(QStringLiteral("Stopped by you after ")));
    QVERIFY(run.transcript().contains(QStringLiteral("[ferncastle] Stopping: sent SIGINT")));
}

void TestToolJob::stoppedReadSaysTheImageIsIncomplete()
{
    qputenv("FERNCASTLE_PARTIAL", "1");
    JobRun run;
    run.start(run.command(QStringLiteral("stubborn-tool"), QStringLiteral("cw2dmk"), QStringLiteral("cut.dmk")));
    QVERIFY(run.waitFor(QStringLiteral("Track 1,")));
    QVERIFY(run.progressReports > 0);
    QCOMPARE(run.job->analysis().map().cell(0, 0).state, RunTrackState::Clean);
    run.job->stop();
    QVERIFY(run.waitForEnd());
    const QString incomplete = run.job->outcome().incompleteSentence();
    QVERIFY2(incomplete.contains(QDir::toNativeSeparators(run.dir.filePath(QStringLiteral("cut.dmk"))))
                 && incomplete.contains(QStringLiteral("incomplete")),
             qPrintable(incomplete));
    QVERIFY(run.transcript().contains(incomplete));
}

// A run that failed before writing says nothing about an image that was
// there before it.
void TestToolJob::failureLeavesAnUntouchedImageAlone()
{
    REPLAY("cw2dmk-no-card-user");
    JobRun run;
    const ToolCommand command =
        run.command(QStringLiteral("replay-tool"), QStringLiteral("cw2dmk"), QStringLiteral("old.dmk"));
    QFile old(command.chosenFile);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an earlier image") > 0);
    old.close();
    run.start(command);
    QVERIFY(run.waitForEnd());
    QVERIFY(run.verdict().startsWith(QStringLiteral("cw2dmk failed")));
    QCOMPARE(run.job->outcome().incompleteSentence(), QString());
}

void TestToolJob::typedLineReachesTheTool()
{
    JobRun run;
    run.start(run.command(QStringLiteral("echo-tool"), QStringLiteral("cw2dmk"), QStringLiteral("e.dmk")));
    QVERIFY(run.waitFor(QStringLiteral("Continue?")));
    QTest::qWait(200);
    QVERIFY(!run.job->hasEnded());
    run.job->sendLine(QStringLiteral("y"));
    QVERIFY(run.waitForEnd());
    QVERIFY(run.said(QStringLiteral("answer: y")));
    QVERIFY(run.transcript().contains(QStringLiteral("sent: y")));
}

void TestToolJob::transcriptNeverReplacesAFile()
{
    REPLAY("cw2dmk-replay-clean");
    JobRun run;
    for (const char *existing : {"out.cw2dmk.txt", "out.cw2dmk-2.txt"}) {
        QFile file(run.dir.filePath(QLatin1String(existing)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("the user's own");
    }
    run.start(run.command(QStringLiteral("replay-tool"), QStringLiteral("cw2dmk"), QStringLiteral("out.dmk")));
    QVERIFY(run.waitForEnd());
    QCOMPARE(QFileInfo(run.job->transcript().fileName()).fileName(), QStringLiteral("out.cw2dmk-3.txt"));
    QCOMPARE(test::readWhole(run.dir.filePath(QStringLiteral("out.cw2dmk.txt"))), QByteArray("the user's own"));
    QCOMPARE(test::readWhole(run.dir.filePath(QStringLiteral("out.cw2dmk-2.txt"))), QByteArray("the user's own"));
}

// dmk2jv3 counts no data CRC errors: only the image it wrote shows them.
void TestToolJob::writtenImageIsReadBack_data()
{
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("verdict");

    QTest::newRow("CRC errors dmk2jv3 did not count")
        << "dmk2jv3-badcrc/produced/out.dsk.gz"
        << "0 total errors, 0 total warnings. Read back, game.dsk has 2 sectors whose CRC fails: "
           "track 7 side 0 (1 sector), track 19 side 0 (1 sector).";
    QTest::newRow("no image written")
        << "" << "0 total errors, 0 total warnings. game.dsk was not written by this run.";
}

void TestToolJob::writtenImageIsReadBack()
{
    QFETCH(QString, image);
    QFETCH(QString, verdict);
    REPLAY("dmk2jv3-badcrc");
    JobRun run;
    ToolCommand command =
        run.command(QStringLiteral("replay-tool"), QStringLiteral("dmk2jv3"), QStringLiteral("game.dmk"));
    command.writtenFiles = {run.dir.filePath(QStringLiteral("game.dsk"))};
    if (!image.isEmpty()) {
        qputenv("FERNCASTLE_REPLAY_IMAGE", QFile::encodeName(samplePath(qPrintable(image))));
        qputenv("FERNCASTLE_REPLAY_OUTPUT", QFile::encodeName(command.writtenFiles.first()));
    }
    run.start(command);
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.verdict(), verdict);
    QCOMPARE(run.job->outcome().verdict.kind, VerdictKind::Warning);
    QVERIFY(run.transcript().endsWith(verdict + u'\n'));
}

QTEST_GUILESS_MAIN(TestToolJob)
#include "tst_tooljob.moc"
