#include "platform/cardcheck/cardchecksetting.h"

#include "core/settings/settingskeys.h"
#include "platform/settings/settingsstore.h"

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
