#include "settings/storedsettings.h"

#include "core/numericrules.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace ferncastle {

namespace {

bool isList(const SettingKey &key)
{
    return optionGroups()[key.group].kind == ValueKind::List;
}

bool controlAccepts(const SettingKey &key, int number)
{
    if (key.kind == SettingKind::CheckState)
        return isValidCheckValue(number);
    const int entryCount = int(optionGroups()[key.group].entries.size());
    return number >= -1 && number < entryCount;
}

int acceptedNumber(const SettingKey &key, QStringView text)
{
    const std::optional<qint16> number = wholeNumber(text);
    if (number && controlAccepts(key, *number))
        return *number;
    return wholeNumber(QString::fromLatin1(key.defaultValue)).value();
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

std::optional<qint16> wholeNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    QStringView digits = trimmed;
    if (digits.startsWith(u'-') || digits.startsWith(u'+'))
        digits = digits.mid(1);
    const bool allDigits = std::all_of(digits.begin(), digits.end(),
                                       [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (digits.isEmpty() || !allDigits)
        return std::nullopt;
    return roundedToInt16(trimmed);
}

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
    case SettingKind::DosFilesPath:
        values.dosFilesPath = text;
        return;
    }
}

QString storedText(const SettingKey &key, const StoredSettings &values)
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
    case SettingKind::DosFilesPath:
        return values.dosFilesPath;
    }
    return {};
}

StoredSettings defaultSettings()
{
    StoredSettings values;
    for (const SettingKey &key : settingKeys)
        applyStoredText(key, QLatin1String(key.defaultValue), values);
    return values;
}

StoredSettings readSettings(const QSettings &store)
{
    StoredSettings values;
    for (const SettingKey &key : settingKeys)
        applyStoredText(key, readText(store, key), values);
    return values;
}

void writeOptions(QSettings &store, const OptionSet &options, const QString &lastUsedDirectory)
{
    const StoredSettings values{options, lastUsedDirectory, {}};
    for (const SettingKey &key : settingKeys) {
        if (key.kind != SettingKind::DosFilesPath)
            store.setValue(QLatin1String(key.name), storedText(key, values));
    }
}

} // namespace ferncastle
