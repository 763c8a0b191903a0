#pragma once

#include "core/optiongroups.h"

#include <array>

namespace ferncastle {

namespace keys {
inline constexpr char lastUsedDirectory[] = "Last Used Directory";
inline constexpr char dosFilesPath[] = "DOS Files Path";
// "1" when the user ticked "Don't check again" in the card question. Kept
// apart from the option keys below: option files do not carry it.
inline constexpr char skipCardCheck[] = "Skip Card Check";
} // namespace keys

// What a stored key holds.
enum class SettingKind {
    CheckState,        // a group's check box: "0", "1" (or "2", greyed)
    GroupValue,        // a group's list position ("-1" for none) or its text
    ExtraParms,        // the "Additional parameters" text
    LastUsedDirectory, // the start folder of the main window's file dialog
    DosFilesPath,      // the tools folder
};

struct SettingKey {
    const char *name;
    SettingKind kind;
    int group; // a GroupIndex for CheckState and GroupValue, otherwise -1
    const char *defaultValue;
};

inline constexpr int SettingKeyCount = 19;

// Every key of the store, in the order the window reads and writes them.
// "Enconding" is spelled as the values already stored under it are. Option
// files hold the first 17 values in this same order.
inline constexpr std::array<SettingKey, SettingKeyCount> settingKeys = {{
    {"CW Drive Enabled", SettingKind::CheckState, Drive, "0"},
    {"CW Port Enabled", SettingKind::CheckState, Port, "0"},
    {"Kind Enabled", SettingKind::CheckState, Kind, "0"},
    {"Steps Enabled", SettingKind::CheckState, Steps, "0"},
    {"Tracks Enabled", SettingKind::CheckState, Tracks, "0"},
    {"Sides Enabled", SettingKind::CheckState, Sides, "0"},
    {"Enconding Enabled", SettingKind::CheckState, Encoding, "0"},
    {"Retries Enabled", SettingKind::CheckState, Retries, "0"},
    {"CW Drive", SettingKind::GroupValue, Drive, "0"},
    {"CW Port", SettingKind::GroupValue, Port, ""},
    {"Kind", SettingKind::GroupValue, Kind, "0"},
    {"Steps", SettingKind::GroupValue, Steps, "0"},
    {"Tracks", SettingKind::GroupValue, Tracks, "86"},
    {"Sides", SettingKind::GroupValue, Sides, "0"},
    {"Enconding", SettingKind::GroupValue, Encoding, "0"},
    {"Retries", SettingKind::GroupValue, Retries, "10"},
    {"Extra Parameters", SettingKind::ExtraParms, -1, ""},
    {keys::lastUsedDirectory, SettingKind::LastUsedDirectory, -1, ""},
    {keys::dosFilesPath, SettingKind::DosFilesPath, -1, ""},
}};

} // namespace ferncastle
