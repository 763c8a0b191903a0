#include "forms/preferences/frmpreferences.h"

#include "core/filefilter.h"
#include "core/identity.h"
#include "core/modmain.h"
#include "core/settings/settingskeys.h"
#include "forms/common/appicon.h"
#include "forms/common/formbutton.h"
#include "forms/common/formfont.h"
#include "forms/common/prompts.h"
#include "forms/common/twips.h"
#include "forms/preferences/settingswrite.h"
#include "platform/run/toolcheck.h"
#include "platform/settings/settingsstore.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ferncastle {

namespace {

const QString programTitle = QLatin1String(identity::title);

QPushButton *button(QWidget *parent, const char *name, const char *caption, int left)
{
    return formButton(parent, name, caption, twipsRect(left, 960, 1335, 375));
}

QString toolsPathNotSaved(const QString &location)
{
    return QStringLiteral("The tools path could not be saved to:\r%1").arg(location);
}

} // namespace

frmPreferences::frmPreferences(Prompts &prompts, const SettingsStore &settings, QWidget *owner)
    : QDialog(owner), CommonDialog1(prompts, this), m_prompts(prompts), m_settings(settings)
{
    setObjectName(QStringLiteral("frmPreferences"));
    setWindowTitle(QStringLiteral("Ferncastle - Preferences"));
    setWindowIcon(appIcon());
    setFont(formFont());
    setModal(true);
    setFixedSize(twipsSize(5205, 1500));
    createControls();
    setTabOrder();
    connectSignals();
}

void frmPreferences::createControls()
{
    lblToolsPath = new QLabel(QStringLiteral("Path to Penwicks Tools"), this);
    lblToolsPath->setObjectName(QStringLiteral("lblToolsPath"));
    lblToolsPath->setGeometry(twipsRect(120, 120, 4935, 255));
    txtToolPath = new QLineEdit(this);
    txtToolPath->setObjectName(QStringLiteral("txtToolPath"));
    txtToolPath->setGeometry(twipsRect(120, 480, 4935, 285));
    lblToolsPath->setBuddy(txtToolPath);
    cmdBrowse = button(this, "cmdBrowse", "&Browse", 120);
    cmdApply = button(this, "cmdApply", "&Apply", 1920);
    cmdClose = button(this, "cmdClose", "&Close", 3720);
}

void frmPreferences::setTabOrder()
{
    QWidget::setTabOrder(cmdClose, cmdApply);
    QWidget::setTabOrder(cmdApply, txtToolPath);
    QWidget::setTabOrder(txtToolPath, cmdBrowse);
    cmdClose->setFocus();
}

void frmPreferences::connectSignals()
{
    connect(cmdBrowse, &QPushButton::clicked, this, &frmPreferences::cmdBrowse_Click);
    connect(cmdApply, &QPushButton::clicked, this, &frmPreferences::cmdApply_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmPreferences::cmdClose_Click);
}

void frmPreferences::Form_Load()
{
    txtToolPath->setText(m_settings.text(keys::toolsFolder));
}

// The file dialog starts where the main window's dialog stood at the last
// Exit. Browse stores nothing; a cancelled dialog empties the text box.
void frmPreferences::cmdBrowse_Click()
{
    CommonDialog1.InitDir = m_settings.text(keys::lastUsedDirectory);
    CommonDialog1.FileName.clear();
    CommonDialog1.DefaultExt = QStringLiteral(".EXE");
    CommonDialog1.Filter = QLatin1String(filters::toolFiles);
    CommonDialog1.ShowOpen();
    txtToolPath->setText(modMain::GetFilePath(CommonDialog1.FileName));
}

// The text is stored as typed: a folder without a trailing separator, or one
// of blanks only, is the user's choice. Only the empty text is refused; a
// folder that will not serve is kept only when the user says so, since the
// tools may be on a drive that is not mounted yet.
void frmPreferences::cmdApply_Click()
{
    const QString folder = txtToolPath->text();
    if (folder.isEmpty()) {
        m_prompts.showMessage(this, QMessageBox::Warning, programTitle,
                              QStringLiteral("Tools path is empty. The previous path will be restored."));
        txtToolPath->setText(m_settings.text(keys::toolsFolder));
        return;
    }
    const QString problem = toolsFolderProblem(folder);
    if (!problem.isEmpty()
        && !m_prompts.askYesNo(this, programTitle,
                               problem + QStringLiteral("\rKeep it as the tools folder all the same?")))
        return;
    storeToolsFolder(m_settings, folder,
                     {m_prompts, this, {QMessageBox::Warning, programTitle, toolsPathNotSaved}});
}

void frmPreferences::cmdClose_Click()
{
    accept();
}

void frmPreferences::keyPressEvent(QKeyEvent *event)
{
    // QDialog would close on Esc; this dialog has no cancel button.
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ferncastle
