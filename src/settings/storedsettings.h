#pragma once

#include "core/optionset.h"
#include "settings/settingskeys.h"

#include <QString>
#include <QStringView>

#include <optional>

class QSettings;

namespace ferncastle {

// Everything the main window restores from the settings store.
struct StoredSettings {
    OptionSet options;
    QString lastUsedDirectory;
    QString dosFilesPath;

    friend bool operator==(const StoredSettings &, const StoredSettings &) = default;
};

// What a first run starts with: every key at its default.
StoredSettings defaultSettings();

// Reads the 19 keys from the store's current group. A key that is missing,
// or holds a value that its control cannot take, reads as its default, so a
// hand-edited or half-written store still gives a usable set of options.
StoredSettings readSettings(const QSettings &store);

// Writes keys 1 to 18 in order, every value as text. The tools folder is
// never written here: only choosing it writes it.
void writeOptions(QSettings &store, const OptionSet &options, const QString &lastUsedDirectory);

// The text stored under a key for these values: "0"/"1" for a box, the
// list position ("-1" for none), a text unchanged.
QString storedText(const SettingKey &key, const StoredSettings &values);

// Takes a key's stored text into values. A box state other than 0, 1 or 2,
// a list position that is neither -1 nor a position of its list, or a text
// that is not a whole 16-bit number where one is expected gives the key's
// default instead. Texts are taken unchanged.
void applyStoredText(const SettingKey &key, const QString &text, StoredSettings &values);

// "12", " -1 ", "+3": decimal digits with an optional sign and blanks
// around, within -32768..32767. "1.5", "0x1" and "" are not whole numbers.
std::optional<qint16> wholeNumber(QStringView text);

} // namespace ferncastle
