#pragma once

#include "core/options/optionset.h"

#include <QList>
#include <QString>

namespace ferncastle {

// The user's own presets: options files (see optionfile.h) named after the
// preset, "<name>.DAT", in one folder beside the settings store.
struct UserPreset {
    QString name;
    QString file;
};

// "Ferncastle Presets" in the folder that holds the settings store.
QString userPresetFolder(const QString &settingsFolder);

// The presets in folder, sorted by name whatever the case; none
// when the folder does not exist.
QList<UserPreset> listUserPresets(const QString &folder);

// Why name cannot name a preset, as a sentence for the user; empty when it
// can. A name becomes a file name, so it may not hold a separator, start
// with a dot or be longer than a file name may be.
QString presetNameProblem(const QString &name);

// Saves options as the preset name, replacing one of that name; creates the
// folder when needed. Empty on success, else what went wrong.
QString saveUserPreset(const QString &folder, const QString &name, const OptionSet &options);

} // namespace ferncastle
