#include "platform/settingsstore.h"

#include "core/identity.h"
#include "platform/settingsfile.h"

#include <QDir>

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
                                                QLatin1String(identity::maker), QString());
#endif
    settings->beginGroup(QLatin1String(identity::title));
    return settings;
}

std::unique_ptr<QSettings> SettingsStore::open() const
{
    if (m_iniFile.isEmpty())
        return openSettingsStore();
    auto settings = std::make_unique<QSettings>(m_iniFile, QSettings::IniFormat);
    settings->beginGroup(QLatin1String(identity::title));
    return settings;
}

QString SettingsStore::text(const char *key) const
{
    return open()->value(QLatin1String(key), QString()).toString();
}

bool commitSettingsStore(QSettings &store)
{
    if (store.format() != QSettings::IniFormat) {
        store.sync();
        return store.status() == QSettings::NoError;
    }
    const QString fileName = store.fileName();
    keepCopyIfDamaged(fileName);
    const PreviousVersion previous = keepPreviousVersion(fileName);
    store.sync();
    // The status alone cannot be trusted: it also misses short writes, and
    // once a read has reported a format error a later write error is lost.
    const bool stored = fileHoldsCachedValues(fileName);
    if (!stored)
        restorePreviousVersion(previous, fileName);
    forgetPreviousVersion(previous);
    return stored;
}

QString settingsStoreLocation(const QSettings &store)
{
    if (store.format() == QSettings::IniFormat)
        return QDir::toNativeSeparators(store.fileName());
    return store.fileName() + u'\\' + store.group();
}

} // namespace ferncastle
