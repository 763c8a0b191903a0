#pragma once

#include "core/options/optiongroups.h"

#include <array>

namespace ferncastle {

namespace keys {
inline constexpr char extraParms[] = "Extra Parameters";
inline constexpr char lastUsedDirectory[] = "Last Used Directory";
inline constexpr char toolsFolder[] = "DOS Files Path";
// "1" when the user ticked "Don't check again" in the card question. Kept
// apart from the option keys below: option files do not carry it.
inline constexpr char skipCardCheck[] = "Skip Card Check";
// "1" when tools start in a terminal; absent or anything else: in a run
// window. Also apart from the option keys.
inline constexpr char runToolsInTerminal[] = "Run Tools in a Terminal";
// "0" when a written disk is not read back and compared; absent or anything
// else: it is, so an unchecked write is the exception. Apart as well.
inline constexpr char verifyAfterWriting[] = "Verify After Writing";
} // namespace keys

// What a stored key holds.
enum class SettingKind {
    CheckState,        // a group's check box: "0", "1" (or "2", greyed)
    GroupValue,        // a group's list position ("-1" for none) or its text
    ExtraParms,        // the "Additional parameters" text
    LastUsedDirectory, // the start folder of the main window's file dialog
    ToolsFolder,
};

struct SettingKey {
    const char *name;
    SettingKind kind;
    int group; // a GroupIndex for CheckState and GroupValue, otherwise -1
    const char *defaultValue;
};

// The store holds 19 keys, as every earlier version wrote them: a box and a
// value for each group, then three of the window's own.
inline constexpr int SettingKeyCount = 2 * GroupCount + 3;
static_assert(SettingKeyCount == 19, "the settings store has 19 keys");

// Every key of the store, in the order the window reads and writes them:
// the groups' box keys and value keys come from optionGroups(). Option
// files hold the first 17 values in this same order.
const std::array<SettingKey, SettingKeyCount> &settingKeys();

} // namespace ferncastle
