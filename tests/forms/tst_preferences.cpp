#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "support/captionfit.h"
#include "support/modaldriver.h"

#include "core/filefilter.h"
#include "core/settings/settingskeys.h"
#include "forms/common/dialogprompts.h"
#include "forms/main/moorfield.h"
#include "forms/preferences/frmpreferences.h"
#include "platform/run/terminallauncher.h"
#include "platform/settings/settingsstore.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

using namespace ferncastle;

namespace {

const QString emptyPathWarning = QStringLiteral("Tools path is empty. The previous path will be restored.");

// One store for the whole test program, emptied before each test: the
// helpers below and every window share it.
std::unique_ptr<test::SettingsFolder> settingsFolder;

const SettingsStore &settings()
{
    return settingsFolder->settingsStore();
}

void store(const char *key, const QString &value)
{
    settingsFolder->store(QLatin1String(key), value);
}

std::optional<QString> stored(const char *key)
{
    const auto store = settings().open();
    if (!store->contains(QLatin1String(key)))
        return std::nullopt;
    return store->value(QLatin1String(key)).toString();
}

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanupTestCase();

    void loadShowsStoredFolder_data();
    void loadShowsStoredFolder();
    void browsePutsChosenFolder_data();
    void browsePutsChosenFolder();
    void applyStoresTextAsTyped_data();
    void applyStoresTextAsTyped();
    void applyChecksTheFolder_data();
    void applyChecksTheFolder();
    void applyEmptyWarnsAndRestores_data();
    void applyEmptyWarnsAndRestores();
    void browseCancelThenApplyRestores();
    void applyThatCannotBeSavedIsReported();
    void enterAndEscDoNothing();
    void closeHasFocusAndTabOrderIsKept();
    void captionsFit();
    void mainWindowRereadsFolderAfterClose_data();
    void mainWindowRereadsFolderAfterClose();
    void realWarningBoxIsShownAndDismissed();
};

void TestPreferences::init()
{
    settingsFolder = std::make_unique<test::SettingsFolder>();
}

void TestPreferences::cleanupTestCase()
{
    settingsFolder.reset();
}

void TestPreferences::loadShowsStoredFolder_data()
{
    QTest::addColumn<std::optional<QString>>("storedPath");
    QTest::addColumn<QString>("shown");

    QTest::newRow("nothing stored") << std::optional<QString>() << QString();
    QTest::newRow("folder") << std::optional<QString>(QStringLiteral("/tools/")) << QStringLiteral("/tools/");
}

void TestPreferences::loadShowsStoredFolder()
{
    QFETCH(std::optional<QString>, storedPath);
    QFETCH(QString, shown);
    if (storedPath)
        store(keys::toolsFolder, *storedPath);

    test::ScriptedPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();
    QCOMPARE(dialog.txtToolPath->text(), shown);
}

void TestPreferences::browsePutsChosenFolder_data()
{
    QTest::addColumn<QString>("chosenFile");
    QTest::addColumn<QString>("shown");

    QTest::newRow("tool") << QStringLiteral("/tools/cw2dmk") << QStringLiteral("/tools/");
    QTest::newRow("any file") << QStringLiteral("/opt/disk tools/readme.txt")
                              << QStringLiteral("/opt/disk tools/");
    QTest::newRow("cancel") << QString() << QString();
    QTest::newRow("no folder part") << QStringLiteral("cw2dmk") << QString();
}

void TestPreferences::browsePutsChosenFolder()
{
    QFETCH(QString, chosenFile);
    QFETCH(QString, shown);
    store(keys::toolsFolder, QStringLiteral("/old/"));
    store(keys::lastUsedDirectory, QStringLiteral("/images/"));

    test::ScriptedPrompts prompts;
    prompts.answerFile(chosenFile);
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();
    dialog.CommonDialog1.FileName = QStringLiteral("/stale/name");
    dialog.cmdBrowse->click();

    QCOMPARE(dialog.txtToolPath->text(), shown);
    QCOMPARE(prompts.fileRequests.size(), 1);
    const FileRequest &request = prompts.fileRequests.first();
    QCOMPARE(request.mode, FileRequest::Mode::Open);
    QCOMPARE(request.title, QString());
    QCOMPARE(request.initialDir, QStringLiteral("/images/"));
    QCOMPARE(request.fileName, QString());
    QCOMPARE(request.defaultExt, QStringLiteral(".EXE"));
    QCOMPARE(request.filter, QLatin1String(filters::toolFiles));
    // Browse stores nothing.
    QCOMPARE(stored(keys::toolsFolder), QStringLiteral("/old/"));
    QCOMPARE(stored(keys::lastUsedDirectory), QStringLiteral("/images/"));
}

void TestPreferences::applyStoresTextAsTyped_data()
{
    QTest::addColumn<QString>("typed");

    QTest::newRow("chosen folder") << QStringLiteral("/tools/");
    QTest::newRow("no trailing separator") << QStringLiteral("/tools");
    QTest::newRow("windows folder") << QStringLiteral("C:\\TOOLS");
    QTest::newRow("blanks only") << QStringLiteral("   ");
    QTest::newRow("surrounding blanks, comma") << QStringLiteral(" /my tools, old/ ");
}

void TestPreferences::applyStoresTextAsTyped()
{
    QFETCH(QString, typed);
    store(keys::toolsFolder, QStringLiteral("/old/"));

    test::ScriptedPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();
    dialog.txtToolPath->setText(typed);
    prompts.answerYesNo(true); // none of these folders exists here: keep it all the same
    dialog.cmdApply->click();

    QCOMPARE(stored(keys::toolsFolder), typed);
    QCOMPARE(dialog.txtToolPath->text(), typed);
    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(prompts.messages[0].icon, QMessageBox::Question);
}

// %F stands for a real temporary folder that holds the files named in
// "files" (an x marks the ones that may be run).
void TestPreferences::applyChecksTheFolder_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QString>("question"); // empty: nothing is asked
    QTest::addColumn<bool>("stored");

    const QString keepIt = QStringLiteral("\rKeep it as the tools folder all the same?");
    const QString noTools = QStringLiteral("The folder %F holds none of the tools (cw2dmk, dmk2cw, "
                                           "dmk2jv3, jv2dmk) as a program that can be run.")
                            + keepIt;
    QTest::newRow("one tool, no trailing separator")
        << QStringLiteral("%F") << QStringList{QStringLiteral("jv2dmk x")} << false << QString() << true;
    QTest::newRow("every tool") << QStringLiteral("%F/")
                                << QStringList{QStringLiteral("cw2dmk x"), QStringLiteral("dmk2cw x"),
                                               QStringLiteral("dmk2jv3 x"), QStringLiteral("jv2dmk x")}
                                << false << QString() << true;
    QTest::newRow("missing, kept") << QStringLiteral("%F/nowhere") << QStringList() << true
                                   << QStringLiteral("The folder %F/nowhere does not exist.") + keepIt << true;
    QTest::newRow("missing, not kept") << QStringLiteral("%F/nowhere") << QStringList() << false
                                       << QStringLiteral("The folder %F/nowhere does not exist.") + keepIt
                                       << false;
    QTest::newRow("a file") << QStringLiteral("%F/cw2dmk") << QStringList{QStringLiteral("cw2dmk x")}
                            << false << QStringLiteral("%F/cw2dmk is a file, not a folder.") + keepIt
                            << false;
    QTest::newRow("empty folder, kept") << QStringLiteral("%F") << QStringList() << true << noTools << true;
    QTest::newRow("tool that cannot be run")
        << QStringLiteral("%F") << QStringList{QStringLiteral("cw2dmk")} << false << noTools << false;
    QTest::newRow("other programs only")
        << QStringLiteral("%F") << QStringList{QStringLiteral("cw2dmk.exe x"), QStringLiteral("readme x")}
        << false << noTools << false;
}

void TestPreferences::applyChecksTheFolder()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, files);
    QFETCH(bool, keep);
    QFETCH(QString, question);
    QFETCH(bool, stored);
    QTemporaryDir folder;
    for (const QString &file : files) {
        const QStringList nameAndMode = file.split(u' ');
        QFile tool(folder.filePath(nameAndMode.at(0)));
        QVERIFY(tool.open(QIODevice::WriteOnly));
        tool.write("#!/bin/sh\n");
        if (nameAndMode.size() > 1)
            QVERIFY(tool.setPermissions(tool.permissions() | QFileDevice::ExeOwner));
    }
    typed.replace(QLatin1String("%F"), folder.path());
    question.replace(QLatin1String("%F"), folder.path());
    store(keys::toolsFolder, QStringLiteral("/old/"));

    test::ScriptedPrompts prompts;
    prompts.answerYesNo(keep);
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();
    dialog.txtToolPath->setText(typed);
    dialog.cmdApply->click();

    QCOMPARE(prompts.events, question.isEmpty() ? QStringList() : QStringList{QStringLiteral("question: ") + question});
    QCOMPARE(::stored(keys::toolsFolder), stored ? typed : QStringLiteral("/old/"));
    QCOMPARE(dialog.txtToolPath->text(), typed); // left as typed, to be mended
}

void TestPreferences::applyEmptyWarnsAndRestores_data()
{
    QTest::addColumn<std::optional<QString>>("storedPath");

    QTest::newRow("folder stored") << std::optional<QString>(QStringLiteral("/old/"));
    QTest::newRow("nothing stored") << std::optional<QString>();
}

void TestPreferences::applyEmptyWarnsAndRestores()
{
    QFETCH(std::optional<QString>, storedPath);
    if (storedPath)
        store(keys::toolsFolder, *storedPath);

    test::ScriptedPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();
    dialog.txtToolPath->clear();
    dialog.cmdApply->click();

    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(prompts.messages[0].icon, QMessageBox::Warning);
    QCOMPARE(prompts.messages[0].title, QStringLiteral("Ferncastle"));
    QCOMPARE(prompts.messages[0].text, emptyPathWarning);
    QCOMPARE(dialog.txtToolPath->text(), storedPath.value_or(QString()));
    QCOMPARE(stored(keys::toolsFolder), storedPath);
}

void TestPreferences::browseCancelThenApplyRestores()
{
    store(keys::toolsFolder, QStringLiteral("/tools/"));
    test::ScriptedPrompts prompts;
    prompts.answerFile(QString());
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();

    dialog.cmdBrowse->click();
    QCOMPARE(dialog.txtToolPath->text(), QString());
    dialog.cmdApply->click();

    QCOMPARE(prompts.events, QStringList({QStringLiteral("file dialog"),
                                          QStringLiteral("message: ") + emptyPathWarning}));
    QCOMPARE(dialog.txtToolPath->text(), QStringLiteral("/tools/"));
    QCOMPARE(stored(keys::toolsFolder), QStringLiteral("/tools/"));
}

// A folder where the settings file should be makes every write fail.
void TestPreferences::applyThatCannotBeSavedIsReported()
{
    QVERIFY(QDir().mkpath(settingsFolder->storeFile()));
    test::ScriptedPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.txtToolPath->setText(QStringLiteral("/tools/"));
    prompts.answerYesNo(true); // keep the missing folder
    dialog.cmdApply->click();

    QCOMPARE(prompts.messages.size(), 2);
    QCOMPARE(prompts.messages[1].icon, QMessageBox::Warning);
    QCOMPARE(prompts.messages[1].text,
             QStringLiteral("The tools path could not be saved to:\r")
                 + settingsFolder->storeFile());
}

void TestPreferences::enterAndEscDoNothing()
{
    store(keys::toolsFolder, QStringLiteral("/old/"));
    test::ScriptedPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    for (QWidget *focus : std::initializer_list<QWidget *>{dialog.txtToolPath, dialog.cmdClose,
                                                           dialog.cmdApply, dialog.cmdBrowse}) {
        focus->setFocus();
        dialog.txtToolPath->clear(); // Apply would warn, Browse would ask
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(focus, key);
        QVERIFY2(dialog.isVisible(), qPrintable(focus->objectName()));
    }
    QVERIFY(prompts.events.isEmpty());
    QVERIFY(!dialog.cmdApply->isDefault() && !dialog.cmdClose->isDefault()
            && !dialog.cmdBrowse->isDefault());
}

void TestPreferences::closeHasFocusAndTabOrderIsKept()
{
    test::ScriptedPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    QCOMPARE(dialog.focusWidget(), dialog.cmdClose);

    QStringList tabOrder;
    QWidget *widget = dialog.cmdClose;
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            tabOrder << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != dialog.cmdClose);
    QCOMPARE(tabOrder, QStringList({QStringLiteral("cmdClose"), QStringLiteral("cmdApply"),
                                    QStringLiteral("txtToolPath"), QStringLiteral("cmdBrowse")}));
}

void TestPreferences::captionsFit()
{
    test::ScriptedPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    QCOMPARE(dialog.size(), QSize(347, 100));
    const QString misfits = test::captionMisfits({dialog.lblToolsPath, dialog.cmdApply,
                                                  dialog.cmdClose, dialog.cmdBrowse});
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits));
}

enum class Ending { CloseButton, CloseBox };

void TestPreferences::mainWindowRereadsFolderAfterClose_data()
{
    QTest::addColumn<bool>("apply");
    QTest::addColumn<Ending>("ending");
    QTest::addColumn<QString>("expected");

    QTest::newRow("apply, Close") << true << Ending::CloseButton << QStringLiteral("/new/");
    QTest::newRow("apply, close box") << true << Ending::CloseBox << QStringLiteral("/new/");
    QTest::newRow("typed only, Close") << false << Ending::CloseButton << QStringLiteral("/old/");
    QTest::newRow("typed only, close box") << false << Ending::CloseBox << QStringLiteral("/old/");
}

// The main window's folder may differ from the stored one; after the dialog
// the stored one counts.
void TestPreferences::mainWindowRereadsFolderAfterClose()
{
    QFETCH(bool, apply);
    QFETCH(Ending, ending);
    QFETCH(QString, expected);
    store(keys::toolsFolder, QStringLiteral("/old/"));
    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    Moorfield window({prompts, launcher, settings()});
    window.DosFilesPath = QStringLiteral("/stale/");
    prompts.answerYesNo(true); // keep "/new/", which does not exist

    QPointer<frmPreferences> shown;
    QString folderWhileOpen;
    test::whenModalShown([&](QWidget *modal) {
        shown = qobject_cast<frmPreferences *>(modal);
        if (!shown) {
            modal->close();
            return;
        }
        shown->txtToolPath->setText(QStringLiteral("/new/"));
        if (apply)
            QTest::mouseClick(shown->cmdApply, Qt::LeftButton);
        folderWhileOpen = window.DosFilesPath;
        if (ending == Ending::CloseButton)
            QTest::mouseClick(shown->cmdClose, Qt::LeftButton);
        else
            shown->close();
    });
    window.mnuPreferences_Click();

    QVERIFY(shown.isNull()); // unloaded, so the next opening starts afresh
    QCOMPARE(folderWhileOpen, QStringLiteral("/stale/"));
    QCOMPARE(window.DosFilesPath, expected);
    QCOMPARE(stored(keys::toolsFolder), expected); // what the next start reads
    QCOMPARE(prompts.events.size(), apply ? 1 : 0); // the question about "/new/"
}

void TestPreferences::realWarningBoxIsShownAndDismissed()
{
    store(keys::toolsFolder, QStringLiteral("/old/"));
    DialogPrompts prompts;
    frmPreferences dialog(prompts, settings(), nullptr);
    dialog.Form_Load();
    dialog.txtToolPath->clear();
    dialog.show();

    test::ShownMessage shown;
    test::readNextMessageBox(shown, &dialog);
    dialog.cmdApply->click();

    QCOMPARE(shown.title, QStringLiteral("Ferncastle"));
    QCOMPARE(shown.text, emptyPathWarning);
    QCOMPARE(shown.icon, QMessageBox::Warning);
    QCOMPARE(dialog.txtToolPath->text(), QStringLiteral("/old/"));
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(TestPreferences)
#include "tst_preferences.moc"
