#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "support/fakesystemtree.h"
#include "support/modaldriver.h"
#include "support/recordinglauncher.h"

#include "forms/cardcheck/cardcheckreport.h"
#include "forms/main/moorfield.h"
#include "platform/cardcheck/cardcheck.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

using namespace ferncastle;

namespace {

using test::RecordingLauncher;

enum class Computer { NoCard, AllFine };

// The real window with the real check, pointed at a fake /sys, /proc and
// /boot. With no card the tools will certainly not reach one.
class Scene
{
public:
    explicit Scene(Computer computer)
    {
        tree.addPciFolder();
        if (computer == Computer::AllFine)
            tree.addDevice(QStringLiteral("0000:03:00.0"), 0xE159, 0x0001, 0x5213, 0x0002);
        tree.setRelease("6.1.0-test");
        tree.write(QStringLiteral("boot/config-6.1.0-test"), "CONFIG_X86_IOPL_IOPERM=y\n");
        m_runsAsRoot = computer == Computer::AllFine;
        // Root's effective rights include taking ports; the user's are none.
        tree.write(QStringLiteral("proc/self/status"),
                   m_runsAsRoot ? "CapEff:\t000001ffffffffff\nCapBnd:\t000001ffffffffff\nNoNewPrivs:\t0\n"
                                : "CapEff:\t0\nCapBnd:\t000001ffffffffff\nNoNewPrivs:\t0\n");
        window.DosFilesPath = QStringLiteral("/opt/tools/");
    }

    // Clicks a tool button; a card question is recorded in the prompts'
    // events and answered as the button named would answer it.
    void click(const QString &button, const QString &answer, bool dontCheckAgain = false)
    {
        prompts.answerCardCheck({answer == QLatin1String("cmdStartAnyway"), dontCheckAgain});
        window.findChild<QPushButton *>(button)->click();
    }

    test::SettingsFolder settings;
    test::FakeSystemTree tree;
    test::ScriptedPrompts prompts;
    RecordingLauncher launcher;
    QStringList checkedFolders;
    Moorfield window{{prompts, launcher, settings.settingsStore(), {},
                      [this](const QString &toolsFolder) { return check(toolsFolder); }}};

private:
    CardCheckResult check(const QString &toolsFolder)
    {
        checkedFolders.append(toolsFolder);
        CardCheckSetup setup;
        setup.rootFolder = tree.root();
        setup.toolsFolder = toolsFolder;
        setup.architecture = QStringLiteral("x86_64");
        setup.runsAsRoot = m_runsAsRoot;
        return checkCard(setup);
    }

    bool m_runsAsRoot = false;
};

const QString cancel = QStringLiteral("cmdCancel");
const QString startAnyway = QStringLiteral("cmdStartAnyway");

} // namespace

class TestMoorfieldCardCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checkComesBeforeTheFileDialog_data();
    void checkComesBeforeTheFileDialog();
    void dontCheckAgainIsRemembered();
    void nothingIsAsked_data();
    void nothingIsAsked();
    void menuItemOpensTheReport();
};

void TestMoorfieldCardCheck::checkComesBeforeTheFileDialog_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("startedTool");
    const QStringList askedThenFile{QStringLiteral("question"), QStringLiteral("file dialog")};
    QTest::newRow("read, cancelled") << "cmdRead" << cancel << QStringList{"question"} << QString();
    QTest::newRow("write, cancelled") << "cmdWrite" << cancel << QStringList{"question"} << QString();
    QTest::newRow("read, started anyway") << "cmdRead" << startAnyway << askedThenFile << "cw2dmk";
    QTest::newRow("write, started anyway") << "cmdWrite" << startAnyway << askedThenFile << "dmk2cw";
}

void TestMoorfieldCardCheck::checkComesBeforeTheFileDialog()
{
    QFETCH(QString, button);
    QFETCH(QString, answer);
    QFETCH(QStringList, events);
    QFETCH(QString, startedTool);
    Scene scene(Computer::NoCard);
    scene.prompts.answerFile(QStringLiteral("/disks/game.dmk"));
    scene.click(button, answer);
    QCOMPARE(scene.prompts.events, events);
    QCOMPARE(scene.checkedFolders, QStringList{QStringLiteral("/opt/tools/")});
    if (startedTool.isEmpty()) {
        QVERIFY(scene.launcher.started.isEmpty());
        return;
    }
    QCOMPARE(scene.launcher.started.size(), 1);
    QCOMPARE(scene.launcher.started.first().tool, startedTool);
    QCOMPARE(scene.launcher.started.first().chosenFile, QStringLiteral("/disks/game.dmk"));
}

void TestMoorfieldCardCheck::dontCheckAgainIsRemembered()
{
    Scene scene(Computer::NoCard);
    scene.click(QStringLiteral("cmdRead"), cancel, true);
    QCOMPARE(scene.settings.rereadStore()->value(QStringLiteral("Skip Card Check")).toString(),
             QStringLiteral("1"));
    scene.click(QStringLiteral("cmdWrite"), cancel);
    QCOMPARE(scene.prompts.events, (QStringList{"question", "file dialog"}));
}

void TestMoorfieldCardCheck::nothingIsAsked_data()
{
    QTest::addColumn<bool>("allFine");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("extraParms");
    QTest::newRow("read, all fine") << true << "cmdRead" << QString();
    QTest::newRow("write, all fine") << true << "cmdWrite" << QString();
    QTest::newRow("read replaying a log") << false << "cmdRead" << "-k2 -R saved.log";
    QTest::newRow("conversion") << false << "cmdDMK" << QString();
}

void TestMoorfieldCardCheck::nothingIsAsked()
{
    QFETCH(bool, allFine);
    QFETCH(QString, button);
    QFETCH(QString, extraParms);
    Scene scene(allFine ? Computer::AllFine : Computer::NoCard);
    scene.window.txtExtraParms->setText(extraParms);
    scene.click(button, cancel);
    QCOMPARE(scene.prompts.events, QStringList{QStringLiteral("file dialog")});
}

void TestMoorfieldCardCheck::menuItemOpensTheReport()
{
    Scene scene(Computer::NoCard);
    scene.window.DosFilesPath = QStringLiteral("/elsewhere/tools/");
    QString report;
    test::whenDialogShown<CardCheckReport>([&report](CardCheckReport *dialog) {
        report = dialog->txtReport->toPlainText();
        dialog->cmdClose->click();
    });
    scene.window.mnuCheckCard->trigger();
    QVERIFY2(!report.isEmpty(), "the report did not show");
    QCOMPARE(scene.checkedFolders, QStringList{QStringLiteral("/elsewhere/tools/")});
    QVERIFY(scene.prompts.events.isEmpty());
}

QTEST_MAIN(TestMoorfieldCardCheck)
#include "tst_moorfieldcardcheck.moc"
