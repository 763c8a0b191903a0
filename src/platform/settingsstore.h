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

} // namespace ferncastle
