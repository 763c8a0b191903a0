#include "core/options/presets.h"
#include "core/settings/userpresets.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/main/moorfield.h"
#include "support/optionsetsamples.h"
#include "support/recordinglauncher.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTest>

using namespace ferncastle;
using namespace ferncastle::test;

namespace {

// A main window on a settings store in a temporary folder; the user's
// presets go beside it.
struct Window {
    SettingsFolder settings;
    ScriptedPrompts prompts;
    RecordingLauncher launcher;
    Moorfield window{{prompts, launcher, settings.settingsStore()}};

    Window() { window.applyOptions(firstRunOptions()); }

    QString presetFolder() const { return QDir(settings.path()).filePath(QStringLiteral("Ferncastle Presets")); }

    // The menu's items as the user sees them, separators as "-".
    QStringList items()
    {
        window.fillPresetsMenu();
        QStringList texts;
        for (const QAction *action : window.mnuPresets->actions())
            texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }

    void trigger(const QString &text)
    {
        window.fillPresetsMenu();
        for (QAction *action : window.mnuPresets->actions()) {
            if (action->text() == text)
                return action->trigger();
        }
        QFAIL(qPrintable(QStringLiteral("no item ") + text));
    }

    void saveAs(const QString &name)
    {
        prompts.answerText(name);
        trigger(QStringLiteral("Save Options as &Preset..."));
    }
};

OptionSet ownOptions()
{
    OptionSet options = firstRunOptions();
    options.groups[Drive] = {Ticked, 1, {}};
    options.groups[Retries] = {Ticked, -1, QStringLiteral("20")};
    options.extraParms = QStringLiteral("-v3");
    return options;
}

} // namespace

class TestPresetsMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void builtInPresetSetsEveryGroup_data();
    void builtInPresetSetsEveryGroup();
    void ownPresetIsSavedAndLoaded();
    void badNamesSaveNothing_data();
    void badNamesSaveNothing();
    void replacingAsksFirst_data();
    void replacingAsksFirst();
    void damagedPresetLeavesTheWindow();
};

// Whatever stood in the window before, a preset leaves exactly its own set,
// as a loaded options file would; its reason is its tooltip.
void TestPresetsMenu::builtInPresetSetsEveryGroup_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(builtInPresets().size()); ++i)
        QTest::newRow(builtInPresets()[i].name) << i;
}

void TestPresetsMenu::builtInPresetSetsEveryGroup()
{
    QFETCH(int, index);
    const BuiltInPreset &preset = builtInPresets()[index];
    Window w;
    w.window.applyOptions(ownOptions());

    w.trigger(QString::fromUtf8(preset.name));

    QCOMPARE(w.window.currentOptions(), presetOptions(preset));
    for (GroupIndex group : {Drive, Tracks, Retries})
        QCOMPARE(w.window.textBox(group) ? w.window.textBox(group)->isEnabled()
                                         : w.window.list(group)->isEnabled(),
                 presetOptions(preset).groups[group].checkState == Ticked);
    QVERIFY(w.prompts.events.isEmpty());
}

void TestPresetsMenu::ownPresetIsSavedAndLoaded()
{
    Window w;
    const QStringList builtIn = w.items();
    QVERIFY(!QDir(w.presetFolder()).exists()); // opening the menu creates nothing
    w.window.applyOptions(ownOptions());

    w.saveAs(QStringLiteral("Games & more"));
    w.saveAs(QStringLiteral("beta"));
    w.saveAs(QStringLiteral("Alpha"));

    QVERIFY(QFile::exists(QDir(w.presetFolder()).filePath(QStringLiteral("Games & more.DAT"))));
    QStringList expected = builtIn;
    expected.insert(builtIn.size() - 2, QStringLiteral("-"));
    expected.insert(builtIn.size() - 1, QStringLiteral("Alpha"));
    expected.insert(builtIn.size(), QStringLiteral("beta"));
    expected.insert(builtIn.size() + 1, QStringLiteral("Games && more"));
    QCOMPARE(w.items(), expected);

    w.window.applyOptions(firstRunOptions());
    w.trigger(QStringLiteral("Games && more"));
    QCOMPARE(w.window.currentOptions(), ownOptions());
    QCOMPARE(w.prompts.events.size(), 3); // the three names asked, nothing else
}

void TestPresetsMenu::badNamesSaveNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("warned"); // false: cancelled, nothing said

    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("blanks") << QStringLiteral("   ") << true;
    QTest::newRow("separator") << QStringLiteral("../escape") << true;
    QTest::newRow("backslash") << QStringLiteral("a\\b") << true;
    QTest::newRow("hidden file") << QStringLiteral(".hidden") << true;
    QTest::newRow("control character") << QStringLiteral("tab\there") << true;
    QTest::newRow("too long") << QString(201, u'x') << true;
}

void TestPresetsMenu::badNamesSaveNothing()
{
    QFETCH(QString, name);
    QFETCH(bool, warned);
    Window w;

    w.saveAs(name);

    QCOMPARE(w.prompts.messages.size(), warned ? 2 : 1);
    if (warned)
        QCOMPARE(w.prompts.messages.last().icon, QMessageBox::Warning);
    QVERIFY(listUserPresets(w.presetFolder()).isEmpty());
    QVERIFY(!QFile::exists(QDir(w.settings.path()).filePath(QStringLiteral("escape.DAT"))));
}

void TestPresetsMenu::replacingAsksFirst_data()
{
    QTest::addColumn<bool>("replace");
    QTest::newRow("replaced") << true;
    QTest::newRow("kept") << false;
}

void TestPresetsMenu::replacingAsksFirst()
{
    QFETCH(bool, replace);
    Window w;
    w.saveAs(QStringLiteral("mine"));
    w.window.applyOptions(ownOptions());

    w.prompts.answerYesNo(replace);
    w.saveAs(QStringLiteral("mine"));

    QCOMPARE(w.prompts.events.last(), QStringLiteral("question: A preset named \"mine\" exists. Replace it?"));
    w.window.applyOptions(OptionSet{});
    w.trigger(QStringLiteral("mine"));
    QCOMPARE(w.window.currentOptions(), replace ? ownOptions() : firstRunOptions());
}

void TestPresetsMenu::damagedPresetLeavesTheWindow()
{
    Window w;
    QVERIFY(QDir().mkpath(w.presetFolder()));
    QFile damaged(QDir(w.presetFolder()).filePath(QStringLiteral("broken.DAT")));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write("1\r\nnot an options file\r\n");
    damaged.close();
    w.window.applyOptions(ownOptions());

    w.trigger(QStringLiteral("broken"));

    QCOMPARE(w.window.currentOptions(), ownOptions());
    QCOMPARE(w.prompts.messages.size(), 1);
    QCOMPARE(w.prompts.messages[0].icon, QMessageBox::Warning);
}

QTEST_MAIN(TestPresetsMenu)
#include "tst_presetsmenu.moc"
