#pragma once

#include "core/options/checkvalue.h"
#include "core/options/optiongroups.h"

#include <QString>

#include <array>

namespace ferncastle {

// The live values of one option group. A list group uses listIndex
// (-1 when nothing is selected), a text group uses text.
struct GroupState {
    int checkState = Unticked;
    int listIndex = -1;
    QString text;

    friend bool operator==(const GroupState &, const GroupState &) = default;
};

// Everything the option panel holds: the eight groups and the
// "Additional parameters" text.
struct OptionSet {
    std::array<GroupState, GroupCount> groups;
    QString extraParms;

    friend bool operator==(const OptionSet &, const OptionSet &) = default;
};

} // namespace ferncastle
