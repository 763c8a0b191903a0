#include "platform/run/toolprocess.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace ferncastle;

namespace {

constexpr int waitMs = 15000;

// A real process: the stand-in is a shell script written for the test.
class Run
{
public:
    explicit Run(const QByteArray &script)
    {
        m_path = m_dir.filePath(QStringLiteral("standin"));
        QFile file(m_path);
        if (file.open(QIODevice::WriteOnly))
            file.write("#!/bin/sh\n" + script);
        file.close();
        QFile::setPermissions(m_path, QFile::permissions(m_path) | QFile::ExeOwner);
        QObject::connect(&process, &ToolProcess::outputRead, &process,
                         [this](OutputStream stream, const QByteArray &bytes) {
                             (stream == OutputStream::Stdout ? out : err) += bytes;
                         });
        QObject::connect(&process, &ToolProcess::stopStepTaken, &process,
                         [this](ToolProcess::StopStep step) { steps.append(step); });
        QObject::connect(&process, &ToolProcess::outlivedBy, &process,
                         [this](const QList<qint64> &ids) { outlivedBy = ids; });
        QObject::connect(&process, &ToolProcess::ended, &process,
                         [this](const RunEnd &how) { end = how; ended = true; });
    }

    void start() { process.start(m_path, {}); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    bool waitForEnd() { return QTest::qWaitFor([this] { return ended; }, waitMs); }
    bool waitForOutput(const QByteArray &text)
    {
        return QTest::qWaitFor([&] { return out.contains(text); }, waitMs);
    }

    ToolProcess process;
    QByteArray out;
    QByteArray err;
    QList<ToolProcess::StopStep> steps;
    QList<qint64> outlivedBy;
    RunEnd end;
    bool ended = false;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

// Alive and not a zombie waiting to be reaped.
bool running(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

QList<qint64> pidsIn(const QString &file)
{
    QFile list(file);
    QList<qint64> pids;
    if (list.open(QIODevice::ReadOnly))
        for (const QByteArray &line : list.readAll().split('\n'))
            if (!line.isEmpty())
                pids.append(line.toLongLong());
    return pids;
}

} // namespace

class TestToolProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void streamsArriveApart();
    void endIsReported_data();
    void endIsReported();
    void stdinStaysOpenUntilTheUserTypes();
    void stopGoesOnUntilTheToolIsGone_data();
    void stopGoesOnUntilTheToolIsGone();
    void missingProgramSaysWhy();
    void stopReachesEveryProcessOfTheTool_data();
    void stopReachesEveryProcessOfTheTool();
    void runEndsOnlyWhenItsProcessesHaveEnded_data();
    void runEndsOnlyWhenItsProcessesHaveEnded();
};

void TestToolProcess::streamsArriveApart()
{
    Run run("echo out1; echo err1 >&2; echo out2\n");
    run.start();
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.out, QByteArray("out1\nout2\n"));
    QCOMPARE(run.err, QByteArray("err1\n"));
}

void TestToolProcess::endIsReported_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<int>("how");
    QTest::addColumn<int>("code");

    QTest::newRow("status 0") << QByteArray("exit 0\n") << int(RunEnd::How::Exited) << 0;
    QTest::newRow("status 3") << QByteArray("exit 3\n") << int(RunEnd::How::Exited) << 3;
    QTest::newRow("status 130 is not a signal")
        << QByteArray("exit 130\n") << int(RunEnd::How::Exited) << 130;
    QTest::newRow("segmentation fault")
        << QByteArray("kill -SEGV $$\n") << int(RunEnd::How::Signalled) << 11;
    QTest::newRow("killed") << QByteArray("kill -KILL $$\n") << int(RunEnd::How::Signalled) << 9;
}

void TestToolProcess::endIsReported()
{
    QFETCH(QByteArray, script);
    QFETCH(int, how);
    QFETCH(int, code);
    Run run(script);
    run.start();
    QVERIFY(run.waitForEnd());
    QCOMPARE(int(run.end.how), how);
    QCOMPARE(run.end.code, code);
    QVERIFY(!run.end.stoppedByUser);
}

// A tool asking a question sees an open, empty stdin: it waits instead of
// reading end-of-file, and gets what the user typed.
void TestToolProcess::stdinStaysOpenUntilTheUserTypes()
{
    Run run("echo ask; if read answer; then echo \"got:$answer\"; else echo eof; fi\n");
    run.start();
    QVERIFY(run.waitForOutput("ask\n"));
    QTest::qWait(300);
    QVERIFY(run.process.isRunning());
    QVERIFY(!run.out.contains("eof"));
    run.process.sendLine(QStringLiteral("q y"));
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.out, QByteArray("ask\ngot:q y\n"));
}

void TestToolProcess::stopGoesOnUntilTheToolIsGone_data()
{
    using Step = ToolProcess::StopStep;
    QTest::addColumn<QByteArray>("traps");
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<int>("signal");

    QTest::newRow("ends on SIGINT") << QByteArray() << QList<Step>{Step::Interrupt} << 2;
    QTest::newRow("ignores SIGINT")
        << QByteArray("trap '' INT\n") << QList<Step>{Step::Interrupt, Step::Terminate} << 15;
    QTest::newRow("ignores SIGINT and SIGTERM")
        << QByteArray("trap '' INT TERM\n")
        << QList<Step>{Step::Interrupt, Step::Terminate, Step::Kill} << 9;
}

void TestToolProcess::stopGoesOnUntilTheToolIsGone()
{
    QFETCH(QByteArray, traps);
    QFETCH(QList<ToolProcess::StopStep>, steps);
    QFETCH(int, signal);
    // The loop is the shell's own, so a signal reaches it at once.
    Run run(traps + "echo ready\nwhile :; do :; done\n");
    run.process.setStopStepInterval(400);
    run.start();
    QVERIFY(run.waitForOutput("ready"));
    run.process.stop();
    QVERIFY(run.waitForEnd());
    QCOMPARE(run.steps, steps);
    QCOMPARE(int(run.end.how), int(RunEnd::How::Signalled));
    QCOMPARE(run.end.code, signal);
    QVERIFY(run.end.stoppedByUser);
}

void TestToolProcess::missingProgramSaysWhy()
{
    ToolProcess process;
    RunEnd end;
    bool ended = false;
    connect(&process, &ToolProcess::ended, this, [&](const RunEnd &how) { end = how; ended = true; });
    process.start(QStringLiteral("/nonexistent/cw2dmk"), {});
    QVERIFY(QTest::qWaitFor([&] { return ended; }, waitMs));
    QCOMPARE(int(end.how), int(RunEnd::How::NotStarted));
    QVERIFY2(end.startError.startsWith(QStringLiteral("Could not start /nonexistent/cw2dmk: ")),
             qPrintable(end.startError));
}

// Each script notes the ids of the processes it leaves in "pids", then
// says "ready".
void TestToolProcess::stopReachesEveryProcessOfTheTool_data()
{
    using Step = ToolProcess::StopStep;
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QList<Step>>("steps");

    QTest::newRow("wrapper around the real tool")
        << QByteArray("sh -c 'echo $$ >> \"$0\"; echo ready; exec sleep 600' \"$d/pids\"\n")
        << QList<Step>{Step::Interrupt};
    // A non-interactive shell's background jobs ignore SIGINT.
    QTest::newRow("background child, wrapper waits")
        << QByteArray("sh -c 'echo $$ >> \"$0\"; exec sleep 600' \"$d/pids\" &\n"
                      "sleep 0.2; echo ready; wait\n")
        << QList<Step>{Step::Interrupt, Step::Terminate};
    QTest::newRow("grandchild ignoring SIGINT and SIGTERM")
        << QByteArray("( sh -c 'trap \"\" INT TERM; echo $$ >> \"$0\"; while :; do :; done' "
                      "\"$d/pids\" & )\nsleep 0.2; echo ready; while :; do :; done\n")
        << QList<Step>{Step::Interrupt, Step::Kill};
}

void TestToolProcess::stopReachesEveryProcessOfTheTool()
{
    QFETCH(QByteArray, script);
    QFETCH(QList<ToolProcess::StopStep>, steps);
    Run run("d=$(dirname \"$0\")\n" + script);
    run.process.setStopStepInterval(400);
    run.start();
    QVERIFY(run.waitForOutput("ready"));
    const QList<qint64> left = pidsIn(run.path(QStringLiteral("pids")));
    QVERIFY(!left.isEmpty());
    run.process.stop();
    QVERIFY(run.waitForEnd());
    QVERIFY(run.end.stoppedByUser);
    QCOMPARE(run.steps.first(), steps.first());
    QCOMPARE(run.steps.last(), steps.last());
    QVERIFY(run.end.stillRunning.isEmpty());
    for (const qint64 pid : left)
        QVERIFY2(!running(pid), qPrintable(QStringLiteral("process %1 outlived the stop").arg(pid)));
}

void TestToolProcess::runEndsOnlyWhenItsProcessesHaveEnded_data()
{
    QTest::addColumn<QByteArray>("script");

    QTest::newRow("background child")
        << QByteArray("sh -c 'sleep 0.6; echo late > \"$0\"' \"$d/written\" &\nexit 0\n");
    QTest::newRow("orphaned grandchild")
        << QByteArray("( sh -c 'sleep 0.6; echo late > \"$0\"' \"$d/written\" & )\nexit 0\n");
    QTest::newRow("child with its output closed")
        << QByteArray("sh -c 'exec >/dev/null 2>&1; sleep 0.6; echo late > \"$0\"' "
                      "\"$d/written\" &\nexit 3\n");
}

// A tool that leaves a child behind has not finished writing: the run
// ends after the child, so what is read back is what the child wrote.
void TestToolProcess::runEndsOnlyWhenItsProcessesHaveEnded()
{
    QFETCH(QByteArray, script);
    Run run("d=$(dirname \"$0\")\n" + script);
    run.start();
    QVERIFY(run.waitForEnd());
    QVERIFY(QFile::exists(run.path(QStringLiteral("written"))));
    QVERIFY(!run.outlivedBy.isEmpty());
    QVERIFY(!run.end.stoppedByUser);
    QCOMPARE(int(run.end.how), int(RunEnd::How::Exited));
}

QTEST_GUILESS_MAIN(TestToolProcess)
#include "tst_toolprocess.moc"
