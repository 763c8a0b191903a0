#include "platform/settings/settingsstore.h"

#include "core/displaytext.h"
#include "core/identity.h"
#include "core/settings/settingskeys.h"
#include "platform/settings/settingsfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ferncastle {

namespace {

// Only the keys this program writes decide whether a save worked; other
// programs' sections are carried along as QSettings read them.
QMap<QString, QVariant> ownValues(const QSettings &store)
{
    QMap<QString, QVariant> values;
    for (const SettingKey &key : settingKeys()) {
        const QString name = QLatin1String(key.name);
        values.insert(store.group() + u'/' + name, store.contains(name) ? store.value(name) : QVariant());
    }
    return values;
}

} // namespace

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
    // A link in place of the file stays; the file it names is checked,
    // kept and, on a failed first write, removed.
    const QString fileName = followLinks(store.fileName());
    const std::optional<IniContents> before = readIniFromDisk(fileName);
    const bool wasWhole = !before || !before->found || before->whole;
    if (before)
        keepCopyIfDamaged(fileName, *before);
    const PreviousVersion previous = keepPreviousVersion(fileName);
    store.sync();
    // The status alone cannot be trusted: it also misses short writes, and
    // once a read has reported a format error a later write error is lost.
    // A file that was damaged before may stay so in the sections QSettings
    // cannot write back; a whole file must come back whole.
    // A check that cannot run is no proof of a failed write: undoing a
    // good write for it would lose the values for sure.
    const std::optional<IniContents> after = readIniFromDisk(fileName);
    const bool stored = after ? after->found && fileHoldsValues(*after, ownValues(store), wasWhole)
                              : store.status() == QSettings::NoError;
    if (!stored)
        restorePreviousVersion(previous, fileName);
    forgetPreviousVersion(previous);
    return stored;
}

QString settingsStoreFolder(const QSettings &store)
{
    if (store.format() == QSettings::IniFormat)
        return QFileInfo(store.fileName()).absolutePath();
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

QString settingsStoreLocation(const QSettings &store)
{
    if (store.format() == QSettings::IniFormat)
        return shortenedForDisplay(QDir::toNativeSeparators(store.fileName()));
    return shortenedForDisplay(QString(store.fileName() + u'\\' + store.group()));
}

} // namespace ferncastle
