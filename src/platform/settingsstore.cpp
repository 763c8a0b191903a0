#include "platform/settingsstore.h"

namespace ferncastle {

std::unique_ptr<QSettings> openSettingsStore()
{
#ifdef Q_OS_WIN
    auto settings = std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Larkvale"),
        QSettings::NativeFormat);
#else
    // An empty application name makes QSettings use <organization>.ini.
    auto settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                QStringLiteral("Larkvale"), QString());
#endif
    settings->beginGroup(QStringLiteral("Ferncastle"));
    return settings;
}

} // namespace ferncastle
