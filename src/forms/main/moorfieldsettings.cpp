// The main window's side of the settings store: what it restores at start,
// the tools prompt, and what Exit saves.

#include "forms/main/moorfield.h"

#include "core/filefilter.h"
#include "core/identity.h"
#include "core/modmain.h"
#include "core/settings/settingskeys.h"
#include "core/settings/storedsettings.h"
#include "forms/common/onelinelabel.h"
#include "forms/common/prompts.h"
#include "forms/preferences/settingswrite.h"
#include "platform/settings/settingsstore.h"

#include <QLabel>
#include <QStatusBar>

namespace ferncastle {

namespace {

const QString promptTitle = QLatin1String(identity::caption);

// The tools are .EXE files on Windows only; elsewhere they have no extension.
QString toolsFolderRequest()
{
#ifdef Q_OS_WIN
    const QString tools = QStringLiteral("the DOS tools .EXE files");
#else
    const QString tools = QStringLiteral("the tools (cw2dmk, dmk2cw, dmk2jv3, jv2dmk)");
#endif
    return QStringLiteral("Path to DOS tools files is required.\rSearch for and select any one of "
                          "%1 in the next window.")
        .arg(tools);
}

QString toolsFolderNotSaved(const QString &location)
{
    return QStringLiteral("The tools folder could not be saved to:\r%1\r"
                          "It is used for this run and will be asked for again at the next start.")
        .arg(location);
}

QString optionsNotSaved(const QString &location)
{
    return QStringLiteral("The options could not be saved to:\r%1\r"
                          "The choices made in this run are lost.")
        .arg(location);
}

QString terminalChoiceNotSaved(const QString &location)
{
    return QStringLiteral("The choice of where tools run could not be saved to:\r%1\r"
                          "Tools start where they did before.")
        .arg(location);
}

QString verifyChoiceNotSaved(const QString &location)
{
    return QStringLiteral("The choice to verify after writing could not be saved to:\r%1\r"
                          "Writes are verified as they were before.")
        .arg(location);
}

} // namespace

bool Moorfield::LoadSettings()
{
    mnuRunInTerminal->setChecked(m_settings.text(keys::runToolsInTerminal) == QLatin1String("1"));
    mnuVerifyAfterWriting->setChecked(m_settings.text(keys::verifyAfterWriting)
                                      != QLatin1String("0"));
    showVerifyNotice();
    const StoredSettings stored = readSettings(*m_settings.open());
    applyOptions(stored.options);
    CommonDialog1.InitDir = stored.lastUsedDirectory;
    DosFilesPath = stored.toolsFolder;
    return !DosFilesPath.isEmpty() || askForToolsFolder();
}

// False when the user declines: the program cannot run without its tools.
bool Moorfield::askForToolsFolder()
{
    m_prompts.showMessage(this, QMessageBox::Information, promptTitle, toolsFolderRequest());
    CommonDialog1.FileName.clear();
    CommonDialog1.DefaultExt = QStringLiteral(".EXE");
    CommonDialog1.Filter = QLatin1String(filters::toolFiles);
    CommonDialog1.ShowOpen();
    if (CommonDialog1.FileName.isEmpty()) {
        m_prompts.showMessage(this, QMessageBox::Critical, promptTitle,
                              QStringLiteral("Path to DOS tools files required.\rProgram will now exit."));
        return false;
    }
    DosFilesPath = modMain::GetFilePath(CommonDialog1.FileName);
    storeToolsFolder(m_settings, DosFilesPath,
                     {m_prompts, this, {QMessageBox::Warning, promptTitle, toolsFolderNotSaved}});
    return true;
}

// Stored at once, apart from the options Exit saves: the launcher reads the
// store at every start, so a choice that could not be stored is undone.
void Moorfield::mnuRunInTerminal_Click(bool checked)
{
    const std::unique_ptr<QSettings> store = m_settings.open();
    store->setValue(QLatin1String(keys::runToolsInTerminal),
                    checked ? QStringLiteral("1") : QStringLiteral("0"));
    if (!commitOrReport(*store, {m_prompts, this,
                                 {QMessageBox::Warning, promptTitle, terminalChoiceNotSaved}}))
        mnuRunInTerminal->setChecked(!checked);
    showVerifyNotice();
}

// Stored at once, as the terminal choice is: the launcher reads it at every
// write.
void Moorfield::mnuVerifyAfterWriting_Click(bool checked)
{
    const std::unique_ptr<QSettings> store = m_settings.open();
    store->setValue(QLatin1String(keys::verifyAfterWriting),
                    checked ? QStringLiteral("1") : QStringLiteral("0"));
    if (!commitOrReport(*store, {m_prompts, this,
                                 {QMessageBox::Warning, promptTitle, verifyChoiceNotSaved}}))
        mnuVerifyAfterWriting->setChecked(!checked);
    showVerifyNotice();
}

// A terminal shows the tool and nothing after it: the user is told that a
// write there is not read back.
void Moorfield::showVerifyNotice()
{
    if (!lblVerifyNotice) {
        // One line beside the preview, which keeps the larger share of the
        // bar; cut short, the whole sentence is in the tooltip.
        const QString notice = QStringLiteral("Tools run in a terminal: no verification will run after writing.");
        lblVerifyNotice = new OneLineLabel(notice);
        lblVerifyNotice->setObjectName(QStringLiteral("lblVerifyNotice"));
        lblVerifyNotice->setToolTip(notice);
        lblVerifyNotice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        statusBar()->addPermanentWidget(lblVerifyNotice, 1);
    }
    lblVerifyNotice->setVisible(mnuRunInTerminal->isChecked()
                                && mnuVerifyAfterWriting->isChecked());
}

void Moorfield::SaveSettings()
{
    const std::unique_ptr<QSettings> store = m_settings.open();
    writeOptions(*store, currentOptions(), CommonDialog1.InitDir);
    commitOrReport(*store, {m_prompts, this, {QMessageBox::Critical, promptTitle, optionsNotSaved}});
}

// Ends without closing the window, so that no close handler runs and
// nothing else is saved or asked.
void Moorfield::ExitProgram()
{
    SaveSettings();
    hide();
    m_endProgram();
}

} // namespace ferncastle
