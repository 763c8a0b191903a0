#include "platform/cardchecksetting.h"

#include "platform/settingsstore.h"
#include "settings/settingskeys.h"

namespace ferncastle {

bool cardCheckSkipped(const SettingsStore &settings)
{
    return settings.text(keys::skipCardCheck) == QLatin1String("1");
}

bool storeCardCheckSkipped(const SettingsStore &settings, bool skipped)
{
    const auto store = settings.open();
    store->setValue(QLatin1String(keys::skipCardCheck),
                    skipped ? QStringLiteral("1") : QStringLiteral("0"));
    return commitSettingsStore(*store);
}

} // namespace ferncastle
