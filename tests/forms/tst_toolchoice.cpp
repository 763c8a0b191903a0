#include "core/settings/settingskeys.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/main/moorfield.h"
#include "platform/run/choosinglauncher.h"
#include "support/recordinglauncher.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

using namespace ferncastle;

namespace {

using test::RecordingLauncher;

// The main window wired as main() wires it: the choice read from the
// store at every start.
struct ChoiceWindow {
    explicit ChoiceWindow(const char *stored = nullptr)
    {
        settings.store(QLatin1String(keys::toolsFolder), QStringLiteral("/tools/"));
        if (stored)
            settings.store(QLatin1String(keys::runToolsInTerminal), QLatin1String(stored));
        window.Form_Load();
    }

    QAction *item() const { return window.findChild<QAction *>(QStringLiteral("mnuRunInTerminal")); }

    QString startOne()
    {
        ToolCommand command;
        command.tool = QStringLiteral("cw2dmk");
        return launcher.start(command);
    }

    test::SettingsFolder settings;
    test::ScriptedPrompts prompts;
    RecordingLauncher terminal;
    RecordingLauncher runWindow;
    ChoosingLauncher launcher{terminal, runWindow, [this] {
        return settings.settingsStore().text(keys::runToolsInTerminal) == QLatin1String("1");
    }};
    Moorfield window{{prompts, launcher, settings.settingsStore(), [] {}}};
};

} // namespace

class TestToolChoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void itemFollowsTheSpecifiedOnes();
    void storedChoiceIsShownAndUsed_data();
    void storedChoiceIsShownAndUsed();
    void tickingSwitchesTheNextStart();
    void exitLeavesTheKeyAlone();
    void verifyChoiceIsStoredAtOnce_data();
    void verifyChoiceIsStoredAtOnce();
};

void TestToolChoice::itemFollowsTheSpecifiedOnes()
{
    ChoiceWindow run;
    const auto *options = run.window.findChild<QMenu *>(QStringLiteral("mnuOptions"));
    QStringList captions;
    for (const QAction *action : options->actions())
        captions.append(action->text());
    QCOMPARE(captions.mid(0, 4),
             (QStringList{QStringLiteral("&Load CatWeasel Options"),
                          QStringLiteral("&Save CatWeasel Options"), QStringLiteral("&Preferences"),
                          QStringLiteral("Run Tools in a &Terminal")}));
    QVERIFY(run.item()->isCheckable());
}

void TestToolChoice::storedChoiceIsShownAndUsed_data()
{
    QTest::addColumn<QString>("stored"); // "-": no key
    QTest::addColumn<bool>("terminal");

    QTest::newRow("an older store without the key") << "-" << false;
    QTest::newRow("terminal") << "1" << true;
    QTest::newRow("run window") << "0" << false;
    QTest::newRow("anything else") << "yes" << false;
}

void TestToolChoice::storedChoiceIsShownAndUsed()
{
    QFETCH(QString, stored);
    QFETCH(bool, terminal);
    const QByteArray value = stored.toLatin1();
    ChoiceWindow run(stored == QLatin1String("-") ? nullptr : value.constData());
    QCOMPARE(run.item()->isChecked(), terminal);
    QCOMPARE(run.startOne(), QString());
    QCOMPARE(run.terminal.started.size(), terminal ? 1 : 0);
    QCOMPARE(run.runWindow.started.size(), terminal ? 0 : 1);
}

void TestToolChoice::tickingSwitchesTheNextStart()
{
    ChoiceWindow run;
    run.item()->trigger();
    QCOMPARE(run.settings.settingsStore().text(keys::runToolsInTerminal), QStringLiteral("1"));
    run.startOne();
    QCOMPARE(run.terminal.tools(), QStringList{QStringLiteral("cw2dmk")});
    run.item()->trigger();
    QCOMPARE(run.settings.settingsStore().text(keys::runToolsInTerminal), QStringLiteral("0"));
    run.startOne();
    QCOMPARE(run.runWindow.tools(), QStringList{QStringLiteral("cw2dmk")});
    QVERIFY(run.prompts.messages.isEmpty());
}

// The specified keys are what Exit writes; the new one is written only
// when the user changes it.
void TestToolChoice::exitLeavesTheKeyAlone()
{
    ChoiceWindow run;
    run.window.ExitProgram();
    QVERIFY(!run.settings.rereadStore()->contains(QLatin1String(keys::runToolsInTerminal)));
}

void TestToolChoice::verifyChoiceIsStoredAtOnce_data()
{
    QTest::addColumn<QString>("stored"); // "-": no key
    QTest::addColumn<bool>("verify");

    QTest::newRow("absent means on") << "-" << true;
    QTest::newRow("off") << "0" << false;
    QTest::newRow("on") << "1" << true;
}

// Only with tools in a terminal and verifying on does the status bar say
// that the write there is not read back.
void TestToolChoice::verifyChoiceIsStoredAtOnce()
{
    QFETCH(QString, stored);
    QFETCH(bool, verify);
    test::SettingsFolder settings;
    if (stored != QLatin1String("-"))
        settings.store(QLatin1String(keys::verifyAfterWriting), stored);
    settings.store(QLatin1String(keys::runToolsInTerminal), QStringLiteral("1"));
    settings.store(QLatin1String(keys::toolsFolder), QStringLiteral("/tools/"));
    test::ScriptedPrompts prompts;
    RecordingLauncher launcher;
    Moorfield window{{prompts, launcher, settings.settingsStore(), [] {}}};
    window.Form_Load();
    auto *item = window.findChild<QAction *>(QStringLiteral("mnuVerifyAfterWriting"));
    auto *notice = window.findChild<QLabel *>(QStringLiteral("lblVerifyNotice"));
    QCOMPARE(item->isChecked(), verify);
    QCOMPARE(notice->isVisibleTo(&window), verify);
    item->trigger();
    QCOMPARE(settings.rereadStore()->value(QLatin1String(keys::verifyAfterWriting)).toString(),
             verify ? QStringLiteral("0") : QStringLiteral("1"));
    QCOMPARE(notice->isVisibleTo(&window), !verify);
    window.findChild<QAction *>(QStringLiteral("mnuRunInTerminal"))->trigger();
    QVERIFY(!notice->isVisibleTo(&window));
    QVERIFY(prompts.messages.isEmpty());
}

QTEST_MAIN(TestToolChoice)
#include "tst_toolchoice.moc"
