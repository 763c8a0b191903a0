// The main window's option sets: options files loaded and saved, built-in
// presets for common TRS-80 disks and the user's own, all applied alike.

#include "forms/main/moorfield.h"

#include "core/filefilter.h"
#include "core/identity.h"
#include "core/options/presets.h"
#include "core/settings/optionfileio.h"
#include "core/settings/userpresets.h"
#include "forms/common/prompts.h"
#include "forms/main/filechoice.h"
#include "platform/settings/settingsstore.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace ferncastle {

namespace {

const QString presetsTitle = QLatin1String(identity::title);

// A name shown in a menu: '&' would mark an access key.
QString menuText(QString name)
{
    return name.replace(u'&', QLatin1String("&&"));
}

} // namespace

QString Moorfield::userPresetsFolder() const
{
    return userPresetFolder(settingsStoreFolder(*m_settings.open()));
}

void Moorfield::fillPresetsMenu()
{
    mnuPresets->clear();
    for (const BuiltInPreset &preset : builtInPresets()) {
        QAction *item = mnuPresets->addAction(QString::fromUtf8(preset.name));
        item->setToolTip(QString::fromUtf8(preset.reason));
        connect(item, &QAction::triggered, this, [this, &preset] { applyOptions(presetOptions(preset)); });
    }
    const QList<UserPreset> own = listUserPresets(userPresetsFolder());
    if (!own.isEmpty())
        mnuPresets->addSeparator();
    for (const UserPreset &preset : own) {
        QAction *item = mnuPresets->addAction(menuText(preset.name));
        item->setToolTip(QStringLiteral("Your own preset, kept in %1").arg(QDir::toNativeSeparators(preset.file)));
        connect(item, &QAction::triggered, this, [this, file = preset.file] { loadUserPreset(file); });
    }
    mnuPresets->addSeparator();
    QAction *save = mnuPresets->addAction(QStringLiteral("Save Options as &Preset..."));
    save->setObjectName(QStringLiteral("mnuSavePreset"));
    save->setToolTip(QStringLiteral("Keeps the options as they stand now under a name of your own, "
                                    "listed here from then on."));
    connect(save, &QAction::triggered, this, &Moorfield::mnuSavePreset_Click);
}

// As Load Options: the whole file is checked before any control changes.
void Moorfield::loadUserPreset(const QString &file)
{
    const LoadedOptionFile loaded = loadOptionFile(file);
    if (loaded.options)
        applyOptions(*loaded.options);
    else
        m_prompts.showMessage(this, QMessageBox::Warning, presetsTitle, loaded.error);
}

void Moorfield::mnuSavePreset_Click()
{
    const QString name = m_prompts.askText(this, presetsTitle, QStringLiteral("Name of the preset:"));
    if (name.isEmpty())
        return;
    if (const QString problem = presetNameProblem(name); !problem.isEmpty()) {
        m_prompts.showMessage(this, QMessageBox::Warning, presetsTitle, problem);
        return;
    }
    const QString folder = userPresetsFolder();
    for (const UserPreset &preset : listUserPresets(folder)) {
        if (preset.name == name
            && !m_prompts.askYesNo(this, presetsTitle,
                                   QStringLiteral("A preset named \"%1\" exists. Replace it?").arg(name)))
            return;
    }
    const QString error = saveUserPreset(folder, name, currentOptions());
    if (!error.isEmpty())
        m_prompts.showMessage(this, QMessageBox::Critical, presetsTitle, error);
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
        m_prompts.showMessage(this, QMessageBox::Warning, presetsTitle, file.error);
}

void Moorfield::cmdSaveSettings_Click()
{
    if (!chooseFile(CommonDialog1, FileRequest::Mode::Save, ".DAT", filters::optionFiles))
        return;
    const QString error = saveOptionFile(CommonDialog1.FileName, currentOptions());
    if (!error.isEmpty())
        m_prompts.showMessage(this, QMessageBox::Critical, presetsTitle, error);
}

} // namespace ferncastle
