#pragma once

#include "core/options/optiongroups.h"

#include <QString>

namespace ferncastle {

// What an option group means to the tools, in their own terms: what its
// flag does, the values it takes, and what the tools do when the group is
// not ticked. Read from the tools' manual pages and usage texts (4.10.1).
struct OptionHelp {
    const char *does;
    const char *range;
    const char *unticked;
};

// In the order of optionGroups().
const OptionHelp &optionHelp(GroupIndex group);

// The three as one tooltip, for the group's box and its value control.
QString optionToolTip(GroupIndex group);

// For "Additional parameters" (cw2dmk and dmk2cw) and "Optional parameters"
// (dmk2jv3 and jv2dmk).
QString additionalParametersToolTip();
QString optionalParametersToolTip();

} // namespace ferncastle
