#include "core/settings/storedsettings.h"

#include "core/settings/storednumber.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace ferncastle {

namespace {

bool isList(const SettingKey &key)
{
    return optionGroups()[key.group].kind == ValueKind::List;
}

StoredNumber numberFor(const SettingKey &key, QStringView text)
{
    if (key.kind == SettingKind::CheckState)
        return storedBoxState(text);
    return storedListPosition(text, optionGroups()[key.group]);
}

int acceptedNumber(const SettingKey &key, QStringView text)
{
    if (const std::optional<int> number = numberFor(key, text).value)
        return *number;
    return numberFor(key, QString::fromLatin1(key.defaultValue)).value.value();
}

void applyGroupValue(const SettingKey &key, const QString &text, GroupState &group)
{
    if (isList(key))
        group.listIndex = acceptedNumber(key, text);
    else
        group.text = text;
}

std::optional<QString> textOf(const QVariant &value)
{
    // An unquoted value with commas in a hand-edited INI file reads as a
    // list; join it back the way QSettings writes lists.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1String(", "));
    if (!value.isValid() || !value.canConvert<QString>())
        return std::nullopt;
    return value.toString();
}

QString readText(const QSettings &store, const SettingKey &key)
{
    const QString name = QLatin1String(key.name);
    if (store.contains(name)) {
        if (const std::optional<QString> text = textOf(store.value(name)))
            return *text;
    }
    return QLatin1String(key.defaultValue);
}

} // namespace

void applyStoredText(const SettingKey &key, const QString &text, StoredSettings &values)
{
    switch (key.kind) {
    case SettingKind::CheckState:
        values.options.groups[key.group].checkState = acceptedNumber(key, text);
        return;
    case SettingKind::GroupValue:
        applyGroupValue(key, text, values.options.groups[key.group]);
        return;
    case SettingKind::ExtraParms:
        values.options.extraParms = text;
        return;
    case SettingKind::LastUsedDirectory:
        values.lastUsedDirectory = text;
        return;
    case SettingKind::ToolsFolder:
        values.toolsFolder = text;
        return;
    }
}

QString textToStore(const SettingKey &key, const StoredSettings &values)
{
    switch (key.kind) {
    case SettingKind::CheckState:
        return QString::number(values.options.groups[key.group].checkState);
    case SettingKind::GroupValue: {
        const GroupState &group = values.options.groups[key.group];
        return isList(key) ? QString::number(group.listIndex) : group.text;
    }
    case SettingKind::ExtraParms:
        return values.options.extraParms;
    case SettingKind::LastUsedDirectory:
        return values.lastUsedDirectory;
    case SettingKind::ToolsFolder:
        return values.toolsFolder;
    }
    return {};
}

StoredSettings defaultSettings()
{
    StoredSettings values;
    for (const SettingKey &key : settingKeys())
        applyStoredText(key, QLatin1String(key.defaultValue), values);
    return values;
}

StoredSettings readSettings(const QSettings &store)
{
    StoredSettings values;
    for (const SettingKey &key : settingKeys())
        applyStoredText(key, readText(store, key), values);
    return values;
}

void writeOptions(QSettings &store, const OptionSet &options, const QString &lastUsedDirectory)
{
    const StoredSettings values{options, lastUsedDirectory, {}};
    for (const SettingKey &key : settingKeys()) {
        if (key.kind != SettingKind::ToolsFolder)
            store.setValue(QLatin1String(key.name), textToStore(key, values));
    }
}

} // namespace ferncastle
