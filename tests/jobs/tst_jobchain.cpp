#include "jobs/jobchain.h"
#include "jobs/tooljob.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr int waitMs = 30000;

// A harmless real command stands in for a tool: it notes its name in a
// record file and ends with the status asked for, or sleeps until stopped.
struct Scene {
    QTemporaryDir dir;
    QString record() const { return dir.filePath(QStringLiteral("record")); }

    std::unique_ptr<JobStep> run(const QString &name, const QString &ending) const
    {
        ToolCommand command;
        command.tool = QStringLiteral("cw2dmk");
        command.program = QStringLiteral("/bin/sh");
        command.chosenFile = dir.filePath(name + QStringLiteral(".dmk"));
        command.arguments = {QStringLiteral("-c"),
                             QStringLiteral("echo %1 >> \"$0\"; %2").arg(name, ending), record()};
        command.commandLine = name;
        auto step = std::make_unique<RunStep>(command);
        step->toolJob()->process().setStopStepInterval(300);
        return step;
    }

    QString ran() const
    {
        QFile file(record());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).simplified()
                                              : QString();
    }
};

// "run:NAME:ENDING", "ask:yes", "ask:no" or "work:good" / "work:warning".
std::unique_ptr<JobStep> stepFor(const Scene &scene, const QString &step)
{
    const QStringList part = step.split(u':');
    if (part[0] == u"run")
        return scene.run(part[1], part[2]);
    if (part[0] == u"ask")
        return std::make_unique<QuestionStep>(QStringLiteral("Put the next disk in."));
    const VerdictKind kind = part[1] == u"good" ? VerdictKind::Good : VerdictKind::Warning;
    return std::make_unique<WorkStep>([kind] { return RunVerdict{kind, QStringLiteral("compared"), {}}; });
}

} // namespace

class TestJobChain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepsRunInTurn_data();
    void stepsRunInTurn();
    void stopEndsTheChainDuringARun();
    void stepsAddedWhileRunningAreRun();
};

void TestJobChain::stepsRunInTurn_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("ran");
    QTest::addColumn<int>("verdicts");
    QTest::addColumn<VerdictKind>("kind");

    QTest::newRow("two runs") << QStringList{"run:a:exit 0", "run:b:exit 0"} << QList<bool>{}
                              << "a b" << 2 << VerdictKind::Warning;
    QTest::newRow("a failed run starts nothing more")
        << QStringList{"run:a:exit 3", "run:b:exit 0"} << QList<bool>{} << "a" << 1
        << VerdictKind::Failure;
    QTest::newRow("a crash ends it too")
        << QStringList{"run:a:kill -SEGV $$", "work:good"} << QList<bool>{} << "a" << 1
        << VerdictKind::Crashed;
    QTest::newRow("run, then compare") << QStringList{"run:a:exit 0", "work:good"}
                                       << QList<bool>{} << "a" << 2 << VerdictKind::Good;
    QTest::newRow("carry on after the question")
        << QStringList{"run:a:exit 0", "ask", "run:b:exit 0"} << QList<bool>{true} << "a b" << 3
        << VerdictKind::Warning;
    QTest::newRow("stop at the question")
        << QStringList{"run:a:exit 0", "ask", "run:b:exit 0"} << QList<bool>{false} << "a" << 2
        << VerdictKind::Stopped;
}

void TestJobChain::stepsRunInTurn()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, ran);
    QFETCH(int, verdicts);
    QFETCH(VerdictKind, kind);

    Scene scene;
    JobChain chain;
    for (const QString &step : steps)
        chain.append(stepFor(scene, step));
    QStringList asked;
    connect(&chain, &JobChain::questionAsked, &chain, [&](const QString &text) {
        asked.append(text);
        chain.answer(answers.value(asked.size() - 1));
    });
    QSignalSpy ended(&chain, &JobChain::ended);
    chain.start();
    QVERIFY(QTest::qWaitFor([&] { return chain.hasEnded(); }, waitMs));
    QCOMPARE(ended.size(), 1);
    QCOMPARE(scene.ran(), ran);
    QCOMPARE(chain.verdicts().size(), verdicts);
    QCOMPARE(chain.verdict().kind, kind);
    QCOMPARE(asked.size(), answers.size());
}

void TestJobChain::stopEndsTheChainDuringARun()
{
    Scene scene;
    JobChain chain;
    chain.append(scene.run(QStringLiteral("a"), QStringLiteral("exec sleep 30")));
    chain.append(scene.run(QStringLiteral("b"), QStringLiteral("exit 0")));
    chain.setConclusion([](const QList<RunVerdict> &verdicts) {
        return RunVerdict{verdicts.constLast().kind, QStringLiteral("one sentence"), {}};
    });
    chain.start();
    QVERIFY(QTest::qWaitFor([&] { return scene.ran() == u"a"; }, waitMs));
    chain.stop();
    QVERIFY(QTest::qWaitFor([&] { return chain.hasEnded(); }, waitMs));
    QCOMPARE(scene.ran(), QStringLiteral("a"));
    QCOMPARE(chain.verdict().kind, VerdictKind::Stopped);
    QCOMPARE(chain.verdict().sentence, QStringLiteral("one sentence"));
    QVERIFY(!chain.step(1)->toolJob()->hasEnded());
}

// The next disk of a batch is added when the last read has ended.
void TestJobChain::stepsAddedWhileRunningAreRun()
{
    Scene scene;
    JobChain chain;
    chain.append(scene.run(QStringLiteral("a"), QStringLiteral("exit 0")));
    connect(&chain, &JobChain::stepEnded, &chain, [&](int index) {
        if (index == 0)
            chain.append(scene.run(QStringLiteral("b"), QStringLiteral("exit 0")));
    });
    chain.start();
    QVERIFY(QTest::qWaitFor([&] { return chain.hasEnded(); }, waitMs));
    QCOMPARE(scene.ran(), QStringLiteral("a b"));
}

QTEST_GUILESS_MAIN(TestJobChain)
#include "tst_jobchain.moc"
