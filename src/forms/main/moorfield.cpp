#include "forms/main/moorfield.h"

#include "core/filefilter.h"
#include "core/identity.h"
#include "core/optionstring.h"
#include "forms/about/frmabout.h"
#include "forms/common/appicon.h"
#include "forms/common/formfont.h"
#include "forms/common/optioncheckbox.h"
#include "forms/common/prompts.h"
#include "forms/main/filechoice.h"
#include "forms/preferences/frmpreferences.h"
#include "platform/settingsstore.h"
#include "platform/sysinfo.h"
#include "platform/toollauncher.h"
#include "settings/optionfileio.h"
#include "settings/settingskeys.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace ferncastle {

namespace {

const QString formName = QStringLiteral("Moorfield");
const QString programTitle = QLatin1String(identity::title);

} // namespace

Moorfield::Moorfield(const MoorfieldServices &services, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      CommonDialog1(services.prompts, this, QStringLiteral("Select File...")),
      m_prompts(services.prompts),
      m_launcher(services.launcher),
      m_endProgram(services.endProgram ? services.endProgram : [] { QCoreApplication::exit(0); })
{
    setObjectName(formName);
    setWindowTitle(QLatin1String(identity::caption));
    setWindowIcon(appIcon());
    setFont(formFont());
    CommonDialog1.DefaultExt = QStringLiteral(".DMK");
    CommonDialog1.Filter = QLatin1String(filters::diskImages);
    createControls();
    createMenus();
    setTabOrder();
    connectSignals();
    setAcceptDrops(true);
}

Moorfield::~Moorfield() = default;

void Moorfield::connectSignals()
{
    for (OptionCheckBox *box : m_checkBoxes)
        connect(box, &QCheckBox::stateChanged, this, &Moorfield::UpdateOptionControls);
    connect(cmdRead, &QPushButton::clicked, this, &Moorfield::cmdRead_Click);
    connect(cmdWrite, &QPushButton::clicked, this, &Moorfield::cmdWrite_Click);
    connect(cmdDMK, &QPushButton::clicked, this, &Moorfield::cmdDMK_Click);
    connect(cmdJV3, &QPushButton::clicked, this, &Moorfield::cmdJV3_Click);
    connect(cmdLoadSettings, &QPushButton::clicked, this, &Moorfield::cmdLoadSettings_Click);
    connect(cmdSaveSettings, &QPushButton::clicked, this, &Moorfield::cmdSaveSettings_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Moorfield::ExitProgram);
    connect(mnuImageInfo, &QAction::triggered, this, &Moorfield::mnuImageInfo_Click);
    connect(mnuExit, &QAction::triggered, this, &Moorfield::ExitProgram);
    connect(mnuLoadOptions, &QAction::triggered, this, &Moorfield::cmdLoadSettings_Click);
    connect(mnuSaveOptions, &QAction::triggered, this, &Moorfield::cmdSaveSettings_Click);
    connect(mnuPreferences, &QAction::triggered, this, &Moorfield::mnuPreferences_Click);
    connect(mnuAbout, &QAction::triggered, this, &Moorfield::mnuAbout_Click);
}

bool Moorfield::Form_Load()
{
    if (!LoadSettings())
        return false;
    UpdateOptionControls();
    ckbDrive->setFocus();
    return true;
}

void Moorfield::UpdateOptionControls()
{
    for (int i = 0; i < GroupCount; ++i)
        m_valueControls[i]->setEnabled(m_checkBoxes[i]->value() == Ticked);
}

OptionSet Moorfield::currentOptions() const
{
    OptionSet options;
    for (int i = 0; i < GroupCount; ++i) {
        GroupState &group = options.groups[i];
        group.checkState = m_checkBoxes[i]->value();
        if (auto *list = qobject_cast<QComboBox *>(m_valueControls[i]))
            group.listIndex = list->currentIndex();
        else
            group.text = static_cast<QLineEdit *>(m_valueControls[i])->text();
    }
    options.extraParms = txtExtraParms->text();
    return options;
}

void Moorfield::applyOptions(const OptionSet &options)
{
    for (int i = 0; i < GroupCount; ++i)
        m_checkBoxes[i]->setValue(CheckValue(options.groups[i].checkState));
    for (int i = 0; i < GroupCount; ++i) {
        const GroupState &group = options.groups[i];
        if (auto *list = qobject_cast<QComboBox *>(m_valueControls[i]))
            list->setCurrentIndex(group.listIndex);
        else
            static_cast<QLineEdit *>(m_valueControls[i])->setText(group.text);
    }
    txtExtraParms->setText(options.extraParms);
}

void Moorfield::showWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        m_prompts.showMessage(this, QMessageBox::Warning, formName, warning);
}

QString Moorfield::BuildReadOptions()
{
    const OptionString options = buildReadOptions(currentOptions());
    showWarnings(options.warnings);
    return options.text;
}

QString Moorfield::BuildWriteOptions()
{
    const OptionString options = buildWriteOptions(currentOptions());
    showWarnings(options.warnings);
    return options.text;
}

void Moorfield::cmdRead_Click()
{
    runCardAction(cw2dmk, BuildReadOptions(), FileRequest::Mode::Save);
}

void Moorfield::cmdWrite_Click()
{
    runCardAction(dmk2cw, BuildWriteOptions(), FileRequest::Mode::Open);
}

void Moorfield::cmdDMK_Click()
{
    runConversionAction(dmk2jv3, ".DMK", filters::dmkImages);
}

void Moorfield::cmdJV3_Click()
{
    runConversionAction(jv2dmk, ".DSK", filters::dskImages);
}

// The options were built, and their warnings shown, before the dialog opens.
void Moorfield::runCardAction(Tool tool, const QString &options, FileRequest::Mode mode)
{
    if (!chooseFile(CommonDialog1, mode, ".DMK", filters::diskImages))
        return;
    startTool(assembleToolCommand(DosFilesPath, tool, options, CommonDialog1.FileName));
}

void Moorfield::runConversionAction(Tool tool, const char *defaultExt, const char *filter)
{
    if (!chooseFile(CommonDialog1, FileRequest::Mode::Save, defaultExt, filter))
        return;
    // Read after the dialog has closed.
    const QString optionalParms = txtOptionalParms->text();
    startTool(assembleToolCommand(DosFilesPath, tool, optionalParms, CommonDialog1.FileName));
}

void Moorfield::startTool(const ToolCommand &command)
{
    const QString error = m_launcher.start(command);
    if (!error.isEmpty())
        m_prompts.showMessage(this, QMessageBox::Critical, programTitle, error);
}

// The whole file is checked before any control changes, so a bad file
// leaves the window as it was.
void Moorfield::cmdLoadSettings_Click()
{
    if (!chooseFile(CommonDialog1, FileRequest::Mode::Open, ".DAT", filters::optionFiles))
        return;
    const LoadedOptionFile file = loadOptionFile(CommonDialog1.FileName);
    if (file.options)
        applyOptions(*file.options);
    else
        m_prompts.showMessage(this, QMessageBox::Warning, programTitle, file.error);
}

void Moorfield::cmdSaveSettings_Click()
{
    if (!chooseFile(CommonDialog1, FileRequest::Mode::Save, ".DAT", filters::optionFiles))
        return;
    const QString error = saveOptionFile(CommonDialog1.FileName, currentOptions());
    if (!error.isEmpty())
        m_prompts.showMessage(this, QMessageBox::Critical, programTitle, error);
}

// The dialog writes the store only; whatever it left there, applied or not,
// is the tools folder from now on.
void Moorfield::mnuPreferences_Click()
{
    frmPreferences preferences(m_prompts, this);
    preferences.Form_Load();
    preferences.exec();
    DosFilesPath = openSettingsStore()->value(QLatin1String(keys::dosFilesPath), QString()).toString();
}

void Moorfield::mnuAbout_Click()
{
    const std::unique_ptr<SystemInformation> systemInformation = platformSystemInformation();
    frmAbout about(m_prompts, *systemInformation, this);
    about.Form_Load();
    about.exec();
}

} // namespace ferncastle
