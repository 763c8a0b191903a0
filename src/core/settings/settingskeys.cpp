#include "core/settings/settingskeys.h"

namespace ferncastle {

namespace {

std::array<SettingKey, SettingKeyCount> keysFromGroups()
{
    std::array<SettingKey, SettingKeyCount> keys{};
    const auto &groups = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        const StoredGroup &stored = groups[i].stored;
        keys[i] = {stored.checkKey, SettingKind::CheckState, i, "0"};
        keys[GroupCount + i] = {stored.valueKey, SettingKind::GroupValue, i, stored.defaultValue};
    }
    keys[2 * GroupCount] = {keys::extraParms, SettingKind::ExtraParms, -1, ""};
    keys[2 * GroupCount + 1] = {keys::lastUsedDirectory, SettingKind::LastUsedDirectory, -1, ""};
    keys[2 * GroupCount + 2] = {keys::toolsFolder, SettingKind::ToolsFolder, -1, ""};
    return keys;
}

} // namespace

const std::array<SettingKey, SettingKeyCount> &settingKeys()
{
    static const std::array<SettingKey, SettingKeyCount> keys = keysFromGroups();
    return keys;
}

} // namespace ferncastle
