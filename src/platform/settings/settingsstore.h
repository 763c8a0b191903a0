#pragma once

#include <QSettings>

#include <memory>

namespace ferncastle {

// The per-user settings store of the application "Larkvale", opened on its
// section "Ferncastle". Every value in it is a string.
//
// On Linux: one INI file, Larkvale.ini, in the user's configuration folder
// ($XDG_CONFIG_HOME, else ~/.config), section [Ferncastle].
// On Windows: the registry key Larkvale\Ferncastle under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings, where the
// earlier Windows versions kept these values.
std::unique_ptr<QSettings> openSettingsStore();

// Where the windows keep their settings, handed to them like their other
// services: the user's store, or an INI file of the caller's choice (each
// test gives each window a store of its own).
class SettingsStore
{
public:
    SettingsStore() = default; // the user's store
    explicit SettingsStore(const QString &iniFile) : m_iniFile(iniFile) {}

    // Opened on the section "Ferncastle".
    std::unique_ptr<QSettings> open() const;

    // The text stored under key, or the empty string.
    QString text(const char *key) const;

private:
    QString m_iniFile; // empty: the user's store
};

// Writes the store's changes through and makes sure they arrived. False
// when they are not stored; the caller tells the user.
//
// For an INI file this also guards what QSettings does not:
// - a file with lines QSettings could not read loses them when it is
//   rewritten, so such a file is first copied beside itself as
//   "<file>.damaged-<yyyyMMdd-HHmmss>";
// - QSettings replaces the file even after a short write (a disk that is
//   nearly full) and reports success, so the new file is read back, and if
//   it does not hold every value the earlier file is put back;
// - a symbolic link in place of the file is kept and written through,
//   also when the file it names does not exist yet.
bool commitSettingsStore(QSettings &store);

// The folder the store's INI file lies in; for the registry, the
// application's own configuration folder. Files that belong with the
// settings (the user's presets) go there.
QString settingsStoreFolder(const QSettings &store);

// Where the store keeps its values, as the user would look for it: the
// INI file's path, or the registry key, shortened for display.
QString settingsStoreLocation(const QSettings &store);

} // namespace ferncastle
