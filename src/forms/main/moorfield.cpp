#include "forms/main/moorfield.h"

#include "core/filefilter.h"
#include "core/identity.h"
#include "core/options/argumenttext.h"
#include "core/run/imagefindings.h"
#include "core/settings/settingskeys.h"
#include "forms/about/frmabout.h"
#include "forms/common/appicon.h"
#include "forms/common/formfont.h"
#include "forms/common/optioncheckbox.h"
#include "forms/common/prompts.h"
#include "forms/main/commandpreview.h"
#include "forms/main/filechoice.h"
#include "forms/main/moorfieldlayout.h"
#include "forms/preferences/frmpreferences.h"
#include "platform/run/toollauncher.h"
#include "platform/settings/settingsstore.h"
#include "platform/sysinfo.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <utility>

namespace ferncastle {

namespace {

const QString formName = QStringLiteral("Moorfield");
const QString programTitle = QLatin1String(identity::title);

// True when a text cannot be handed to a tool; the user has been told why.
bool refused(Prompts &prompts, QWidget *parent, const QString &refusal)
{
    if (refusal.isEmpty())
        return false;
    prompts.showMessage(parent, QMessageBox::Critical, programTitle, refusal);
    return true;
}

} // namespace

Moorfield::Moorfield(const MoorfieldServices &services, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      CommonDialog1(services.prompts, this, QStringLiteral("Select File...")),
      m_prompts(services.prompts),
      m_launcher(services.launcher),
      m_settings(services.settings),
      m_endProgram(services.endProgram ? services.endProgram : [] { QCoreApplication::exit(0); }),
      m_cardCheck(services.cardCheck)
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
    connectPreview();
    setAcceptDrops(true);
}

// The preview goes first: the window's teardown moves the focus, and the
// preview must not rebuild from half-destroyed controls.
Moorfield::~Moorfield()
{
    delete std::exchange(m_preview, nullptr);
}

void Moorfield::connectSignals()
{
    for (const GroupWidgets &group : m_groups)
        connect(group.checkBox, &QCheckBox::stateChanged, this, &Moorfield::UpdateOptionControls);
    for (const ToolButton &tool : toolButtons())
        connect(this->*tool.button, &QPushButton::clicked, this, tool.click);
    connect(cmdLoadSettings, &QPushButton::clicked, this, &Moorfield::cmdLoadSettings_Click);
    connect(cmdSaveSettings, &QPushButton::clicked, this, &Moorfield::cmdSaveSettings_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Moorfield::ExitProgram);
    connect(mnuImageInfo, &QAction::triggered, this, &Moorfield::mnuImageInfo_Click);
    connect(mnuExit, &QAction::triggered, this, &Moorfield::ExitProgram);
    connect(mnuLoadOptions, &QAction::triggered, this, &Moorfield::cmdLoadSettings_Click);
    connect(mnuSaveOptions, &QAction::triggered, this, &Moorfield::cmdSaveSettings_Click);
    connect(mnuPresets, &QMenu::aboutToShow, this, &Moorfield::fillPresetsMenu);
    connect(mnuPreferences, &QAction::triggered, this, &Moorfield::mnuPreferences_Click);
    connect(mnuRunInTerminal, &QAction::triggered, this, &Moorfield::mnuRunInTerminal_Click);
    connect(mnuVerifyAfterWriting, &QAction::triggered, this,
            &Moorfield::mnuVerifyAfterWriting_Click);
    connect(mnuCheckCard, &QAction::triggered, this, &Moorfield::mnuCheckCard_Click);
    connect(mnuAbout, &QAction::triggered, this, &Moorfield::mnuAbout_Click);
}

// The preview is built once, when every stored value and the tools folder
// are in place.
bool Moorfield::Form_Load()
{
    m_preview->hold();
    const bool loaded = LoadSettings();
    m_preview->release();
    if (!loaded)
        return false;
    UpdateOptionControls();
    checkBox(Drive)->setFocus();
    return true;
}

OptionCheckBox *Moorfield::checkBox(GroupIndex group) const
{
    return m_groups[group].checkBox;
}

QComboBox *Moorfield::list(GroupIndex group) const
{
    return qobject_cast<QComboBox *>(m_groups[group].value);
}

QLineEdit *Moorfield::textBox(GroupIndex group) const
{
    return qobject_cast<QLineEdit *>(m_groups[group].value);
}

void Moorfield::UpdateOptionControls()
{
    for (const GroupWidgets &group : m_groups)
        group.value->setEnabled(group.checkBox->value() == Ticked);
}

OptionSet Moorfield::currentOptions() const
{
    OptionSet options;
    for (int i = 0; i < GroupCount; ++i) {
        GroupState &state = options.groups[i];
        state.checkState = checkBox(GroupIndex(i))->value();
        if (QComboBox *values = list(GroupIndex(i)))
            state.listIndex = values->currentIndex();
        else
            state.text = textBox(GroupIndex(i))->text();
    }
    options.extraParms = txtExtraParms->text();
    return options;
}

void Moorfield::applyOptions(const OptionSet &options)
{
    m_preview->hold();
    for (int i = 0; i < GroupCount; ++i)
        checkBox(GroupIndex(i))->setValue(CheckValue(options.groups[i].checkState));
    for (int i = 0; i < GroupCount; ++i) {
        const GroupState &state = options.groups[i];
        if (QComboBox *values = list(GroupIndex(i)))
            values->setCurrentIndex(state.listIndex);
        else
            textBox(GroupIndex(i))->setText(state.text);
    }
    txtExtraParms->setText(options.extraParms);
    m_preview->release();
}

void Moorfield::showWarnings(const QStringList &warnings)
{
    for (const QString &warning : warnings)
        m_prompts.showMessage(this, QMessageBox::Warning, formName, warning);
}

void Moorfield::cmdRead_Click()
{
    runToolAction(ToolActionId::DiskToImage);
}

void Moorfield::cmdWrite_Click()
{
    runToolAction(ToolActionId::ImageToDisk);
}

void Moorfield::cmdDMK_Click()
{
    runToolAction(ToolActionId::DmkToJv);
}

void Moorfield::cmdJV3_Click()
{
    runToolAction(ToolActionId::JvToDmk);
}

RunInputs Moorfield::runInputs() const
{
    return {currentOptions(), txtOptionalParms->text(), DosFilesPath};
}

// The warnings come before the dialog, and a run the tool would misread,
// or a tool that cannot be started, stops there. The run is built again once the dialog has closed: the
// optional parameters are read then, and the chosen file is looked at.
void Moorfield::runToolAction(ToolActionId id)
{
    const ToolRow &row = toolRow(id);
    const PlannedRun before = planToolRun(id, runInputs(), QLatin1String(unchosenFile));
    showWarnings(before.warnings);
    if (refused(m_prompts, this, before.refusal) || before.stopsRun)
        return;
    if (refused(m_prompts, this, m_launcher.cannotStart(before.command)))
        return;
    if (!cardCheckAllows(row, before.optionArguments))
        return;
    const auto mode = row.dialog == DialogForm::Save ? FileRequest::Mode::Save
                                                     : FileRequest::Mode::Open;
    if (!chooseFile(CommonDialog1, mode, row.defaultExt, row.filter))
        return;
    const PlannedRun run = planToolRun(id, runInputs(), CommonDialog1.FileName);
    if (run.stopsRun) {
        showWarnings(run.warnings);
        refused(m_prompts, this, run.refusal);
        return;
    }
    if (row.writesChosenImageToDisk && !mayWriteToDisk(run.command.chosenFile))
        return;
    if (mayWriteOutput(run.command) && startTool(run.command))
        m_preview->showStarted(run);
}

// A damaged image written to a disk passes its faults on to the disk, so
// they are listed first; the tool is not started unless the user agrees.
bool Moorfield::mayWriteToDisk(const QString &image)
{
    const QString question = imageToDiskQuestion(image);
    return question.isEmpty() || m_prompts.askYesNo(this, programTitle, question);
}

bool Moorfield::mayWriteOutput(const ToolCommand &command)
{
    const OutputDecision decision = decideOutput(command);
    switch (decision.verdict) {
    case OutputDecision::Refuse:
        m_prompts.showMessage(this, QMessageBox::Warning, programTitle, decision.text);
        return false;
    case OutputDecision::Ask:
        return m_prompts.askYesNo(this, programTitle, decision.text);
    case OutputDecision::Start:
        break;
    }
    return true;
}

bool Moorfield::startTool(const ToolCommand &command)
{
    const QString error = m_launcher.start(command);
    if (!error.isEmpty())
        m_prompts.showMessage(this, QMessageBox::Critical, programTitle, error);
    return error.isEmpty();
}

// The dialog writes the store only; whatever it left there, applied or not,
// is the tools folder from now on.
void Moorfield::mnuPreferences_Click()
{
    frmPreferences preferences(m_prompts, m_settings, this);
    preferences.Form_Load();
    preferences.exec();
    DosFilesPath = m_settings.text(keys::toolsFolder);
    m_preview->optionsChanged();
}

void Moorfield::mnuAbout_Click()
{
    const std::unique_ptr<SystemInformation> systemInformation = platformSystemInformation();
    frmAbout about(m_prompts, *systemInformation, this);
    about.Form_Load();
    about.exec();
}

} // namespace ferncastle
