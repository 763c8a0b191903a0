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

// How a group is kept in the settings store: the key of its box, the key of
// its value, and the value a first run starts with.
struct StoredGroup {
    const char *checkKey;
    const char *valueKey;
    const char *defaultValue;
};

// One option group: the check box, the value control it governs, what the
// group contributes to the cw2dmk and dmk2cw command lines, and its keys.
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
    StoredGroup stored;
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

// Whether a list group's list can stand at position: -1 (nothing chosen)
// or one of its entries.
bool isListPosition(const OptionGroup &group, int position);

} // namespace ferncastle
