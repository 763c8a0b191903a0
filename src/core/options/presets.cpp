#include "core/options/presets.h"

#include <QByteArray>

#include <array>

namespace ferncastle {

namespace {

// Kind and steps are left to the tools wherever they can tell them (cw2dmk
// checks its own guesses); encoding is left to cw2dmk wherever a disk mixes
// FM and MFM. List positions: steps and sides 0 = 1, 1 = 2; encoding 0 = FM,
// 1 = MFM; kind 2 = -k3.
constexpr PresetValue modelOneSingle[] = {{Tracks, -1, "35"}, {Sides, 0, nullptr}, {Encoding, 0, nullptr}};
constexpr PresetValue modelOneDoubler[] = {{Tracks, -1, "40"}, {Sides, 0, nullptr}};
constexpr PresetValue modelThreeDouble[] = {{Tracks, -1, "40"}, {Sides, 0, nullptr}, {Encoding, 1, nullptr}};
constexpr PresetValue modelFourTwoSides[] = {{Tracks, -1, "40"}, {Sides, 1, nullptr}, {Encoding, 1, nullptr}};
constexpr PresetValue fortyInEighty[] = {{Steps, 1, nullptr}, {Tracks, -1, "40"}};
constexpr PresetValue eightInch[] = {{Kind, 2, nullptr}, {Tracks, -1, "77"}, {Sides, 0, nullptr}};

constexpr std::array<BuiltInPreset, 6> presets = {{
    {"Model I, single density, 35 tracks",
     "Model I TRSDOS disks: 35 tracks on one side, single density (FM). Ticking them spares cw2dmk "
     "its guesses and stops it after track 34. In an 80-track drive tick Step multiplier 2 too.",
     modelOneSingle},
    {"Model I with a doubler, 40 tracks",
     "Model I disks made with a double-density adapter: 40 tracks on one side, double density (MFM) "
     "but a single-density track 0 for the ROM to boot from, so the encoding is left to cw2dmk, "
     "which tells them apart sector by sector.",
     modelOneDoubler},
    {"Model III/4, double density, 40 tracks",
     "Model III and Model 4 disks (TRSDOS 1.3, LDOS, TRSDOS 6): 40 tracks on one side, double "
     "density (MFM) on every track.",
     modelThreeDouble},
    {"Model 4, double-sided, 40 tracks",
     "Model 4 disks in a double-sided drive: 40 tracks on each of 2 sides, double density (MFM). "
     "dmk2cw writes both sides (-s2).",
     modelFourTwoSides},
    {"40-track disk in an 80-track drive",
     "A 40-track disk (35 tracks read the same way) in an 80-track or 1.2 MB drive: the head steps "
     "twice per track (-m2). dmk2cw never doubles its steps by itself. Bulk-erase a disk before "
     "writing it this way, or a 40-track drive may read the old odd tracks.",
     fortyInEighty},
    {"8-inch, 77 tracks",
     "8-inch disks (Model II): 77 tracks on one side, with -k3 for the 8-inch drive's speed and data "
     "rate. The encoding is left to cw2dmk, as track 0 is often single density.",
     eightInch},
}};

} // namespace

std::span<const BuiltInPreset> builtInPresets()
{
    return presets;
}

OptionSet presetOptions(const BuiltInPreset &preset)
{
    OptionSet options;
    const auto &groups = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        const char *firstRun = groups[i].stored.defaultValue;
        if (groups[i].kind == ValueKind::List)
            options.groups[i].listIndex = QByteArray(firstRun).toInt();
        else
            options.groups[i].text = QLatin1String(firstRun);
    }
    for (const PresetValue &value : preset.ticked) {
        GroupState &state = options.groups[value.group];
        state.checkState = Ticked;
        if (groups[value.group].kind == ValueKind::List)
            state.listIndex = value.listIndex;
        else
            state.text = QLatin1String(value.text);
    }
    return options;
}

} // namespace ferncastle
