#pragma once

#include "core/options/optionset.h"

#include <span>

namespace ferncastle {

// One ticked group of a preset: a list position or a text, as the group's
// kind says.
struct PresetValue {
    GroupIndex group;
    int listIndex;
    const char *text;
};

// A set of options for a common TRS-80 disk, with the reason for it.
struct BuiltInPreset {
    const char *name;
    const char *reason;
    std::span<const PresetValue> ticked;
};

// The built-in presets, in menu order.
std::span<const BuiltInPreset> builtInPresets();

// The whole option set a preset stands for, as an options file holds one:
// its groups ticked with its values, every other group unticked at the
// value a first run shows, no additional parameters.
OptionSet presetOptions(const BuiltInPreset &preset);

} // namespace ferncastle
