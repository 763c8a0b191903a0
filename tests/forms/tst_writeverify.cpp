#include "core/image/sectorsource.h"
#include "fakes/scriptedprompts.h"
#include "forms/run/runwindow.h"
#include "forms/run/runwindowlauncher.h"
#include "jobs/writeverify.h"
#include "support/samplerun.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr int waitMs = 30000;
const QString replayTool = QStringLiteral(FIXTURES_DIR "/run/replay-tool");

QString capture(const char *name)
{
    return QDir(test::toolOutputDir()).filePath(QLatin1String(name));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The replaying stand-in for one tool: its capture, and the image it
// writes (or none).
struct Replay {
    QString capture;
    QString image;

    void apply() const
    {
        qputenv("FERNCASTLE_REPLAY", QFile::encodeName(capture));
        qputenv("FERNCASTLE_REPLAY_SPEED", "20");
        if (image.isEmpty())
            qunsetenv("FERNCASTLE_REPLAY_IMAGE");
        else
            qputenv("FERNCASTLE_REPLAY_IMAGE", QFile::encodeName(image));
    }
};

struct Scene {
    QTemporaryDir dir;
    test::ScriptedPrompts prompts;
    QPointer<RunWindow> window;
    QString image = dir.filePath(QStringLiteral("disk.dmk"));

    Scene()
    {
        writeFile(image, test::readUnpacked(capture("cw2dmk-replay-clean/produced/out.dmk.gz")));
        // A write that ends well and says nothing.
        QDir(dir.path()).mkdir(QStringLiteral("write-ok"));
        writeFile(dir.filePath(QStringLiteral("write-ok/status")), "0\n");
        writeFile(dir.filePath(QStringLiteral("write-ok/timing")), "[\n]\n");
        writeFile(dir.filePath(QStringLiteral("write-ok/stdout")), "");
        writeFile(dir.filePath(QStringLiteral("write-ok/stderr")), "");
    }
    ~Scene() { delete window.data(); }

    ToolCommand command(const QString &tool, const QString &file, const QStringList &options)
    {
        ToolCommand command;
        command.tool = tool;
        command.program = replayTool;
        command.chosenFile = file;
        command.arguments = options + QStringList{file};
        command.commandLine = tool + u' ' + options.join(u' ') + QStringLiteral(" \"") + file + u'"';
        if (tool == u"cw2dmk")
            command.writtenFiles = {file};
        return command;
    }

    // The write's stand-ins are set as each step starts: both are the one
    // replaying script, told apart by its environment.
    RunWindow *openWriteVerify(const Replay &write, const Replay &read)
    {
        const ToolCommand writing = command(QStringLiteral("dmk2cw"), image,
                                            {QStringLiteral("-d1"), QStringLiteral("-k2"),
                                             QStringLiteral("-v3"), QStringLiteral("-s2")});
        readBack = readBackCommand(writing, replayTool);
        auto chain = writeVerifyChain(writing, readBack);
        QObject::connect(chain.get(), &JobChain::stepStarted, chain.get(),
                         [write, read](int index) { (index == 0 ? write : read).apply(); });
        return open(std::move(chain));
    }

    RunWindow *open(std::unique_ptr<JobChain> chain)
    {
        window = new RunWindow(std::move(chain), prompts);
        window->process().setStopStepInterval(300);
        window->show();
        window->start();
        return window;
    }

    bool waitForEnd() const
    {
        return QTest::qWaitFor([this] { return window && window->hasEnded(); }, waitMs);
    }

    QString label(const char *name) const
    {
        auto *found = window->findChild<QLabel *>(QLatin1String(name));
        return found && !found->isHidden() ? found->text() : QString();
    }

    void click(const char *name) const
    {
        window->findChild<QPushButton *>(QLatin1String(name))->click();
    }

    // The clean image with one data byte changed.
    QString damagedCopy()
    {
        QByteArray bytes = test::readWhole(image);
        const SectorSource source = SectorSource::fromFile(image);
        bytes[source.image().tracks.at(5).sectors.at(2).dataOffset] ^= 0x01;
        const QString damaged = dir.filePath(QStringLiteral("damaged.img"));
        writeFile(damaged, bytes);
        return damaged;
    }

    ToolCommand readBack;
};

} // namespace

#define NEEDS_CAPTURES()                                                                   \
    do {                                                                                   \
        if (test::toolOutputDir().isEmpty())                                               \
            QSKIP("the captured tool runs (shared/tool-output) are not there");            \
    } while (false)

class TestWriteVerify : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readBackUsesTheWriteDriveAndTheImageTracks();
    void equalReadBackIsVerifiedAndRemoved();
    void unequalReadBackIsKeptAndNamed();
    void failedWriteStartsNoReadBack();
    void stopEndsTheChain_data();
    void stopEndsTheChain();
    void batchOfThreeSkipsATakenName();
    void stopAtTheNextDiskQuestion();
    void unwritableCatalogIsSaidAndTheReadStands();
    void launcherVerifiesOnlyWithAReader();
};

void TestWriteVerify::readBackUsesTheWriteDriveAndTheImageTracks()
{
    NEEDS_CAPTURES();
    Scene scene;
    writeFile(scene.dir.filePath(QStringLiteral("disk-verify.dmk")), "taken");
    const ToolCommand write = scene.command(
        QStringLiteral("dmk2cw"), scene.image,
        {QStringLiteral("-d1"), QStringLiteral("-p"), QStringLiteral("0x300"), QStringLiteral("-k2"),
         QStringLiteral("-v3"), QStringLiteral("-m1"), QStringLiteral("-s2")});
    const ToolCommand read = readBackCommand(write, QStringLiteral("/tools/cw2dmk"));
    const QString expected = scene.dir.filePath(QStringLiteral("disk-verify-2.dmk"));
    QCOMPARE(read.arguments, QStringList({"-d1", "-p", "0x300", "-k2", "-m1", "-s2", "-t35", expected}));
    QCOMPARE(read.chosenFile, expected);
    QCOMPARE(read.tool, QStringLiteral("cw2dmk"));
}

void TestWriteVerify::equalReadBackIsVerifiedAndRemoved()
{
    NEEDS_CAPTURES();
    Scene scene;
    scene.openWriteVerify({scene.dir.filePath(QStringLiteral("write-ok")), {}},
                          {capture("cw2dmk-replay-clean"), scene.image});
    QVERIFY(scene.waitForEnd());
    QVERIFY(scene.label("verdictLabel").startsWith(QStringLiteral("Verified: all ")));
    QVERIFY(scene.label("verdictLabel").endsWith(QStringLiteral(" sectors read back as written")));
    QCOMPARE(scene.window->chain().verdict().kind, VerdictKind::Good);
    QVERIFY(!QFile::exists(scene.readBack.chosenFile));
    QCOMPARE(scene.window->command().tool, QStringLiteral("cw2dmk"));
}

void TestWriteVerify::unequalReadBackIsKeptAndNamed()
{
    NEEDS_CAPTURES();
    Scene scene;
    scene.openWriteVerify({scene.dir.filePath(QStringLiteral("write-ok")), {}},
                          {capture("cw2dmk-replay-clean"), scene.damagedCopy()});
    QVERIFY(scene.waitForEnd());
    const QString verdict = scene.label("verdictLabel");
    QVERIFY2(verdict.startsWith(QStringLiteral("Not verified: 1 of ")), qPrintable(verdict));
    QVERIFY(verdict.contains(QDir::toNativeSeparators(scene.readBack.chosenFile)));
    QVERIFY(verdict.contains(QStringLiteral("Cylinder 5")));
    QVERIFY(QFile::exists(scene.readBack.chosenFile));
    QCOMPARE(scene.window->chain().verdict().kind, VerdictKind::Failure);
}

void TestWriteVerify::failedWriteStartsNoReadBack()
{
    NEEDS_CAPTURES();
    Scene scene;
    scene.openWriteVerify({capture("dmk2cw-no-card-user"), {}},
                          {capture("cw2dmk-replay-clean"), scene.image});
    QVERIFY(scene.waitForEnd());
    QVERIFY(scene.label("verdictLabel").startsWith(QStringLiteral("dmk2cw failed")));
    QCOMPARE(scene.window->chain().verdicts().size(), 1);
    QVERIFY(!QFile::exists(scene.readBack.chosenFile));
}

void TestWriteVerify::stopEndsTheChain_data()
{
    QTest::addColumn<int>("stepStopped");
    QTest::newRow("during the write") << 0;
    QTest::newRow("during the read-back") << 1;
}

void TestWriteVerify::stopEndsTheChain()
{
    QFETCH(int, stepStopped);
    NEEDS_CAPTURES();
    Scene scene;
    const Replay waits{capture("cw2dmk-sigint"), {}};
    const Replay ok{scene.dir.filePath(QStringLiteral("write-ok")), {}};
    scene.openWriteVerify(stepStopped == 0 ? waits : ok, waits);
    JobChain &chain = scene.window->chain();
    QVERIFY(QTest::qWaitFor([&] {
        ToolJob *job = chain.step(stepStopped)->toolJob();
        return job->isRunning() && job->elapsedMs() > 300;
    }, waitMs));
    scene.click("stopButton");
    QVERIFY(scene.waitForEnd());
    QCOMPARE(chain.verdict().kind, VerdictKind::Stopped);
    QCOMPARE(chain.verdicts().size(), stepStopped + 1);
    if (stepStopped == 0)
        QVERIFY(!chain.step(1)->toolJob()->hasEnded());
}

void TestWriteVerify::batchOfThreeSkipsATakenName()
{
    NEEDS_CAPTURES();
    Scene scene;
    Replay{capture("cw2dmk-replay-clean"), scene.image}.apply();
    const QString first = scene.dir.filePath(QStringLiteral("disk007.dmk"));
    auto chain = std::make_unique<JobChain>();
    chain->append(std::make_unique<RunStep>(
        scene.command(QStringLiteral("cw2dmk"), first, {QStringLiteral("-k2")})));
    scene.open(std::move(chain));
    QVERIFY(scene.waitForEnd());
    writeFile(scene.dir.filePath(QStringLiteral("disk008.dmk")), "someone else's");
    for (int disk = 0; disk < 2; ++disk) {
        scene.prompts.answerYesNo(true);
        scene.click("readNextDisk");
        QVERIFY(scene.waitForEnd());
    }
    QCOMPARE(scene.prompts.messages.size(), 2);
    QVERIFY(scene.prompts.messages.at(0).text.contains(QStringLiteral("disk009.dmk")));
    QCOMPARE(test::readWhole(scene.dir.filePath(QStringLiteral("disk008.dmk"))),
             QByteArray("someone else's"));
    QCOMPARE(test::readWhole(scene.dir.filePath(QStringLiteral("disk010.dmk"))),
             test::readWhole(scene.image));
    const QStringList lines = scene.window->batchLines();
    QCOMPARE(lines.size(), 3);
    QVERIFY(lines.at(0).startsWith(QStringLiteral("disk007.dmk: ")));
    QVERIFY(lines.at(1).startsWith(QStringLiteral("disk009.dmk: ")));
    QVERIFY(lines.at(2).startsWith(QStringLiteral("disk010.dmk: ")));
    QVERIFY(lines.at(2).endsWith(QStringLiteral(" (0 bad sectors)")));

    const QList<QByteArray> rows =
        test::readWhole(scene.dir.filePath(QStringLiteral("catalog.csv"))).split('\n');
    QCOMPARE(rows.size(), 5); // header, three rows, and the empty rest
    QVERIFY(rows.at(0).startsWith("Image file,Started,Command line,"));
    QVERIFY(rows.at(3).startsWith("disk010.dmk,"));
    const QByteArray sha = QCryptographicHash::hash(test::readWhole(scene.image),
                                                    QCryptographicHash::Sha256).toHex();
    // No DOS on the replayed disk: its four columns stay empty.
    QVERIFY(rows.at(3).trimmed().endsWith(QByteArray("," + sha + ",,,,")));
    // Read Again: the same disk beside the last one, without a question.
    scene.click("readAgain");
    QVERIFY(scene.waitForEnd());
    QCOMPARE(scene.prompts.messages.size(), 2);
    QVERIFY(QFile::exists(scene.dir.filePath(QStringLiteral("disk010-2.dmk"))));
}

void TestWriteVerify::stopAtTheNextDiskQuestion()
{
    NEEDS_CAPTURES();
    Scene scene;
    Replay{capture("cw2dmk-replay-clean"), scene.image}.apply();
    const QString first = scene.dir.filePath(QStringLiteral("box.dmk"));
    auto chain = std::make_unique<JobChain>();
    chain->append(std::make_unique<RunStep>(
        scene.command(QStringLiteral("cw2dmk"), first, {QStringLiteral("-k2")})));
    scene.open(std::move(chain));
    QVERIFY(scene.waitForEnd());
    scene.prompts.answerYesNo(false);
    scene.click("readNextDisk");
    QVERIFY(scene.waitForEnd());
    QCOMPARE(scene.label("verdictLabel"), QStringLiteral("Stopped by you."));
    QVERIFY(!QFile::exists(scene.dir.filePath(QStringLiteral("box-2.dmk"))));
    QCOMPARE(scene.window->batchLines().size(), 1);
}

// A folder named catalog.csv: no one, root included, can write it.
void TestWriteVerify::unwritableCatalogIsSaidAndTheReadStands()
{
    NEEDS_CAPTURES();
    Scene scene;
    QVERIFY(QDir(scene.dir.path()).mkdir(QStringLiteral("catalog.csv")));
    Replay{capture("cw2dmk-replay-clean"), scene.image}.apply();
    auto chain = std::make_unique<JobChain>();
    chain->append(std::make_unique<RunStep>(scene.command(
        QStringLiteral("cw2dmk"), scene.dir.filePath(QStringLiteral("a.dmk")), {QStringLiteral("-k2")})));
    scene.open(std::move(chain));
    QVERIFY(scene.waitForEnd());
    QVERIFY(scene.label("catalogStatus").contains(QStringLiteral("could not be written")));
    QVERIFY(!scene.label("verdictLabel").isEmpty());
    QCOMPARE(test::readWhole(scene.dir.filePath(QStringLiteral("a.dmk"))), test::readWhole(scene.image));
}

// No write is started that cannot be verified: without cw2dmk beside
// dmk2cw the launcher refuses and opens no window.
void TestWriteVerify::launcherVerifiesOnlyWithAReader()
{
    NEEDS_CAPTURES();
    Scene scene;
    const QString tools = scene.dir.filePath(QStringLiteral("tools"));
    QDir(scene.dir.path()).mkdir(QStringLiteral("tools"));
    QVERIFY(QFile::copy(replayTool, tools + QStringLiteral("/dmk2cw")));
    Replay{scene.dir.filePath(QStringLiteral("write-ok")), {}}.apply();
    ToolCommand write = scene.command(QStringLiteral("dmk2cw"), scene.image, {QStringLiteral("-d0")});
    write.program = tools + QStringLiteral("/dmk2cw");
    RunWindowLauncher launcher(scene.prompts);
    launcher.setVerifyAfterWriting([] { return true; });
    QVERIFY(launcher.start(write).contains(QStringLiteral("could not be verified")));
    QVERIFY(!launcher.lastWindow());

    QVERIFY(QFile::copy(replayTool, tools + QStringLiteral("/cw2dmk")));
    QCOMPARE(launcher.start(write), QString());
    scene.window = launcher.lastWindow();
    QCOMPARE(scene.window->chain().stepCount(), 3);
    QVERIFY(scene.waitForEnd());
}

QTEST_MAIN(TestWriteVerify)
#include "tst_writeverify.moc"
