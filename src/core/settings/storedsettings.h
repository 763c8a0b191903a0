#pragma once

#include "core/options/optionset.h"
#include "core/settings/settingskeys.h"

#include <QString>
#include <QStringView>

#include <optional>

class QSettings;

namespace ferncastle {

// Everything the main window restores from the settings store.
struct StoredSettings {
    OptionSet options;
    QString lastUsedDirectory;
    QString toolsFolder;

    friend bool operator==(const StoredSettings &, const StoredSettings &) = default;
};

// What a first run starts with: every key at its default.
StoredSettings defaultSettings();

// Reads every key from the store's current group. A key that is missing,
// or holds a value that its control cannot take, reads as its default, so a
// hand-edited or half-written store still gives a usable set of options.
StoredSettings readSettings(const QSettings &store);

// Writes every key but the last in order, every value as text. The tools folder is
// never written here: only choosing it writes it.
void writeOptions(QSettings &store, const OptionSet &options, const QString &lastUsedDirectory);

// The text stored under a key for these values: "0"/"1" for a box, the
// list position ("-1" for none), a text unchanged.
QString textToStore(const SettingKey &key, const StoredSettings &values);

// Takes a key's stored text into values. A box state or a list position
// that storednumber.h refuses gives the key's default instead. Texts are
// taken unchanged.
void applyStoredText(const SettingKey &key, const QString &text, StoredSettings &values);

} // namespace ferncastle
