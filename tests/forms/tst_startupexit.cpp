#include "core/filefilter.h"
#include "core/settings/settingskeys.h"
#include "fakes/filesizelimit.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/common/dialogprompts.h"
#include "forms/common/optioncheckbox.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"
#include "support/modaldriver.h"
#include "support/optionsetsamples.h"

#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace ferncastle;
using test::firstRunOptions;

namespace {

const QString title = QStringLiteral("Larkvale Ferncastle");
#ifdef Q_OS_WIN
const QString toolsPromptText = QStringLiteral(
    "Path to DOS tools files is required.\rSearch for and select any one of the DOS tools .EXE "
    "files in the next window.");
#else
// Linux has no .EXE files: the prompt names the tools.
const QString toolsPromptText = QStringLiteral(
    "Path to DOS tools files is required.\rSearch for and select any one of the tools (cw2dmk, "
    "dmk2cw, dmk2jv3, jv2dmk) in the next window.");
#endif
const QString noToolsText = QStringLiteral("Path to DOS tools files required.\rProgram will now exit.");

class CloseCounter : public QObject
{
public:
    int closes = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        closes += event->type() == QEvent::Close;
        return false;
    }
};

// One start of the program as main() makes it, its questions answered from
// a script, its end and any close handling observed.
struct Run {
    explicit Run(const SettingsStore &settings)
        : window({prompts, launcher, settings, [this] { ++endings; }})
    {
        window.installEventFilter(&closeCounter);
    }

    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    int endings = 0;
    CloseCounter closeCounter;
    Moorfield window;

    bool start()
    {
        if (!window.Form_Load())
            return false;
        window.show();
        return true;
    }
};

QWidget *valueControl(Moorfield &window, int group)
{
    return window.fraOptions->findChild<QWidget *>(QLatin1String(optionGroups()[group].valueName));
}

OptionCheckBox *checkBox(Moorfield &window, int group)
{
    return window.fraOptions->findChild<OptionCheckBox *>(QLatin1String(optionGroups()[group].checkBoxName));
}

QStringList messageTexts(const test::ScriptedPrompts &prompts)
{
    QStringList texts;
    for (const auto &message : prompts.messages)
        texts << message.text;
    return texts;
}

} // namespace

class TestStartupExit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void firstRunAsksForTheToolsFolder_data();
    void firstRunAsksForTheToolsFolder();
    void cancelledToolsPromptEndsAndStoresNothing();
    void exitSavesAndTheNextStartShowsIt_data();
    void exitSavesAndTheNextStartShowsIt();
    void closeBoxSavesNothing();
    void storedBoxStateSetsEnabling_data();
    void storedBoxStateSetsEnabling();
    void firstDialogAfterRestartOpensInLastFolder();
    void storedFileHoldsExactlyTheKeys();
    void garbageInEveryKeyStillStarts_data();
    void garbageInEveryKeyStillStarts();
    void truncatedFileStartsAndIsKept();
    void unwritableLocationIsReported_data();
    void unwritableLocationIsReported();
    void failedExitKeepsTheEarlierFile();
    void realDialogsAskForTheToolsFolder_data();
    void realDialogsAskForTheToolsFolder();

private:
    void storeToolsFolder() const;
    QString toolsFolder() const { return m_bin.path() + u'/'; }
    const SettingsStore &settingsStore() const { return m_settings->settingsStore(); }

    QTemporaryDir m_bin;
    std::unique_ptr<test::SettingsFolder> m_settings;
};

// A terminal that does nothing, so that launch actions start a real
// process without opening a window, and tools beside it that can be started.
void TestStartupExit::initTestCase()
{
    const QString terminal = m_bin.filePath("x-terminal-emulator");
    QFile script(terminal);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexit 0\n");
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    for (const char *tool : {"cw2dmk", "dmk2cw", "dmk2jv3", "jv2dmk"})
        QVERIFY(QFile::copy(terminal, m_bin.filePath(QLatin1String(tool))));
    qputenv("PATH", m_bin.path().toLocal8Bit() + ':' + qgetenv("PATH"));
}

void TestStartupExit::init()
{
    m_settings = std::make_unique<test::SettingsFolder>();
}

void TestStartupExit::cleanup()
{
    m_settings.reset();
}

void TestStartupExit::storeToolsFolder() const
{
    m_settings->store(QLatin1String(keys::toolsFolder), "/opt/tools/");
}

void TestStartupExit::firstRunAsksForTheToolsFolder_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::newRow("a tool") << "/opt/cw tools/cw2dmk.exe";
    QTest::newRow("any file under All Files") << "/opt/cw tools/README";
}

void TestStartupExit::firstRunAsksForTheToolsFolder()
{
    QFETCH(QString, chosen);
    {
        Run run(settingsStore());
        run.prompts.answerFile(chosen);
        QVERIFY(run.start());
        QCOMPARE(run.window.currentOptions(), firstRunOptions());
        QCOMPARE(run.prompts.events, (QStringList{"message: " + toolsPromptText, "file dialog"}));
        QCOMPARE(run.prompts.messages.first().icon, QMessageBox::Information);
        QCOMPARE(run.prompts.messages.first().title, title);
        const FileRequest &request = run.prompts.fileRequests.first();
        QCOMPARE(request.mode, FileRequest::Mode::Open);
        QCOMPARE(request.title, "Select File...");
        QCOMPARE(request.initialDir, "");
        QCOMPARE(request.fileName, "");
        QCOMPARE(request.defaultExt, ".EXE");
        // On Linux the tools have no .EXE: the filter names them.
#ifdef Q_OS_WIN
        QCOMPARE(request.filter, "Executable Files (*.EXE)|*.EXE|All Files|*.*");
#else
        QCOMPARE(request.filter, "Disk Tools (cw2dmk, dmk2cw, dmk2jv3, jv2dmk)|"
                                 "cw2dmk;dmk2cw;dmk2jv3;jv2dmk|All Files|*.*");
#endif
        QCOMPARE(run.window.DosFilesPath, "/opt/cw tools/");
        QCOMPARE(run.window.CommonDialog1.InitDir, ""); // the prompt leaves the start folder
        QCOMPARE(m_settings->rereadStore()->childKeys(), QStringList{"DOS Files Path"});
        QCOMPARE(m_settings->rereadStore()->value(keys::toolsFolder).toString(), "/opt/cw tools/");
    } // closed without Exit: the folder is stored all the same
    Run next(settingsStore());
    QVERIFY(next.start());
    QVERIFY(next.prompts.events.isEmpty());
    QCOMPARE(next.window.DosFilesPath, "/opt/cw tools/");
}

void TestStartupExit::cancelledToolsPromptEndsAndStoresNothing()
{
    for (int attempt = 0; attempt < 2; ++attempt) { // nothing stored: asked again
        Run run(settingsStore());
        run.prompts.answerFile({});
        QVERIFY(!run.start());
        QCOMPARE(messageTexts(run.prompts), (QStringList{toolsPromptText, noToolsText}));
        QCOMPARE(run.prompts.messages.last().icon, QMessageBox::Critical);
        QCOMPARE(run.prompts.messages.last().title, title);
        QVERIFY(!run.window.isVisible());
        QCOMPARE(run.endings, 0); // main() ends the program: Form_Load said no
    }
    QVERIFY(QDir(m_settings->path()).isEmpty());
}

void TestStartupExit::exitSavesAndTheNextStartShowsIt_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::addColumn<QString>("extraParms");
    QTest::newRow("E&xit button") << false << "-v 2";
    QTest::newRow("File, E&xit") << true << "-v 2";
    // Beyond the 32,767 characters a QLineEdit holds unless told otherwise.
    QTest::newRow("40,000 characters of parameters") << false << "-v 2 -u " + QString(40000, u'l');
}

void TestStartupExit::exitSavesAndTheNextStartShowsIt()
{
    QFETCH(bool, byMenu);
    QFETCH(QString, extraParms);
    storeToolsFolder();
    OptionSet changed = firstRunOptions();
    {
        Run run(settingsStore());
        QVERIFY(run.start());
        run.window.checkBox(Kind)->click();
        run.window.list(Kind)->setCurrentIndex(3);
        run.window.checkBox(Retries)->click();
        run.window.textBox(Retries)->setText("5");
        run.window.list(Drive)->setCurrentIndex(1); // changed while its box is off
        run.window.txtExtraParms->setText(extraParms);
        QCOMPARE(run.window.txtExtraParms->text(), extraParms);
        run.window.txtOptionalParms->setText("-q");
        changed = run.window.currentOptions();
        // Preferences stores a new tools folder during the run; Exit must
        // not put the one it started with back.
        m_settings->store(QLatin1String(keys::toolsFolder), "/usr/local/cw/");
        if (byMenu)
            run.window.mnuExit->trigger();
        else
            run.window.cmdExit->click();
        QCOMPARE(run.endings, 1);
        QCOMPARE(run.closeCounter.closes, 0); // ended, not closed
        QVERIFY(!run.window.isVisible());
        QVERIFY(run.prompts.events.isEmpty());
    }
    Run next(settingsStore());
    QVERIFY(next.start());
    QVERIFY(QTest::qWaitForWindowActive(&next.window));
    QCOMPARE(next.window.currentOptions(), changed);
    QVERIFY(next.window.list(Kind)->isEnabled() && next.window.textBox(Retries)->isEnabled());
    QVERIFY(!next.window.list(Drive)->isEnabled());
    QCOMPARE(next.window.txtOptionalParms->text(), "");
    QCOMPARE(next.window.DosFilesPath, "/usr/local/cw/");
    QCOMPARE(QApplication::focusWidget(), next.window.checkBox(Drive));
}

void TestStartupExit::closeBoxSavesNothing()
{
    storeToolsFolder();
    OptionSet atExit;
    {
        Run run(settingsStore());
        QVERIFY(run.start());
        run.window.checkBox(Steps)->click();
        atExit = run.window.currentOptions();
        run.window.ExitProgram();
    }
    const QByteArray stored = m_settings->fileBytes();
    {
        Run run(settingsStore());
        QVERIFY(run.start());
        run.window.checkBox(Steps)->click();
        run.window.checkBox(Sides)->click();
        run.window.textBox(Tracks)->setText("40");
        QVERIFY(run.window.close());
        QCOMPARE(run.endings, 0);
        QVERIFY(run.prompts.events.isEmpty());
    }
    QCOMPARE(m_settings->fileBytes(), stored);
    Run next(settingsStore());
    QVERIFY(next.start());
    QCOMPARE(next.window.currentOptions(), atExit);
}

void TestStartupExit::storedBoxStateSetsEnabling_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<QString>("state");
    for (int i = 0; i < GroupCount; ++i) {
        for (const char *state : {"0", "1", "2"})
            QTest::addRow("%s %s", settingKeys()[i].name, state) << i << QString::fromLatin1(state);
    }
}

void TestStartupExit::storedBoxStateSetsEnabling()
{
    QFETCH(int, group);
    QFETCH(QString, state);
    storeToolsFolder();
    for (int i = 0; i < GroupCount; ++i) // the others ticked, so a stray rule shows
        m_settings->store(QLatin1String(settingKeys()[i].name), i == group ? state : "1");
    Run run(settingsStore());
    QVERIFY(run.start());
    QCOMPARE(int(checkBox(run.window, group)->value()), state.toInt());
    for (int i = 0; i < GroupCount; ++i)
        QCOMPARE(valueControl(run.window, i)->isEnabled(), i != group || state == "1");
}

void TestStartupExit::firstDialogAfterRestartOpensInLastFolder()
{
    storeToolsFolder();
    const QString images = QDir(m_settings->path()).filePath("images") + u'/';
    {
        Run run(settingsStore());
        QVERIFY(run.start());
        run.window.DosFilesPath = toolsFolder();
        run.prompts.answerFile(images + "disk.dsk");
        run.window.cmdJV3->click();
        QCOMPARE(run.window.CommonDialog1.InitDir, images);
        run.window.ExitProgram();
    }
    Run next(settingsStore());
    QVERIFY(next.start());
    next.window.DosFilesPath = toolsFolder();
    next.window.cmdDMK->click(); // cancelled
    QCOMPARE(next.prompts.fileRequests.first().initialDir, images);
}

void TestStartupExit::storedFileHoldsExactlyTheKeys()
{
    const QString images = QDir(m_settings->path()).filePath("images") + u'/';
    {
        Run run(settingsStore());
        run.prompts.answerFile("/opt/tools/cw2dmk.exe");
        QVERIFY(run.start());
        run.window.checkBox(Drive)->click();
        run.window.list(Drive)->setCurrentIndex(1);
        run.window.checkBox(Port)->click();
        run.window.textBox(Port)->setText("0x280");
        run.window.checkBox(Encoding)->setValue(Greyed);
        run.window.list(Sides)->setCurrentIndex(-1);
        run.window.txtExtraParms->setText("-v 2");
        run.window.DosFilesPath = toolsFolder(); // for this run only: Exit does not store it
        run.prompts.answerFile(images + "disk.dmk");
        run.window.cmdDMK->click();
        run.window.ExitProgram();
    }
    QStringList lines = QString::fromUtf8(m_settings->fileBytes()).split(u'\n', Qt::SkipEmptyParts);
    QStringList expected{"[Ferncastle]",
                         "CW%20Drive%20Enabled=1", "CW%20Port%20Enabled=1", "Kind%20Enabled=0",
                         "Steps%20Enabled=0", "Tracks%20Enabled=0", "Sides%20Enabled=0",
                         "Enconding%20Enabled=2", "Retries%20Enabled=0",
                         "CW%20Drive=1", "CW%20Port=0x280", "Kind=0", "Steps=0", "Tracks=86",
                         "Sides=-1", "Enconding=0", "Retries=4", "Extra%20Parameters=-v 2",
                         "Last%20Used%20Directory=" + images, "DOS%20Files%20Path=/opt/tools/"};
    lines.sort();
    expected.sort();
    QCOMPARE(lines, expected);
}

void TestStartupExit::garbageInEveryKeyStillStarts_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("text");      // what the text boxes then hold
    QTest::addColumn<bool>("asksForTools"); // the tools folder read as empty
    QTest::newRow("letters") << QByteArray("abc") << "abc" << false;
    QTest::newRow("fraction") << QByteArray("1.5") << "1.5" << false;
    QTest::newRow("no such state or entry") << QByteArray("7") << "7" << false;
    QTest::newRow("negative") << QByteArray("-5") << "-5" << false;
    QTest::newRow("beyond 16 bits") << QByteArray("70000") << "70000" << false;
    QTest::newRow("empty") << QByteArray("") << "" << true;
    QTest::newRow("unquoted list") << QByteArray("1,2") << "1, 2" << false;
    QTest::newRow("not text") << QByteArray("@Invalid()") << "" << true;
}

void TestStartupExit::garbageInEveryKeyStillStarts()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, text);
    QFETCH(bool, asksForTools);
    QByteArray file = "[Ferncastle]\n";
    for (const SettingKey &key : settingKeys())
        file += QByteArray(key.name).replace(' ', "%20") + '=' + stored + '\n';
    m_settings->writeFile(file);
    Run run(settingsStore());
    if (asksForTools)
        run.prompts.answerFile("/opt/tools/cw2dmk.exe");
    QVERIFY(run.start());
    QCOMPARE(run.prompts.messages.size(), asksForTools ? 1 : 0);
    QCOMPARE(run.window.DosFilesPath, asksForTools ? "/opt/tools/" : text);
    const OptionSet options = run.window.currentOptions();
    for (int i = 0; i < GroupCount; ++i) {
        QCOMPARE(options.groups[i].checkState, int(Unticked));
        QVERIFY(!valueControl(run.window, i)->isEnabled());
        if (optionGroups()[i].kind == ValueKind::List)
            QCOMPARE(options.groups[i].listIndex, QByteArray(optionGroups()[i].stored.defaultValue).toInt());
    }
    if (stored != "@Invalid()") {
        QCOMPARE(run.window.textBox(Port)->text(), text);
        QCOMPARE(run.window.textBox(Tracks)->text(), text);
        QCOMPARE(run.window.txtExtraParms->text(), text);
        QCOMPARE(run.window.CommonDialog1.InitDir, text);
    }
}

void TestStartupExit::truncatedFileStartsAndIsKept()
{
    const QByteArray truncated = "[Ferncastle]\nKind%20Enabled=1\nKind=3\nRetries=4\n"
                                 "DOS%20Files%20Path=/opt/tools/\nTrac";
    m_settings->writeFile(truncated);
    OptionSet restored = firstRunOptions();
    {
        Run run(settingsStore());
        QVERIFY(run.start());
        QVERIFY(run.prompts.events.isEmpty());
        restored.groups[Kind] = {Ticked, 3, {}};
        restored.groups[Retries].text = "4";
        QCOMPARE(run.window.currentOptions(), restored);
        QVERIFY(run.window.list(Kind)->isEnabled());
        run.window.ExitProgram();
        QVERIFY(run.prompts.events.isEmpty());
    }
    const QStringList copies = m_settings->damagedCopies();
    QCOMPARE(copies.size(), 1);
    QFile copy(QDir(m_settings->path()).filePath(copies.first()));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), truncated);
    QCOMPARE(m_settings->rereadStore()->childKeys().size(), SettingKeyCount);
    Run next(settingsStore());
    QVERIFY(next.start());
    QCOMPARE(next.window.currentOptions(), restored);
}

void TestStartupExit::unwritableLocationIsReported_data()
{
    QTest::addColumn<bool>("parentIsAFile");
    QTest::newRow("a folder where the file should be") << false;
    QTest::newRow("the config folder is a regular file") << true;
}

void TestStartupExit::unwritableLocationIsReported()
{
    QFETCH(bool, parentIsAFile);
    QString storeFile = m_settings->storeFile();
    if (parentIsAFile) {
        const QString blocker = QDir(m_settings->path()).filePath("config");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        storeFile = blocker + "/Larkvale.ini";
    } else {
        QVERIFY(QDir(m_settings->path()).mkdir("Larkvale.ini"));
    }
    const SettingsStore unwritable(storeFile);
    Run run(unwritable);
    run.prompts.answerFile("/opt/tools/cw2dmk.exe");
    QVERIFY(run.start()); // the folder is known for this run
    QCOMPARE(run.window.DosFilesPath, "/opt/tools/");
    QCOMPARE(run.prompts.messages.size(), 2);
    QCOMPARE(run.prompts.messages[1].icon, QMessageBox::Warning);
    QCOMPARE(run.prompts.messages[1].text,
             "The tools folder could not be saved to:\r" + storeFile
                 + "\rIt is used for this run and will be asked for again at the next start.");
    run.window.cmdExit->click();
    QCOMPARE(run.prompts.messages.size(), 3);
    QCOMPARE(run.prompts.messages[2].icon, QMessageBox::Critical);
    QCOMPARE(run.prompts.messages[2].title, title);
    QCOMPARE(run.prompts.messages[2].text, "The options could not be saved to:\r" + storeFile
                                               + "\rThe choices made in this run are lost.");
    QCOMPARE(run.endings, 1); // the program still ends
}

void TestStartupExit::failedExitKeepsTheEarlierFile()
{
    storeToolsFolder();
    {
        Run run(settingsStore());
        QVERIFY(run.start());
        run.window.checkBox(Tracks)->click();
        run.window.ExitProgram();
    }
    const QByteArray earlier = m_settings->fileBytes();
    {
        Run run(settingsStore());
        QVERIFY(run.start());
        run.window.txtExtraParms->setText(QString(3000, u'x'));
        test::FileSizeLimit nearlyFullDisk(1024);
        run.window.ExitProgram();
        QCOMPARE(messageTexts(run.prompts).size(), 1);
        QVERIFY(messageTexts(run.prompts).first().startsWith("The options could not be saved"));
        QCOMPARE(run.endings, 1);
    }
    QCOMPARE(m_settings->fileBytes(), earlier);
    Run next(settingsStore());
    QVERIFY(next.start());
    QCOMPARE(next.window.checkBox(Tracks)->value(), Ticked);
    QCOMPARE(next.window.txtExtraParms->text(), "");
}

void TestStartupExit::realDialogsAskForTheToolsFolder_data()
{
    QTest::addColumn<QString>("toolName");
    QTest::newRow("with the default extension") << "CW2DMK.EXE";
    QTest::newRow("without one, as tools are named here") << "cw2dmk";
}

void TestStartupExit::realDialogsAskForTheToolsFolder()
{
    QFETCH(QString, toolName);
    QTemporaryDir tools;
    const QString tool = tools.filePath(toolName);
    QVERIFY(QFile(tool).open(QIODevice::WriteOnly));
    QStringList shown;
    test::whenDialogShown<QMessageBox>([&shown](QMessageBox *box) {
        shown << box->windowTitle() << box->text() << QString::number(box->icon());
        box->button(QMessageBox::Ok)->click();
    });
    test::whenDialogShown<QFileDialog>([&shown, tool](QFileDialog *dialog) {
        shown << dialog->windowTitle() << dialog->nameFilters() << dialog->defaultSuffix()
              << QString::number(dialog->acceptMode());
        // Typed as a user would: selectFile() races the dialog's folder model.
        auto *fileName = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        fileName->setText(tool);
        QTest::keyClick(fileName, Qt::Key_Return);
    });
    QTimer watchdog; // an unexpected question fails the test instead of hanging it
    connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    watchdog.start(10000);

    DialogPrompts prompts;
    TerminalLauncher launcher;
    Moorfield window({prompts, launcher, settingsStore()});
    QVERIFY(window.Form_Load());
    QStringList expected{title, displayText(toolsPromptText),
                         QString::number(QMessageBox::Information), "Select File..."};
    expected << *toQtNameFilters(QLatin1String(filters::toolFiles)) << "EXE"
             << QString::number(QFileDialog::AcceptOpen);
    QCOMPARE(shown, expected);
    QCOMPARE(window.DosFilesPath, tools.path() + u'/');
    QCOMPARE(m_settings->rereadStore()->value(keys::toolsFolder).toString(), tools.path() + u'/');
}

QTEST_MAIN(TestStartupExit)
#include "tst_startupexit.moc"
