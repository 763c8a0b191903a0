#include "core/options/optionset.h"
#include "core/settings/settingskeys.h"
#include "fakes/fakeprograms.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace ferncastle;
using test::FakePrograms;

Q_DECLARE_METATYPE(ferncastle::OptionSet)
Q_DECLARE_METATYPE(ferncastle::FileRequest::Mode)

namespace {

constexpr int timeoutMs = 20000;

const QString terminalKind = QStringLiteral("terminal");
const QString toolKind = QStringLiteral("tool");

const QString filterA =
    QStringLiteral("Disk Image (*.DMK)|*.DMK|Disk Image (*.DSK)|*.DSK|All Files|*.*");
const QString filterB = QStringLiteral("Disk Image (*.DMK)|*.DMK|All Files|*.*");
const QString filterC = QStringLiteral("Disk Image (*.DSK)|*.DSK|All Files|*.*");

// Where the command line the user is shown stands in the fake terminal's
// record: name, -e, /bin/sh, -c, script, $0, then the line.
constexpr int shownLineIndex = 6;

// The main window wired to the real launcher, with a fake terminal and the
// four fake tools on PATH, and the tools folder set to where they lie.
struct LaunchWindow {
    LaunchWindow()
    {
        fake.addTerminal();
        for (const char *tool : {"cw2dmk", "dmk2cw", "dmk2jv3", "jv2dmk"})
            fake.addTool(QLatin1String(tool));
        settings.store(QLatin1String(keys::toolsFolder), toolsFolder()); // no tools prompt
        window.Form_Load();
        window.DosFilesPath = toolsFolder();
    }

    QString toolsFolder() const { return fake.binDir() + u'/'; }

    void click(const QString &button)
    {
        window.findChild<QPushButton *>(button)->click();
    }

    test::SettingsFolder settings;
    FakePrograms fake;
    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    // These cases are about the command line, whatever card this machine has.
    Moorfield window{{prompts, launcher, settings.settingsStore(), {}, [](const QString &) {
                           CardCheckResult result;
                           result.applies = false;
                           return result;
                       }}};
};

OptionSet nothingTicked()
{
    OptionSet options;
    for (GroupState &group : options.groups)
        group.listIndex = 0;
    return options;
}

OptionSet ticked(std::initializer_list<std::pair<GroupIndex, int>> lists,
                 std::initializer_list<std::pair<GroupIndex, const char *>> texts = {})
{
    OptionSet options = nothingTicked();
    for (const auto &[group, index] : lists)
        options.groups[group] = {Ticked, index, {}};
    for (const auto &[group, text] : texts)
        options.groups[group] = {Ticked, 0, QLatin1String(text)};
    return options;
}

// Every box ticked with the values of the write option string's worked
// example: retries made of letters, which writing never looks at.
OptionSet everyBoxTicked()
{
    return ticked({{Drive, 0}, {Kind, 2}, {Steps, 0}, {Sides, 1}, {Encoding, 1}},
                  {{Port, "1"}, {Tracks, "80"}, {Retries, "abc"}});
}

} // namespace

class TestLaunchActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eachActionRunsItsToolOnTheChosenFile_data();
    void eachActionRunsItsToolOnTheChosenFile();
    void warningsComeFirstAndCancelStartsNothing_data();
    void warningsComeFirstAndCancelStartsNothing();
    void toolsFolderWithoutSeparatorIsJoined();
    void failedStartIsShownAndTheProgramCarriesOn_data();
    void failedStartIsShownAndTheProgramCarriesOn();
    void pressingTwiceStartsTwoTools();
    void conversionsGuardTheirFiles_data();
    void conversionsGuardTheirFiles();
    void nulInATextIsRefusedAndStartsNothing_data();
    void nulInATextIsRefusedAndStartsNothing();
};

// %T stands for the tools folder, %F for the chosen file.
void TestLaunchActions::eachActionRunsItsToolOnTheChosenFile_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<OptionSet>("options");
    QTest::addColumn<QString>("optionalParms");
    QTest::addColumn<QString>("file"); // under the test's folder
    QTest::addColumn<FileRequest::Mode>("mode");
    QTest::addColumn<QString>("defaultExt");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QStringList>("argv");

    const auto save = FileRequest::Mode::Save;
    // The conversions open the file they read: the Save form would ask
    // "Replace?" about it.
    const auto open = FileRequest::Mode::Open;
    const QString dmk = QStringLiteral(".DMK");
    const QString game = QStringLiteral("DISKS/GAME.DMK");
    QTest::newRow("Disk to Image, drive and kind")
        << QStringLiteral("cmdRead") << ticked({{Drive, 0}, {Kind, 1}}) << QString() << game
        << save << dmk << filterA << QStringLiteral("%Tcw2dmk -d0 -k2  \"%F\"")
        << QStringList{QStringLiteral("cw2dmk"), QStringLiteral("-d0"), QStringLiteral("-k2"),
                       QStringLiteral("%F")};
    QTest::newRow("Image to Disk, nothing ticked")
        << QStringLiteral("cmdWrite") << nothingTicked() << QString() << game
        << FileRequest::Mode::Open << dmk << filterA << QStringLiteral("%Tdmk2cw   \"%F\"")
        << QStringList{QStringLiteral("dmk2cw"), QStringLiteral("%F")};
    QTest::newRow("DMK to JV") << QStringLiteral("cmdDMK") << nothingTicked() << QString() << game
                               << open << dmk << filterB << QStringLiteral("%Tdmk2jv3  \"%F\"")
                               << QStringList{QStringLiteral("dmk2jv3"), QStringLiteral("%F")};
    QTest::newRow("JV to DMK") << QStringLiteral("cmdJV3") << nothingTicked() << QString()
                               << QStringLiteral("DISKS/GAME.DSK") << open
                               << QStringLiteral(".DSK") << filterC
                               << QStringLiteral("%Tjv2dmk  \"%F\"")
                               << QStringList{QStringLiteral("jv2dmk"), QStringLiteral("%F")};
    QTest::newRow("Image to Disk uses only its five groups")
        << QStringLiteral("cmdWrite") << everyBoxTicked() << QString() << game
        << FileRequest::Mode::Open << dmk << filterA
        << QStringLiteral("%Tdmk2cw -d0 -p1 -k3 -m1 -s2  \"%F\"")
        << QStringList{QStringLiteral("dmk2cw"), QStringLiteral("-d0"), QStringLiteral("-p1"),
                       QStringLiteral("-k3"), QStringLiteral("-m1"), QStringLiteral("-s2"),
                       QStringLiteral("%F")};

    OptionSet withExtra = ticked({{Drive, 1}});
    withExtra.extraParms = QStringLiteral("-v 3 -u \"two words\"");
    QTest::newRow("additional parameters split as words, quotes grouping")
        << QStringLiteral("cmdRead") << withExtra << QStringLiteral("-ignored") << game << save
        << dmk << filterA << QStringLiteral("%Tcw2dmk -d1 -v 3 -u \"two words\" \"%F\"")
        << QStringList{QStringLiteral("cw2dmk"), QStringLiteral("-d1"), QStringLiteral("-v"),
                       QStringLiteral("3"), QStringLiteral("-u"), QStringLiteral("two words"),
                       QStringLiteral("%F")};
    QTest::newRow("conversion ignores the option groups")
        << QStringLiteral("cmdDMK") << withExtra << QStringLiteral("-v 2") << game << open << dmk
        << filterB << QStringLiteral("%Tdmk2jv3 -v 2 \"%F\"")
        << QStringList{QStringLiteral("dmk2jv3"), QStringLiteral("-v"), QStringLiteral("2"),
                       QStringLiteral("%F")};

    const QString nasty = QStringLiteral("my disks/$(:>pwned) it's \"x\";`:>pwned` * -é日本.DSK");
    QTest::newRow("file name with shell characters stays one argument")
        << QStringLiteral("cmdJV3") << nothingTicked() << QString() << nasty << open
        << QStringLiteral(".DSK") << filterC << QStringLiteral("%Tjv2dmk  \"%F\"")
        << QStringList{QStringLiteral("jv2dmk"), QStringLiteral("%F")};
}

void TestLaunchActions::eachActionRunsItsToolOnTheChosenFile()
{
    QFETCH(QString, button);
    QFETCH(OptionSet, options);
    QFETCH(QString, optionalParms);
    QFETCH(QString, file);
    QFETCH(FileRequest::Mode, mode);
    QFETCH(QString, defaultExt);
    QFETCH(QString, filter);
    QFETCH(QString, commandLine);
    QFETCH(QStringList, argv);
    LaunchWindow launch;
    QVERIFY(launch.fake.isValid());
    launch.window.applyOptions(options);
    launch.window.txtOptionalParms->setText(optionalParms);
    const QString fileName = launch.fake.path(file);
    launch.prompts.answerFile(fileName);

    launch.click(button);

    QCOMPARE(launch.prompts.events, QStringList{QStringLiteral("file dialog")});
    const FileRequest &request = launch.prompts.fileRequests.at(0);
    QCOMPARE(request.mode, mode);
    QCOMPARE(request.fileName, QString());
    QCOMPARE(request.defaultExt, defaultExt);
    QCOMPARE(request.filter, filter);
    QCOMPARE(request.title, QStringLiteral("Select File..."));
    QCOMPARE(launch.window.CommonDialog1.InitDir, fileName.section(u'/', 0, -2) + u'/');

    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(toolKind), 1, timeoutMs);
    argv.replaceInStrings(QStringLiteral("%F"), fileName);
    QCOMPARE(launch.fake.records(toolKind).at(0).argv, argv);
    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(terminalKind), 1, timeoutMs);
    commandLine.replace(QLatin1String("%T"), launch.toolsFolder());
    commandLine.replace(QLatin1String("%F"), fileName);
    QCOMPARE(launch.fake.records(terminalKind).at(0).argv.at(shownLineIndex), commandLine);
    QVERIFY(!QFile::exists(launch.fake.path(QStringLiteral("pwned"))));
}

void TestLaunchActions::warningsComeFirstAndCancelStartsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<OptionSet>("options");
    QTest::addColumn<QStringList>("events");

    const QString dialog = QStringLiteral("file dialog");
    QTest::newRow("Disk to Image, tracks 99")
        << QStringLiteral("cmdRead") << ticked({}, {{Tracks, "99"}})
        << QStringList{QStringLiteral("message: The 'Number of tracks' is not between 2 and 86 "
                                      "tracks. Option not used"),
                       dialog};
    QTest::newRow("Disk to Image, three warnings in group order")
        << QStringLiteral("cmdRead") << ticked({}, {{Retries, "x"}, {Port, ""}, {Tracks, "1"}})
        << QStringList{
               QStringLiteral("message: The 'CatWeasel port' is not a number. Option not used"),
               QStringLiteral("message: The 'Number of tracks' is not between 2 and 86 tracks. "
                              "Option not used"),
               QStringLiteral("message: The 'Number of retries' is not a number. Option not used"),
               dialog};
    QTest::newRow("Image to Disk, port not a number")
        << QStringLiteral("cmdWrite") << ticked({}, {{Port, "xyz"}, {Tracks, "99"}})
        << QStringList{
               QStringLiteral("message: The 'CatWeasel port' is not a number. Option not used"),
               dialog};
    QTest::newRow("DMK to JV") << QStringLiteral("cmdDMK") << everyBoxTicked()
                               << QStringList{dialog};
    QTest::newRow("JV to DMK") << QStringLiteral("cmdJV3") << everyBoxTicked()
                               << QStringList{dialog};
}

void TestLaunchActions::warningsComeFirstAndCancelStartsNothing()
{
    QFETCH(QString, button);
    QFETCH(OptionSet, options);
    QFETCH(QStringList, events);
    LaunchWindow launch;
    launch.window.applyOptions(options);
    launch.window.CommonDialog1.InitDir = QStringLiteral("/start/");
    launch.prompts.answerFile(QString());

    launch.click(button);

    QCOMPARE(launch.prompts.events, events);
    QCOMPARE(launch.window.CommonDialog1.InitDir, QStringLiteral("/start/"));
    // A launch that goes through afterwards is the only one that reaches a terminal.
    launch.prompts.answerFile(launch.fake.path(QStringLiteral("later.DMK")));
    launch.click(QStringLiteral("cmdDMK"));
    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(terminalKind), 1, timeoutMs);
    QCOMPARE(launch.fake.records(toolKind).at(0).argv.at(0), QStringLiteral("dmk2jv3"));
}

// A folder typed without its trailing separator still names the tool in it.
void TestLaunchActions::toolsFolderWithoutSeparatorIsJoined()
{
    LaunchWindow launch;
    launch.window.DosFilesPath = launch.fake.binDir();
    const QString fileName = launch.fake.path(QStringLiteral("A.DMK"));
    launch.prompts.answerFile(fileName);

    launch.click(QStringLiteral("cmdRead"));

    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(toolKind), 1, timeoutMs);
    QCOMPARE(launch.fake.records(toolKind).at(0).argv, (QStringList{QStringLiteral("cw2dmk"), fileName}));
    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(terminalKind), 1, timeoutMs);
    QCOMPARE(launch.fake.records(terminalKind).at(0).argv.at(shownLineIndex),
             launch.fake.binDir() + QStringLiteral("/cw2dmk   \"") + fileName + u'"');
}

void TestLaunchActions::failedStartIsShownAndTheProgramCarriesOn_data()
{
    QTest::addColumn<QString>("toolsFolder"); // %R stands for the test's folder
    QTest::addColumn<bool>("withTerminal");
    QTest::addColumn<QString>("message");

    QTest::newRow("tools folder missing")
        << QStringLiteral("%R/nowhere") << true
        << QStringLiteral("Could not start cw2dmk: %R/nowhere/cw2dmk does not exist. "
                          "Check the tools folder in Options, Preferences.");
    QTest::newRow("tool missing from the folder")
        << QStringLiteral("%R/") << true
        << QStringLiteral("Could not start cw2dmk: %R/cw2dmk does not exist. "
                          "Check the tools folder in Options, Preferences.");
    QTest::newRow("no terminal")
        << QStringLiteral("%R/bin/") << false
        << QStringLiteral("Could not start cw2dmk: no terminal emulator was found on the PATH "
                          "(tried x-terminal-emulator, gnome-terminal, konsole, xfce4-terminal, "
                          "mate-terminal, terminator, kitty, alacritty, foot, urxvt, st, xterm). "
                          "Install one of them.");
}

void TestLaunchActions::failedStartIsShownAndTheProgramCarriesOn()
{
    QFETCH(QString, toolsFolder);
    QFETCH(bool, withTerminal);
    QFETCH(QString, message);
    LaunchWindow launch;
    if (!withTerminal)
        QVERIFY(QFile::remove(launch.fake.path(QStringLiteral("bin/x-terminal-emulator"))));
    launch.window.DosFilesPath = toolsFolder.replace(QLatin1String("%R"), launch.fake.root());
    const QString fileName = launch.fake.path(QStringLiteral("DISKS/A.DMK"));

    launch.click(QStringLiteral("cmdRead"));

    // Found before the file dialog: nothing was chosen in vain.
    QVERIFY(launch.prompts.fileRequests.isEmpty());
    QCOMPARE(launch.prompts.messages.size(), 1);
    const test::ScriptedPrompts::Message &shown = launch.prompts.messages.at(0);
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QCOMPARE(shown.title, QStringLiteral("Ferncastle"));
    QCOMPARE(shown.text, message.replace(QLatin1String("%R"), launch.fake.root()));

    // The window goes on working once the cause is mended.
    launch.fake.addTerminal();
    launch.window.DosFilesPath = launch.toolsFolder();
    launch.prompts.answerFile(fileName);
    launch.click(QStringLiteral("cmdRead"));
    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(terminalKind), 1, timeoutMs);
    QCOMPARE(launch.fake.records(toolKind).at(0).argv,
             (QStringList{QStringLiteral("cw2dmk"), fileName}));
    QCOMPARE(launch.prompts.messages.size(), 1);
}

void TestLaunchActions::pressingTwiceStartsTwoTools()
{
    LaunchWindow launch;
    const QString first = launch.fake.path(QStringLiteral("one/A.DMK"));
    const QString second = launch.fake.path(QStringLiteral("two/B.DMK"));
    launch.prompts.answerFile(first);
    launch.prompts.answerFile(second);

    launch.click(QStringLiteral("cmdRead"));
    launch.click(QStringLiteral("cmdRead"));

    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(terminalKind), 2, timeoutMs);
    QCOMPARE(launch.fake.finished(toolKind), 2);
    QStringList files;
    for (const test::Record &record : launch.fake.records(toolKind))
        files.append(record.argv.last());
    files.sort();
    QCOMPARE(files, (QStringList{first, second}));
    QCOMPARE(launch.window.CommonDialog1.InitDir, launch.fake.path(QStringLiteral("two/")));
    QCOMPARE(launch.prompts.fileRequests.at(1).initialDir, launch.fake.path(QStringLiteral("one/")));
}

// %F stands for the chosen file, %O for the derived output. Each row makes
// the files it names, answers the replace question as given, and checks
// what was asked and what, if anything, ran.
void TestLaunchActions::conversionsGuardTheirFiles_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QByteArray>("chosenBytes");
    QTest::addColumn<QString>("existing"); // a file already there, or empty
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("argv"); // empty: nothing may start

    const QString dialog = QStringLiteral("file dialog");
    const QString question = QStringLiteral("question: %O already exists.\rdmk2jv3 will replace it "
                                            "with the converted image. Replace it?");
    const QByteArray dmk("\0\x28\0\x19", 4);
    QTest::newRow("nothing in the way") << "cmdDMK" << "game.dmk" << dmk << QString() << QString()
                                        << false << QStringList{dialog}
                                        << QStringList{"dmk2jv3", "%F"};
    QTest::newRow("existing output kept on No")
        << "cmdDMK" << "game.dmk" << dmk << "game.dsk" << QString() << false
        << QStringList{dialog, question} << QStringList();
    QTest::newRow("existing output replaced on Yes")
        << "cmdDMK" << "game.dmk" << dmk << "game.dsk" << QString() << true
        << QStringList{dialog, question} << QStringList{"dmk2jv3", "%F"};
    QTest::newRow("a DMK named .dsk is refused, never asked about")
        << "cmdDMK" << "game.dsk" << dmk << QString() << QString() << true
        << QStringList{dialog, "message: dmk2jv3 names its output after its input, ending in .dsk, "
                               "and that is %F itself: dmk2jv3 would empty the file before reading "
                               "it.\rRename the file so that its name does not end in .dsk, or run "
                               "dmk2jv3 yourself with an output name. Nothing was started."}
        << QStringList();
    QTest::newRow("a JV image named .dmk is refused")
        << "cmdJV3" << "disk.dmk" << QByteArray(2560, char(0xE5)) << QString() << QString() << true
        << QStringList{dialog, "message: jv2dmk names its output after its input, ending in .dmk, "
                               "and that is %F itself: jv2dmk would empty the file before reading "
                               "it.\rRename the file so that its name does not end in .dmk, or run "
                               "jv2dmk yourself with an output name. Nothing was started."}
        << QStringList();
    QTest::newRow("JV1 gets -j1") << "cmdJV3" << "m1.dsk" << QByteArray(35 * 2560, char(0xE5))
                                  << QString() << QString() << false << QStringList{dialog}
                                  << QStringList{"jv2dmk", "-j1", "%F"};
    QTest::newRow("JV1 with -j typed") << "cmdJV3" << "m1.dsk" << QByteArray(35 * 2560, char(0xE5))
                                       << QString() << "-j1 -k2" << false << QStringList{dialog}
                                       << QStringList{"jv2dmk", "-j1", "-k2", "%F"};
    QTest::newRow("output name typed: no dialog")
        << "cmdDMK" << "game.dmk" << dmk << QString() << "out.dsk" << true
        << QStringList{"message: \"out.dsk\" in the 'Optional parameters' is neither an option nor "
                       "an option's value: dmk2jv3 would take it as a file name in place of the "
                       "chosen file. Remove it; nothing is started until then."}
        << QStringList();
}

void TestLaunchActions::conversionsGuardTheirFiles()
{
    QFETCH(QString, button);
    QFETCH(QString, chosen);
    QFETCH(QByteArray, chosenBytes);
    QFETCH(QString, existing);
    QFETCH(QString, typed);
    QFETCH(bool, answerYes);
    QFETCH(QStringList, events);
    QFETCH(QStringList, argv);
    LaunchWindow launch;
    const QString chosenFile = launch.fake.path(chosen);
    QFile file(chosenFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(chosenBytes);
    file.close();
    const QByteArray old("old file, should not vanish");
    const QString existingFile = existing.isEmpty() ? QString() : launch.fake.path(existing);
    if (!existingFile.isEmpty()) {
        QFile other(existingFile);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write(old);
    }
    launch.window.txtOptionalParms->setText(typed);
    if (events.contains(QStringLiteral("file dialog")))
        launch.prompts.answerFile(chosenFile);
    launch.prompts.answerYesNo(answerYes);

    launch.click(button);

    events.replaceInStrings(QStringLiteral("%F"), chosenFile);
    events.replaceInStrings(QStringLiteral("%O"), existingFile);
    QCOMPARE(launch.prompts.events, events);
    for (const FileRequest &request : launch.prompts.fileRequests)
        QCOMPARE(request.mode, FileRequest::Mode::Open);
    if (argv.isEmpty()) {
        // Only a later run reaches a tool.
        launch.prompts.answerFile(launch.fake.path(QStringLiteral("later.DMK")));
        launch.click(QStringLiteral("cmdRead"));
        argv = QStringList{QStringLiteral("cw2dmk"), launch.fake.path(QStringLiteral("later.DMK"))};
    }
    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(toolKind), 1, timeoutMs);
    QCOMPARE(launch.fake.records(toolKind).at(0).argv, argv.replaceInStrings(QStringLiteral("%F"), chosenFile));
    QFile chosenAfter(chosenFile);
    QVERIFY(chosenAfter.open(QIODevice::ReadOnly));
    QCOMPARE(chosenAfter.readAll(), chosenBytes); // the fake tools write nothing
}

void TestLaunchActions::nulInATextIsRefusedAndStartsNothing_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Additional parameters, Disk to Image")
        << QStringLiteral("cmdRead") << QStringLiteral("txtExtraParms")
        << QStringLiteral("Additional parameters");
    QTest::newRow("Additional parameters, Image to Disk")
        << QStringLiteral("cmdWrite") << QStringLiteral("txtExtraParms")
        << QStringLiteral("Additional parameters");
    QTest::newRow("Optional parameters, DMK to JV")
        << QStringLiteral("cmdDMK") << QStringLiteral("txtOptionalParms")
        << QStringLiteral("Optional parameters");
    QTest::newRow("Optional parameters, JV to DMK")
        << QStringLiteral("cmdJV3") << QStringLiteral("txtOptionalParms")
        << QStringLiteral("Optional parameters");
}

// "-v<NUL>-x 9" would reach the tool as -v and 9: the -x silently lost.
void TestLaunchActions::nulInATextIsRefusedAndStartsNothing()
{
    QFETCH(QString, button);
    QFETCH(QString, box);
    QFETCH(QString, caption);
    LaunchWindow launch;
    // Options every tool takes, so that only the NUL is wrong with it.
    const QString text = QStringLiteral("-v1") + QChar(0) + QStringLiteral(" -v2");
    launch.window.findChild<QLineEdit *>(box)->setText(text);
    QCOMPARE(launch.window.findChild<QLineEdit *>(box)->text(), text);
    launch.prompts.answerFile(launch.fake.path(QStringLiteral("A.DMK")));

    launch.click(button);

    QCOMPARE(launch.prompts.messages.size(), 1);
    const test::ScriptedPrompts::Message &shown = launch.prompts.messages.at(0);
    QCOMPARE(shown.icon, QMessageBox::Critical);
    QVERIFY2(shown.text.contains(u'"' + caption + u'"'), qPrintable(shown.text));
    QVERIFY(shown.text.contains(QStringLiteral("NUL")));
    // Only the launch after the text is mended reaches a terminal. The card
    // actions refuse before their dialog, the conversions after theirs.
    QString next = launch.fake.path(QStringLiteral("A.DMK"));
    if (!launch.prompts.fileRequests.isEmpty()) {
        next = launch.fake.path(QStringLiteral("B.DMK"));
        launch.prompts.answerFile(next);
    }
    launch.window.findChild<QLineEdit *>(box)->setText(QStringLiteral("-v1"));
    launch.click(button);
    QTRY_COMPARE_WITH_TIMEOUT(launch.fake.finished(toolKind), 1, timeoutMs);
    QCOMPARE(launch.fake.records(toolKind).at(0).argv.mid(1), (QStringList{QStringLiteral("-v1"), next}));
}

QTEST_MAIN(TestLaunchActions)
#include "tst_launchactions.moc"
