#include "platform/cardchecksetting.h"

#include "platform/settingsstore.h"
#include "settings/settingskeys.h"

namespace ferncastle {

bool cardCheckSkipped()
{
    return openSettingsStore()->value(QLatin1String(keys::skipCardCheck)).toString()
           == QLatin1String("1");
}

bool storeCardCheckSkipped(bool skipped)
{
    const auto store = openSettingsStore();
    store->setValue(QLatin1String(keys::skipCardCheck),
                    skipped ? QStringLiteral("1") : QStringLiteral("0"));
    return commitSettingsStore(*store);
}

} // namespace ferncastle
