#pragma once

#include <QtGlobal>

#include <array>
#include <span>

namespace ferncastle {

enum class ValueKind { List, Text };

// How a typed value is checked before its flag goes on a command line.
struct NumberCheck {
    bool enabled = false;
    bool hasRange = false;
    int minimum = 0;
    int maximum = 0;
    const char *rangeWarning = nullptr;
};

// One option group: the check box, the value control it governs, and what
// the group contributes to the cw2dmk and dmk2cw command lines.
struct OptionGroup {
    const char *checkBoxName;
    const char *valueName;
    const char *caption;
    ValueKind kind;
    std::span<const char *const> entries; // list groups only, in list order
    const char *flag;                      // flag text, with its leading blank
    int indexOffset;                       // added to a list position when written
    bool usedForWrite;
    NumberCheck check;
};

enum GroupIndex : int {
    Drive, Port, Kind, Steps, Tracks, Sides, Encoding, Retries
};

constexpr int GroupCount = 8;

// The eight groups in their fixed order: top to bottom on the window, and
// the order every builder, settings key and option-file line follows.
const std::array<OptionGroup, GroupCount> &optionGroups();

// "The 'CatWeasel port' is not a number. Option not used"
QString notNumberWarning(const OptionGroup &group);

} // namespace ferncastle
