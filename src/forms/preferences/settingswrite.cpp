#include "forms/preferences/settingswrite.h"

#include "core/settings/settingskeys.h"
#include "forms/common/prompts.h"
#include "platform/settings/settingsstore.h"

namespace ferncastle {

bool commitOrReport(QSettings &store, const WriteFailureReport &report)
{
    if (commitSettingsStore(store))
        return true;
    report.prompts.showMessage(report.parent, report.message.icon, report.message.title,
                               report.message.text(settingsStoreLocation(store)));
    return false;
}

bool storeToolsFolder(const SettingsStore &settings, const QString &folder,
                      const WriteFailureReport &report)
{
    const std::unique_ptr<QSettings> store = settings.open();
    store->setValue(QLatin1String(keys::toolsFolder), folder);
    return commitOrReport(*store, report);
}

} // namespace ferncastle
