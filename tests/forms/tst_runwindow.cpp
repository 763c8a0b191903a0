#include "fakes/scriptedprompts.h"
#include "forms/grid/gridpalette.h"
#include "forms/grid/trackgrid.h"
#include "forms/run/outputview.h"
#include "forms/run/runwindow.h"
#include "forms/run/runwindowlauncher.h"
#include "support/samplerun.h"
#include "support/standincommand.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QScrollBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr int waitMs = 30000;
const QString fixtures = QStringLiteral(FIXTURES_DIR "/run/");

// A run window over a stand-in tool writing into a temporary folder.
struct WindowRun {
    QTemporaryDir dir;
    test::ScriptedPrompts prompts;
    QPointer<RunWindow> window;

    ToolCommand command(const QString &standIn, const QString &tool, const QString &image) const
    {
        return test::standInCommand(QDir(dir.path()), standIn, tool, image);
    }

    RunWindow *open(const ToolCommand &command)
    {
        window = new RunWindow(command, prompts);
        window->process().setStopStepInterval(300);
        window->show();
        window->start();
        return window;
    }

    bool waitForEnd() const
    {
        return QTest::qWaitFor([this] { return window && window->hasEnded(); }, waitMs);
    }

    template <typename W>
    W *find(const char *name) const
    {
        return window->findChild<W *>(QLatin1String(name));
    }

    QString label(const char *name) const
    {
        QLabel *found = find<QLabel>(name);
        return found && !found->isHidden() ? found->text() : QString();
    }

    QString shown() const { return find<OutputView>("outputView")->toPlainText(); }

    QString transcript() const
    {
        return QString::fromUtf8(test::readWhole(window->transcript().fileName()));
    }

    ~WindowRun() { delete window.data(); }
};

QString sample(const char *name)
{
    return QDir(test::toolOutputDir()).filePath(QLatin1String(name));
}

void setReplay(const char *name, int speed)
{
    qputenv("FERNCASTLE_REPLAY", QFile::encodeName(sample(name)));
    qputenv("FERNCASTLE_REPLAY_SPEED", QByteArray::number(speed));
}

} // namespace

// Points the replaying stand-in at a captured run; a test that needs one
// is skipped where the captures are not there.
#define REPLAY(name, ...)                                                                  \
    do {                                                                                   \
        if (test::toolOutputDir().isEmpty())                                               \
            QSKIP("the captured tool runs (shared/tool-output) are not there");            \
        setReplay(name, __VA_ARGS__);                                                      \
    } while (false)

namespace {

} // namespace

class TestRunWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void replayedReadShowsMapVerdictAndTranscript();
    void closingAsksAndStopsTheTool();
    void inputLineReachesTheTool();
    void unwritableFolderStillRuns();
    void launcherOpensOneWindowPerRun();
    void transcriptSurvivesAKilledProgram();
    void viewKeepsTheNewestLines();
    void showImageOffersTheWrittenImage();
};

void TestRunWindow::cleanup()
{
    qunsetenv("FERNCASTLE_REPLAY");
    qunsetenv("FERNCASTLE_IGNORE");
    qunsetenv("FERNCASTLE_PARTIAL");
    qunsetenv("FERNCASTLE_REPLAY_IMAGE");
    qunsetenv("FERNCASTLE_REPLAY_OUTPUT");
}

void TestRunWindow::replayedReadShowsMapVerdictAndTranscript()
{
    REPLAY("cw2dmk-replay-damaged-paced", 10);
    qputenv("FERNCASTLE_REPLAY_IMAGE",
            QFile::encodeName(sample("cw2dmk-replay-damaged/produced/out.dmk.gz")));
    WindowRun run;
    RunWindow *window = run.open(run.command(QStringLiteral("replay-tool"),
                                             QStringLiteral("cw2dmk"), QStringLiteral("out.dmk")));
    QCOMPARE(window->windowTitle(), QStringLiteral("cw2dmk \u2013 out.dmk"));
    QVERIFY(run.find<QLineEdit>("commandLine")->text().startsWith(QStringLiteral("cw2dmk -k2 \"")));
    QVERIFY(QTest::qWaitFor([&] { return run.shown().contains(QStringLiteral("Track 3, side 0")); },
                            waitMs));
    QVERIFY(!window->hasEnded());
    QVERIFY(run.waitForEnd());

    const QString out = QString::fromLatin1(test::readWhole(sample("cw2dmk-replay-damaged-paced") + "/stdout"));
    QCOMPARE(run.shown(), out);
    QCOMPARE(run.find<TrackGrid>("trackGrid")->model().tracks, 35);
    QCOMPARE(run.find<TrackGrid>("trackGrid")->model().cell(20, 0).state, CellState::Bad);
    QCOMPARE(run.find<TrackGrid>("trackGrid")->model().cell(12, 0).state, CellState::Retried);
    QCOMPARE(run.find<QProgressBar>("progressBar")->value(), run.find<QProgressBar>("progressBar")->maximum());
    QVERIFY(run.label("verdictLabel").startsWith(QStringLiteral("3 unrecovered errors in 2 bad tracks")));
    QVERIFY(run.label("verdictLabel").endsWith(QStringLiteral(" Read back, out.dmk shows the same 3 bad sectors (2 with CRC errors).")));
    QVERIFY(run.find<QLabel>("verdictLabel")->styleSheet().contains(verdictStyle(VerdictKind::Warning)));
    QVERIFY(run.label("incompleteImage").isEmpty());
    QVERIFY(!run.find<QPushButton>("stopButton")->isEnabled());

    const QString transcript = run.transcript();
    QVERIFY(window->transcript().fileName().endsWith(QStringLiteral("/out.cw2dmk.txt")));
    QVERIFY(transcript.startsWith(window->command().commandLine + QStringLiteral("\nStarted ")));
    QVERIFY(transcript.contains(out));
    QVERIFY(transcript.contains(QStringLiteral("Exit status 0 after 0:0")));
    QVERIFY(transcript.endsWith(run.label("verdictLabel") + u'\n'));
    QVERIFY(run.label("transcriptName").contains(QStringLiteral("out.cw2dmk.txt")));
    // The view follows the end: the last line stays in sight.
    QTest::qWait(50);
    QScrollBar *scroll = run.find<OutputView>("outputView")->verticalScrollBar();
    QCOMPARE(scroll->value(), scroll->maximum());
}

void TestRunWindow::closingAsksAndStopsTheTool()
{
    WindowRun run;
    RunWindow *window = run.open(run.command(QStringLiteral("stubborn-tool"), QStringLiteral("cw2dmk"),
                                             QStringLiteral("c.dmk")));
    QVERIFY(QTest::qWaitFor([&] { return window->isRunning(); }, waitMs));
    run.prompts.answerYesNo(false);
    QVERIFY(!window->close());
    QCOMPARE(run.prompts.events, QStringList{QStringLiteral("question: cw2dmk is still running. Stop it and close this window?")});
    QTest::qWait(200);
    QVERIFY(window->isRunning());
    run.prompts.answerYesNo(true);
    window->close();
    QVERIFY(QTest::qWaitFor([&] { return run.window.isNull(); }, waitMs));
}

void TestRunWindow::inputLineReachesTheTool()
{
    WindowRun run;
    run.open(run.command(QStringLiteral("echo-tool"), QStringLiteral("cw2dmk"), QStringLiteral("e.dmk")));
    QVERIFY(QTest::qWaitFor([&] { return run.shown().contains(QStringLiteral("Continue?")); }, waitMs));
    QLineEdit *input = run.find<QLineEdit>("inputLine");
    QTest::keyClicks(input, QStringLiteral("y"));
    QTest::keyClick(input, Qt::Key_Return);
    QVERIFY(run.waitForEnd());
    QVERIFY(run.shown().contains(QStringLiteral("answer: y")));
}

// Also as root: a folder that does not exist cannot be written.
void TestRunWindow::unwritableFolderStillRuns()
{
    REPLAY("cw2dmk-replay-clean", 10);
    WindowRun run;
    run.open(run.command(QStringLiteral("replay-tool"), QStringLiteral("cw2dmk"), QStringLiteral("gone/out.dmk")));
    QVERIFY(run.waitForEnd());
    QVERIFY2(run.label("transcriptName").startsWith(QStringLiteral("No transcript could be written in ")),
             qPrintable(run.label("transcriptName")));
    QVERIFY(!run.find<QPushButton>("openTranscriptFolder")->isEnabled());
    QVERIFY(run.label("verdictLabel").startsWith(QStringLiteral("35 good tracks")));
}

void TestRunWindow::launcherOpensOneWindowPerRun()
{
    REPLAY("cw2dmk-replay-clean", 10);
    WindowRun run;
    RunWindowLauncher launcher(run.prompts);
    ToolCommand missing = run.command(QStringLiteral("no-such-tool"), QStringLiteral("cw2dmk"), QStringLiteral("m.dmk"));
    QVERIFY(!launcher.start(missing).isEmpty());
    QVERIFY(!launcher.lastWindow());

    const ToolCommand command = run.command(QStringLiteral("replay-tool"), QStringLiteral("cw2dmk"), QStringLiteral("a.dmk"));
    QCOMPARE(launcher.start(command), QString());
    QPointer<RunWindow> first = launcher.lastWindow();
    QCOMPARE(launcher.start(command), QString());
    QPointer<RunWindow> second = launcher.lastWindow();
    QVERIFY(first && second && first != second);
    QVERIFY(first->isWindow() && first->isVisible() && !first->parent());
    QVERIFY(QTest::qWaitFor([&] { return first->hasEnded() && second->hasEnded(); }, waitMs));
    QVERIFY(first->transcript().fileName() != second->transcript().fileName());
    delete first.data();
    delete second.data();
}

// The program dies (SIGKILL) mid-run: every line it had shown is already in
// the transcript.
void TestRunWindow::transcriptSurvivesAKilledProgram()
{
    REPLAY("cw2dmk-replay-damaged-paced", 1);
    QTemporaryDir dir;
    QProcess host;
    host.start(QStringLiteral(RUNWINDOWHOST),
               {dir.filePath(QStringLiteral("out.dmk")), QStringLiteral("cw2dmk"),
                fixtures + QStringLiteral("replay-tool"), QStringLiteral("-k2")});
    QByteArray said;
    int shown = 0;
    QVERIFY(QTest::qWaitFor([&] {
        host.waitForReadyRead(50);
        said += host.readAll();
        const qsizetype last = said.lastIndexOf("shown ");
        if (last >= 0)
            shown = said.mid(last + 6, said.indexOf('\n', last) - last - 6).toInt();
        return shown >= 12;
    }, waitMs));
    host.kill();
    QVERIFY(host.waitForFinished(waitMs));
    QCOMPARE(host.exitStatus(), QProcess::CrashExit);

    const qsizetype at = said.indexOf("transcript ") + 11;
    const QString file = QString::fromLocal8Bit(said.mid(at, said.indexOf('\n', at) - at));
    const QStringList lines = QString::fromLatin1(test::readWhole(sample("cw2dmk-replay-damaged-paced") + "/stdout"))
                                  .split(u'\n');
    const QString transcript = QString::fromUtf8(test::readWhole(file));
    QVERIFY2(transcript.contains(lines.mid(0, shown).join(u'\n') + u'\n'),
             qPrintable(QStringLiteral("%1 lines shown; transcript:\n").arg(shown) + transcript));
}

// A flood: the view lays out at most a paint's worth of the newest lines,
// says how many it left out, and never holds more than it keeps.
void TestRunWindow::viewKeepsTheNewestLines()
{
    OutputView view;
    int next = 0;
    const auto batch = [&](int count) {
        QList<ShownLine> lines;
        for (int line = 0; line < count; ++line)
            lines.append(ShownLine{QStringLiteral("line %1").arg(next++), OutputStream::Stdout});
        view.addLines(lines);
        view.paint();
    };
    batch(OutputView::maxLinesPerPaint + 7);
    QVERIFY(view.toPlainText().startsWith(QStringLiteral("[7 lines came too fast to show here; the transcript has every one]\nline 7\n")));
    for (int round = 0; round < 2 * OutputView::keptLines / OutputView::maxLinesPerPaint; ++round)
        batch(OutputView::maxLinesPerPaint);
    QCOMPARE(view.document()->blockCount(), OutputView::keptLines + 1);
    const QStringList kept = view.toPlainText().split(u'\n');
    QCOMPARE(kept.at(kept.size() - 2), QStringLiteral("line %1").arg(next - 1));
    QCOMPARE(kept.first(), QStringLiteral("line %1").arg(next - OutputView::keptLines));
}

void TestRunWindow::showImageOffersTheWrittenImage()
{
    qputenv("FERNCASTLE_PARTIAL", "1");
    WindowRun run;
    const ToolCommand command =
        run.command(QStringLiteral("stubborn-tool"), QStringLiteral("cw2dmk"), QStringLiteral("img.dmk"));
    QStringList shown;
    run.window = new RunWindow(command, run.prompts);
    run.window->setShowImage([&](const QString &file) { shown.append(file); });
    run.window->show();
    run.window->start();
    QPushButton *button = run.find<QPushButton>("showImageButton");
    QVERIFY(QTest::qWaitFor([&] { return run.shown().contains(QStringLiteral("Track 1,")); }, waitMs));
    QVERIFY(button->isHidden());
    QTest::mouseClick(run.find<QPushButton>("stopButton"), Qt::LeftButton);
    QVERIFY(run.waitForEnd());
    QVERIFY(run.label("stopStatus").contains(QStringLiteral("sent SIGINT")));
    QVERIFY(run.label("incompleteImage").contains(QStringLiteral("img.dmk")));
    QVERIFY(!button->isHidden());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(shown, QStringList{command.chosenFile});
}

QTEST_MAIN(TestRunWindow)
#include "tst_runwindow.moc"
