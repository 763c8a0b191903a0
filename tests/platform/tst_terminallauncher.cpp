#include "core/tools/toolcommand.h"
#include "fakes/fakeprograms.h"
#include "platform/run/terminallauncher.h"
#include "platform/run/terminalscript.h"
#include "support/assembledcommand.h"

#include <QRegularExpression>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace ferncastle;
using test::FakePrograms;
using test::Record;

namespace {

constexpr int timeoutMs = 20000;

const QString terminalKind = QStringLiteral("terminal");
const QString toolKind = QStringLiteral("tool");

// The fixed script every launch hands to the terminal's shell.
QString helperScript()
{
    return terminalScriptCommand({}, {}, {}).at(2);
}

// What the terminal must be given after its own option: the shell running
// the fixed script, then the line to show (a line break in a file name shows
// as '?'), the tool and its arguments.
QStringList insideTerminal(const ToolCommand &command, const QString &toolPath)
{
    const QString shown = QString(command.commandLine).replace(u'\n', u'?');
    return QStringList{QStringLiteral("/bin/sh"), QStringLiteral("-c"), helperScript(),
                       QStringLiteral("ferncastle"), shown, toolPath}
           + command.arguments;
}

// The parent of a running process, from /proc; 0 when it cannot be read.
pid_t parentOf(pid_t process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // "pid (name) state ppid ...": the name may hold blanks, so count from ')'.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 1 ? pid_t(fields[1].toInt()) : 0;
}

// A command as the launcher sees it, made by hand.
ToolCommand commandFor(const QString &commandLine, const QString &program,
                       const QStringList &arguments = {})
{
    ToolCommand command;
    command.commandLine = commandLine;
    command.program = program;
    command.arguments = arguments;
    return command;
}

// The tool on its own, with no arguments.
ToolCommand bareCommand(const QString &program)
{
    return commandFor(program, program);
}

} // namespace

class TestTerminalLauncher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileNameArrivesAsOneArgument_data();
    void fileNameArrivesAsOneArgument();
    void windowShowsCommandLineThenStatusAndTime();
    void controlCharactersAreNotShownRaw();
    void toolIsFoundAsPathOrOnPath_data();
    void toolIsFoundAsPathOrOnPath();
    void unusableToolStartsNoTerminal_data();
    void unusableToolStartsNoTerminal();
    void noTerminalNamesTheOnesTried();
    void eachTerminalGetsItsOwnArgumentStyle_data();
    void eachTerminalGetsItsOwnArgumentStyle();
    void firstTerminalInOrderIsUsed_data();
    void firstTerminalInOrderIsUsed();
    void terminalThatCannotStartIsReported();
    void returnsAtOnceAndEachLaunchRunsOnItsOwn();
    void ctrlCStopsTheToolButTheWindowReportsIt();
};

void TestTerminalLauncher::fileNameArrivesAsOneArgument_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("toolArguments");

    const QStringList d0k2{QStringLiteral("-d0"), QStringLiteral("-k2")};
    const auto row = [&](const char *name, const QString &file) {
        QTest::newRow(name) << QStringLiteral("-d0 -k2 ") << file << d0k2 + QStringList{file};
    };
    row("plain", QStringLiteral("/disks/GAME.DMK"));
    row("blanks", QStringLiteral("/my disks/two  blanks .DMK"));
    row("double quotes", QStringLiteral("/disks/say \"hi\".DMK"));
    row("apostrophe", QStringLiteral("/disks/it's.DMK"));
    // PATH holds only the fakes, so the probes that would leave a file
    // behind if a shell read them use the shell's own redirection.
    row("command substitution", QStringLiteral("/disks/$(touch pwned)$(:>pwned).DMK"));
    row("semicolon", QStringLiteral("/disks/a;:>pwned;.DMK"));
    row("backticks", QStringLiteral("/disks/`:>pwned`.DMK"));
    row("ampersand and pipe", QStringLiteral("/disks/a & :>pwned | :>pwned2.DMK"));
    row("redirection", QStringLiteral("/disks/>pwned.DMK"));
    row("variables", QStringLiteral("/disks/$HOME ${PATH} $1 $@.DMK"));
    row("star", QStringLiteral("*.DMK"));
    row("leading dash", QStringLiteral("-d1.DMK"));
    row("backslash", QStringLiteral("/disks/back\\slash\\.DMK"));
    row("line break", QStringLiteral("/disks/two\nlines.DMK"));
    row("non-ASCII", QStringLiteral("/disks/é 日本.DMK"));
    QTest::newRow("no options") << QString() << QStringLiteral("/disks/x y.DSK")
                                << QStringList{QStringLiteral("/disks/x y.DSK")};
    QTest::newRow("quoted option words")
        << QStringLiteral("-v \"two words\" 'single'") << QStringLiteral("/d/a.DMK")
        << QStringList{QStringLiteral("-v"), QStringLiteral("two words"),
                       QStringLiteral("'single'"), QStringLiteral("/d/a.DMK")};
}

void TestTerminalLauncher::fileNameArrivesAsOneArgument()
{
    QFETCH(QString, options);
    QFETCH(QString, fileName);
    QFETCH(QStringList, toolArguments);
    FakePrograms fake;
    QVERIFY(fake.isValid());
    QVERIFY(fake.addTerminal());
    QVERIFY(fake.addTool(QStringLiteral("cw2dmk")));
    const ToolCommand command = test::assembled(QString(), ToolActionId::DiskToImage, options, fileName);

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(command), QString());

    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(toolKind), 1, timeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    const QString toolPath = QDir(fake.binDir()).filePath(QStringLiteral("cw2dmk"));
    QCOMPARE(fake.records(terminalKind).at(0).argv,
             (QStringList{QStringLiteral("x-terminal-emulator"), QStringLiteral("-e")}
              + insideTerminal(command, toolPath)));
    QCOMPARE(fake.records(toolKind).at(0).argv,
             QStringList{QStringLiteral("cw2dmk")} + toolArguments);
    QVERIFY2(QDir(fake.root()).entryList(QDir::Files).isEmpty(), "something ran a shell");
}

void TestTerminalLauncher::windowShowsCommandLineThenStatusAndTime()
{
    FakePrograms fake;
    QVERIFY(fake.addTerminal());
    QVERIFY(fake.addTool(QStringLiteral("dmk2cw")));
    fake.setEnv("FAKE_TOOL_STATUS", "3");
    const ToolCommand command =
        test::assembled(QString(), ToolActionId::ImageToDisk, QStringLiteral("-d1 "), QStringLiteral("/d/A B.DMK"));

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(command), QString());

    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    const QString output = fake.records(terminalKind).at(0).output;
    const QRegularExpression expected(
        QStringLiteral("^dmk2cw -d1  \"/d/A B\\.DMK\"\n\n"
                       "fake dmk2cw ran\n\n"
                       "dmk2cw ended with exit status 3 after \\d+ s\\.\n"
                       "Press Enter to close this window\\.$"));
    QVERIFY2(expected.match(output).hasMatch(), qPrintable(output));
}

void TestTerminalLauncher::controlCharactersAreNotShownRaw()
{
    FakePrograms fake;
    QVERIFY(fake.addTerminal());
    QVERIFY(fake.addTool(QStringLiteral("cw2dmk")));
    const QString fileName = QStringLiteral("/d/\x1b]0;title\x07\x1b[2J.DMK");
    const ToolCommand command = test::assembled(QString(), ToolActionId::DiskToImage, QString(), fileName);

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(command), QString());

    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    const QString shown = fake.records(terminalKind).at(0).output.section(u'\n', 0, 0);
    QCOMPARE(shown, QStringLiteral("cw2dmk  \"/d/?]0;title??[2J.DMK\""));
    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(toolKind), 1, timeoutMs);
    QCOMPARE(fake.records(toolKind).at(0).argv.last(), fileName);
}

void TestTerminalLauncher::toolIsFoundAsPathOrOnPath_data()
{
    QTest::addColumn<QString>("toolsFolder");   // where the fake tool lies, under the root
    QTest::addColumn<QString>("programFolder"); // what stands before the tool's name
    QTest::addColumn<bool>("absolute");         // programFolder is under the root

    QTest::newRow("bare name on PATH") << QStringLiteral("bin") << QString() << false;
    QTest::newRow("absolute folder") << QStringLiteral("tools") << QStringLiteral("tools/") << true;
    QTest::newRow("folder with blanks")
        << QStringLiteral("my tools") << QStringLiteral("my tools/") << true;
    QTest::newRow("relative folder") << QStringLiteral("tools") << QStringLiteral("tools/") << false;
    QTest::newRow("relative with dots")
        << QStringLiteral("tools") << QStringLiteral("./bin/../tools/") << false;
}

void TestTerminalLauncher::toolIsFoundAsPathOrOnPath()
{
    QFETCH(QString, toolsFolder);
    QFETCH(QString, programFolder);
    QFETCH(bool, absolute);
    FakePrograms fake;
    QVERIFY(fake.addTerminal());
    const QString folder = fake.path(toolsFolder);
    QVERIFY(fake.addToolIn(folder, QStringLiteral("jv2dmk")));
    const QString prefix = absolute ? fake.path(programFolder) : programFolder;
    const ToolCommand command =
        test::assembled(prefix, ToolActionId::JvToDmk, QString(), QStringLiteral("/d/G.DSK"));

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(command), QString());

    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(toolKind, folder), 1, timeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    // The terminal is handed an absolute path to the tool, whatever was typed.
    const QFileInfo handed(fake.records(terminalKind).at(0).argv.at(7));
    QVERIFY(handed.isAbsolute());
    QCOMPARE(handed.canonicalFilePath(),
             QFileInfo(QDir(folder).filePath(QStringLiteral("jv2dmk"))).canonicalFilePath());
}

void TestTerminalLauncher::unusableToolStartsNoTerminal_data()
{
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<QString>("program"); // %1 stands for the current folder
    QTest::addColumn<QString>("message"); // likewise

    const QString check = QStringLiteral(" Check the tools folder in Options, Preferences.");
    QTest::newRow("missing") << QString() << QStringLiteral("tools/cw2dmk")
                             << QStringLiteral("Could not start cw2dmk: %1/tools/cw2dmk does not exist.")
                                    + check;
    QTest::newRow("folder without separator")
        << QString() << QStringLiteral("%1/toolscw2dmk")
        << QStringLiteral("Could not start toolscw2dmk: %1/toolscw2dmk does not exist.") + check;
    QTest::newRow("dangling link")
        << QStringLiteral("dangling link") << QStringLiteral("tools/cw2dmk")
        << QStringLiteral("Could not start cw2dmk: %1/tools/cw2dmk does not exist.") + check;
    QTest::newRow("a folder") << QStringLiteral("folder") << QStringLiteral("tools/cw2dmk")
                              << QStringLiteral("Could not start cw2dmk: %1/tools/cw2dmk "
                                                "is a folder, not a program.")
                                     + check;
    QTest::newRow("not executable")
        << QStringLiteral("plain file") << QStringLiteral("tools/cw2dmk")
        << QStringLiteral("Could not start cw2dmk: %1/tools/cw2dmk is not executable.") + check;
    QTest::newRow("not on PATH")
        << QString() << QStringLiteral("cw2dmk")
        << QStringLiteral("Could not start cw2dmk: no program of that name was found on the PATH.")
               + check;
}

void TestTerminalLauncher::unusableToolStartsNoTerminal()
{
    QFETCH(QString, prepare);
    QFETCH(QString, program);
    QFETCH(QString, message);
    FakePrograms fake;
    QVERIFY(fake.addTerminal());
    QVERIFY(QDir(fake.root()).mkpath(QStringLiteral("tools")));
    program.replace(QLatin1String("%1"), QDir::currentPath());
    message.replace(QLatin1String("%1"), QDir::currentPath());
    const QString target = fake.path(QStringLiteral("tools/cw2dmk"));
    if (prepare == QLatin1String("dangling link"))
        QVERIFY(QFile::link(fake.path(QStringLiteral("nowhere")), target));
    if (prepare == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(target));
    if (prepare == QLatin1String("plain file"))
        QVERIFY(QFile::copy(QStringLiteral(FIXTURES_DIR "/fake-tool"), target)
                && ::chmod(QFile::encodeName(target).constData(), 0644) == 0);
    const ToolCommand command = commandFor(program + QStringLiteral("  \"/d/G.DMK\""), program,
                                           {QStringLiteral("/d/G.DMK")});

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(command), message);

    // A launch that works afterwards is the only one that reaches a terminal.
    QVERIFY(fake.addTool(QStringLiteral("dmk2jv3")));
    QCOMPARE(launcher.start(bareCommand(QStringLiteral("dmk2jv3"))), QString());
    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    QCOMPARE(fake.records(terminalKind).at(0).argv.at(7), fake.path(QStringLiteral("bin/dmk2jv3")));
}

void TestTerminalLauncher::noTerminalNamesTheOnesTried()
{
    FakePrograms fake;
    QVERIFY(fake.addTool(QStringLiteral("cw2dmk")));

    TerminalLauncher launcher;
    const QString message = launcher.start(bareCommand(QStringLiteral("cw2dmk")));

    QCOMPARE(message, QStringLiteral(
                          "Could not start cw2dmk: no terminal emulator was found on the PATH "
                          "(tried x-terminal-emulator, gnome-terminal, konsole, xfce4-terminal, "
                          "mate-terminal, terminator, kitty, alacritty, foot, urxvt, st, xterm). "
                          "Install one of them."));
    QCOMPARE(fake.finished(toolKind), 0);
}

// How each terminal is documented to take a program and its arguments as
// separate words; terminals whose only way is one shell string are not used.
void TestTerminalLauncher::eachTerminalGetsItsOwnArgumentStyle_data()
{
    QTest::addColumn<QString>("terminal");
    QTest::addColumn<QStringList>("option");

    const QStringList dashE{QStringLiteral("-e")};
    const QStringList dashX{QStringLiteral("-x")};
    QTest::newRow("x-terminal-emulator") << QStringLiteral("x-terminal-emulator") << dashE;
    QTest::newRow("gnome-terminal") << QStringLiteral("gnome-terminal") << QStringList{QStringLiteral("--")};
    QTest::newRow("konsole") << QStringLiteral("konsole") << dashE;
    QTest::newRow("xfce4-terminal") << QStringLiteral("xfce4-terminal") << dashX;
    QTest::newRow("mate-terminal") << QStringLiteral("mate-terminal") << dashX;
    QTest::newRow("terminator") << QStringLiteral("terminator") << dashX;
    QTest::newRow("kitty") << QStringLiteral("kitty") << QStringList();
    QTest::newRow("alacritty") << QStringLiteral("alacritty") << dashE;
    QTest::newRow("foot") << QStringLiteral("foot") << QStringList();
    QTest::newRow("urxvt") << QStringLiteral("urxvt") << dashE;
    QTest::newRow("st") << QStringLiteral("st") << dashE;
    QTest::newRow("xterm") << QStringLiteral("xterm") << dashE;
}

void TestTerminalLauncher::eachTerminalGetsItsOwnArgumentStyle()
{
    QFETCH(QString, terminal);
    QFETCH(QStringList, option);
    FakePrograms fake;
    QVERIFY(fake.addTerminal(terminal));
    QVERIFY(fake.addTool(QStringLiteral("dmk2jv3")));
    const QString fileName = QStringLiteral("/d/$(:>pwned) 'x'.DMK");
    const ToolCommand command = test::assembled(QString(), ToolActionId::DmkToJv, QString(), fileName);

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(command), QString());

    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    const QString toolPath = fake.path(QStringLiteral("bin/dmk2jv3"));
    QCOMPARE(fake.records(terminalKind).at(0).argv,
             QStringList{terminal} + option + insideTerminal(command, toolPath));
    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(toolKind), 1, timeoutMs);
    QCOMPARE(fake.records(toolKind).at(0).argv, (QStringList{QStringLiteral("dmk2jv3"), fileName}));
    QVERIFY(!QFile::exists(fake.path(QStringLiteral("pwned"))));
}

void TestTerminalLauncher::firstTerminalInOrderIsUsed_data()
{
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("used");

    QTest::newRow("system choice over xterm")
        << QStringList{QStringLiteral("xterm"), QStringLiteral("x-terminal-emulator")}
        << QStringLiteral("x-terminal-emulator");
    QTest::newRow("system choice over a desktop's")
        << QStringList{QStringLiteral("konsole"), QStringLiteral("x-terminal-emulator")}
        << QStringLiteral("x-terminal-emulator");
    QTest::newRow("desktop terminal over xterm")
        << QStringList{QStringLiteral("xterm"), QStringLiteral("gnome-terminal")}
        << QStringLiteral("gnome-terminal");
    QTest::newRow("xterm as the last resort")
        << QStringList{QStringLiteral("xterm"), QStringLiteral("st")} << QStringLiteral("st");
}

void TestTerminalLauncher::firstTerminalInOrderIsUsed()
{
    QFETCH(QStringList, installed);
    QFETCH(QString, used);
    FakePrograms fake;
    for (const QString &terminal : installed)
        QVERIFY(fake.addTerminal(terminal));
    QVERIFY(fake.addTool(QStringLiteral("cw2dmk")));

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(bareCommand(QStringLiteral("cw2dmk"))), QString());

    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    QCOMPARE(fake.records(terminalKind).at(0).argv.at(0), used);
}

void TestTerminalLauncher::terminalThatCannotStartIsReported()
{
    FakePrograms fake;
    QVERIFY(FakePrograms::link(QStringLiteral("broken-terminal"), fake.binDir(),
                               QStringLiteral("x-terminal-emulator")));
    QVERIFY(fake.addTool(QStringLiteral("cw2dmk")));

    TerminalLauncher launcher;
    const QString message = launcher.start(bareCommand(QStringLiteral("cw2dmk")));

    const QString expected = QStringLiteral("Could not start cw2dmk: the terminal emulator %1 "
                                            "could not be started (")
                                 .arg(fake.path(QStringLiteral("bin/x-terminal-emulator")));
    QVERIFY2(message.startsWith(expected) && message.endsWith(QLatin1String(").")),
             qPrintable(message));
}

// The tools wait at a gate: both launches return and both tools are running
// side by side before either is let go.
void TestTerminalLauncher::returnsAtOnceAndEachLaunchRunsOnItsOwn()
{
    FakePrograms fake;
    QVERIFY(fake.addTerminal());
    QVERIFY(fake.addTool(QStringLiteral("cw2dmk")));
    const QString gate = fake.addGate();
    QVERIFY(!gate.isEmpty());
    const ToolCommand command =
        test::assembled(QString(), ToolActionId::DiskToImage, QString(), QStringLiteral("/d/A.DMK"));

    TerminalLauncher launcher;
    QCOMPARE(launcher.start(command), QString());
    QCOMPARE(launcher.start(command), QString());

    const QDir bin(fake.binDir());
    QTRY_COMPARE_WITH_TIMEOUT(bin.entryList({QStringLiteral("tool.*.args")}).size(), 2, timeoutMs);
    QCOMPARE(fake.finished(toolKind), 0);
    const auto release = [&] {
        FakePrograms::openGate(gate);
        return fake.finished(terminalKind);
    };
    QTRY_COMPARE_WITH_TIMEOUT(release(), 2, timeoutMs);
    QCOMPARE(fake.finished(toolKind), 2);
}

// Ctrl+C in the window reaches every process of its foreground group: the
// script and the tool. The tool must stop, and the window must still say so.
void TestTerminalLauncher::ctrlCStopsTheToolButTheWindowReportsIt()
{
    FakePrograms fake;
    QVERIFY(fake.addTerminal());
    QVERIFY(fake.addTool(QStringLiteral("cw2dmk")));
    const QString gate = fake.addGate();
    QVERIFY(!gate.isEmpty());
    TerminalLauncher launcher;
    QCOMPARE(launcher.start(test::assembled(QString(), ToolActionId::DiskToImage, QString(),
                                                QStringLiteral("/d/A.DMK"))),
             QString());

    const QDir bin(fake.binDir());
    QTRY_COMPARE_WITH_TIMEOUT(bin.entryList({QStringLiteral("tool.*.args")}).size(), 1, timeoutMs);
    const pid_t tool = bin.entryList({QStringLiteral("tool.*.args")}).at(0).section(u'.', 1, 1).toInt();
    const pid_t script = parentOf(tool);
    QVERIFY(script > 1);
    QCOMPARE(::getpgid(script), script); // the terminal made it a group of its own
    QCOMPARE(::kill(-script, SIGINT), 0);

    QTRY_COMPARE_WITH_TIMEOUT(fake.finished(terminalKind), 1, timeoutMs);
    QCOMPARE(fake.finished(toolKind), 0);
    const QString output = fake.records(terminalKind).at(0).output;
    QVERIFY2(output.contains(QLatin1String("\ncw2dmk ended with exit status 130 "
                                           "(stopped by signal 2) after ")),
             qPrintable(output));
    QVERIFY2(output.endsWith(QLatin1String("Press Enter to close this window.")), qPrintable(output));
}

QTEST_GUILESS_MAIN(TestTerminalLauncher)
#include "tst_terminallauncher.moc"
