#pragma once

#include "core/optionset.h"

#include <QString>
#include <QStringList>

namespace ferncastle {

// An option string for cw2dmk or dmk2cw, and the warnings met while building
// it, in the order the groups were walked.
struct OptionString {
    QString text;
    QStringList warnings;
};

// The cw2dmk options: all eight groups, then one blank and the additional
// parameters.
OptionString readOptionString(const OptionSet &options);

// The dmk2cw options: drive, port, kind, steps and sides only; tracks,
// encoding and retries are neither written nor checked.
OptionString writeOptionString(const OptionSet &options);

} // namespace ferncastle
